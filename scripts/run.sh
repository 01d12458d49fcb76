#!/usr/bin/env bash
# Installs what is missing, builds the clock and starts it under Wine in the
# project's own prefix. With no display it starts Xvfb and saves a screenshot a few
# seconds after start. Runs until interrupted (or the clock exits). Started again
# while a clock runs, the running clock opens its properties.
#   scripts/run.sh            the 64-bit build
#   scripts/run.sh --win32    the shipped 32-bit build (32-bit Wine under QEMU)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=win64
case "${1:-}" in
  "") ;;
  --win32) preset=win32 ;;
  *) echo "usage: scripts/run.sh [--win32]" >&2; exit 2 ;;
esac
bits=${preset#win}

scripts/install-deps.sh
source scripts/emulation.sh
if [ "$bits" = 32 ] && ! can_run_32bit_wine; then
  echo "the 32-bit build cannot be run on this machine: $(no_32bit_wine_reason)" >&2
  exit 1
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Quillet Setup

source scripts/wine-env.sh
ensure_display
trap 'stop_display' EXIT
ensure_wine_prefix

"$(wine_loader "$bits")" "build/$preset/src/app/Quillet.exe" &
clock_pid=$!
if [ -n "$xvfb_pid" ]; then
  sleep "$([ "$bits" = 32 ] && echo 10 || echo 5)"
  shot="$PWD/build/$preset/screenshot.png"
  import -window root "$shot" && echo "screenshot: $shot"
fi
wait "$clock_pid"
