#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test: the
# native core with sanitizers, then the Windows programs and tests of the 64-bit
# build and of the shipped 32-bit build under Wine (with Xvfb when there is no
# display and a persistent wineserver, both stopped afterwards).
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1
source scripts/emulation.sh

for preset in win64 win32 host; do
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" || exit 1
done

windows_presets=(win64)
if can_run_32bit_wine; then
  windows_presets+=(win32)
else
  echo "NOTE: 32-bit programs cannot be run on this machine (no QEMU registration for"
  echo "      32-bit x86 and no way to make one); the win32 build was compiled, its tests"
  echo "      are not run. Only the win64 tests run under Wine."
fi

source scripts/wine-env.sh
ensure_display
ensure_wine_prefix
wineserver -p
# The first Wine program starts Wine's background services, which would inherit
# (and hold open) the output pipes of whichever test happened to be first.
"$(wine_loader 64)" cmd /c exit >/dev/null 2>&1
cleanup() { wineserver -k 2>/dev/null; stop_display; }
trap cleanup EXIT

status=0
summary=()
for preset in host "${windows_presets[@]}"; do
  start=$SECONDS
  ctest --preset "$preset" || status=1
  summary+=("$preset: $((SECONDS - start)) s")
done
echo "ctest time per configuration: ${summary[*]}"
exit $status
