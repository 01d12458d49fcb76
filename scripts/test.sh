#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test: the
# native core with sanitizers, then the Windows programs and tests of the 64-bit
# build and of the shipped 32-bit build under Wine (with Xvfb when there is no
# display and a persistent wineserver, both stopped afterwards).
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1
source scripts/emulation.sh

for preset in win64 win32 host bench; do
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" || exit 1
done

windows_presets=(win64)
no_32bit=$(no_32bit_wine_reason)
if [ -z "$no_32bit" ]; then
  windows_presets+=(win32)
else
  echo "NOTE: 32-bit programs cannot be run on this machine: $no_32bit."
  echo "      The win32 build was compiled and its release zip is checked; its other"
  echo "      tests are not run. Only the win64 tests run under Wine."
fi

source scripts/wine-env.sh

# Each Windows build's tests run in a Wine world of their own: their own prefix,
# wineserver and Xvfb screen, so the two runs neither see each other's clock
# windows, tray icons and registry key nor wait for each other. Output goes to a
# log that is shown once both are done.
run_windows_tests() {
  local preset=$1
  (
    start_wine_world "$repo_root/.wineprefix-test-$preset"
    start=$SECONDS
    ctest --preset "$preset"
    result=$?
    echo "$preset: ctest took $((SECONDS - start)) s"
    stop_wine_world
    exit $result
  ) > "build/$preset/ctest.log" 2>&1
}

pids=()
for preset in "${windows_presets[@]}"; do
  run_windows_tests "$preset" &
  pids+=($!)
done

status=0
if ! [[ " ${windows_presets[*]} " == *" win32 "* ]]; then
  # The release zip's check needs no Wine; it runs even where 32-bit Wine cannot.
  ctest --preset win32 -R '^release_zip' || status=1
fi
ctest --preset host || status=1
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || status=1
  cat "build/${windows_presets[$i]}/ctest.log"
done
exit $status
