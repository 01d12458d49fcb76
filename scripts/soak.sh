#!/usr/bin/env bash
# The reliability runs of the real clock under Wine (64-bit build), in a Wine world
# of their own (prefix .wineprefix-soak, its own wineserver and Xvfb screen):
#   - the soak: a day and more of the clock's time at 120 times real time, with
#     hundreds of schedules of every type and the dialogs opened and closed all
#     the while (about 14 minutes);
#   - time changes and sleep;
#   - two clocks started at the same moment, ten rounds.
#   scripts/soak.sh           the full runs, figures printed
#   scripts/soak.sh --short   the short variants, as the test command runs them
set -uo pipefail
cd "$(dirname "$0")/.."
short=false
case "${1:-}" in
  "") ;;
  --short) short=true ;;
  *) echo "usage: scripts/soak.sh [--short]" >&2; exit 2 ;;
esac

scripts/install-deps.sh || exit 1
cmake --preset win64 >/dev/null || exit 1
cmake --build --preset win64 || exit 1

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(/usr/lib/wine/wine64 --version), $(date -u '+%Y-%m-%d %H:%M UTC')"
source scripts/wine-env.sh
start_wine_world "$PWD/.wineprefix-soak"

status=0
if $short; then
  ctest --preset win64 -R '^(Soak|TimeChanges)\.|TwoCopiesStartedTogether' || status=1
else
  run() { scripts/wine-exec.sh 64 "$@" || status=1; }
  start=$SECONDS
  QUILLET_SOAK=full run build/win64/tests/soak_tests.exe --gtest_filter='Soak.*'
  echo "soak: $((SECONDS - start)) s"
  run build/win64/tests/soak_tests.exe --gtest_filter='TimeChanges.*'
  QUILLET_TWO_CLOCK_ROUNDS=10 run build/win64/tests/e2e_tests.exe \
    --gtest_filter=Lifecycle.TwoCopiesStartedTogetherMakeOneClock
fi
stop_wine_world
exit $status
