#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# the 64-bit programs and tests under Wine (with Xvfb when there is no display and
# a persistent wineserver, both stopped afterwards) and the native core with sanitizers.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

for preset in win64 win32 host; do
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" || exit 1
done

source scripts/wine-env.sh
ensure_display
ensure_wine_prefix
wineserver -p
# The first Wine program starts Wine's background services, which would inherit
# (and hold open) the output pipes of whichever test happened to be first.
wine cmd /c exit >/dev/null 2>&1
cleanup() { wineserver -k 2>/dev/null; stop_display; }
trap cleanup EXIT

status=0
ctest --preset host || status=1
ctest --preset win64 || status=1
exit $status
