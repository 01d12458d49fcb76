#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit program and starts the clock under
# Wine in the project's own prefix. With no display it starts Xvfb and saves a
# screenshot a few seconds after start. Runs until interrupted (or the clock exits).
# Started again while a clock runs, the running clock opens its properties.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Quillet Setup

source scripts/wine-env.sh
ensure_display
trap 'stop_display' EXIT
ensure_wine_prefix

wine build/win64/src/app/Quillet.exe &
clock_pid=$!
if [ -n "$xvfb_pid" ]; then
  sleep 5
  shot="$PWD/build/win64/screenshot.png"
  import -window root "$shot" && echo "screenshot: $shot"
fi
wait "$clock_pid"
