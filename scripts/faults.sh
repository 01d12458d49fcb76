#!/usr/bin/env bash
# Faults, crash and bad input: the data file under injected and real file-system
# faults, the clock and the file code killed while they rewrite the data file,
# the data file reader fuzzed, and the settings loaded from random registry values.
#
#   scripts/faults.sh --short   the short variants: the ctest tests the test command runs
#   scripts/faults.sh           the full variants by hand, with the figures of docs/reliability.md
#
# The full variants run the same tests with larger numbers (environment
# variables read by the tests), a real full disk on a small tmpfs when one can be
# mounted (as root), and ten million runs of the fuzz target.
set -uo pipefail
cd "$(dirname "$0")/.."
short=0
[[ "${1:-}" == --short ]] && short=1

for preset in host win64; do
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" || exit 1
done

source scripts/wine-env.sh
status=0

# Runs a command in a Wine world of its own (prefix, wineserver, Xvfb), stopped afterwards.
in_wine() {
  (
    start_wine_world "$repo_root/.wineprefix-faults"
    "$@"
    result=$?
    stop_wine_world
    exit $result
  )
}

if (( short )); then
  ctest --preset host -R 'ScheduleCrash|ScheduleRewrite|ScheduleFileFormat|TrayText|TickDecision|ScheduleReaderFuzz' ||
    status=1
  in_wine ctest --preset win64 -R \
    'SettingsStore.Random|HeldDataFile|ScheduleWatch.ADayList|ADataFileHeldByAnotherProgram|TheClockKilled' || status=1
  exit $status
fi

wine64=$(wine_loader 64)
echo "== Crash: the native file code killed 1000 times while it adds, stamps and deletes"
QUILLET_CRASH_ROUNDS=1000 build/host/tests/core_tests --gtest_filter='ScheduleCrash.*' || status=1

echo "== Faults: every fault at every change, a write failing at every point, a full disk"
build/host/tests/core_tests --gtest_filter='ScheduleRewrite.*:TickDecision.*' || status=1
disk=$(mktemp -d)
if mount -t tmpfs -o size=256k tmpfs "$disk" 2>/dev/null; then
  echo "   (a real full disk: a tmpfs of 256 KiB filled up)"
  QUILLET_FULL_DISK_FOLDER=$disk build/host/tests/core_tests --gtest_filter='ScheduleRewrite.AFullDisk*' || status=1
  umount "$disk"
else
  echo "NOTE: no tmpfs could be mounted (root is needed); the full disk is the file size limit only"
fi
rmdir "$disk"

echo "== Faults and crash under Wine: held, read-only and undeletable files; the real clock killed 300 times"
in_wine bash -c "
  '$wine64' build/win64/tests/win_tests.exe --gtest_filter='HeldDataFile.*:ScheduleWatch.ADayList*' &&
  QUILLET_E2E_CRASH_ROUNDS=300 '$wine64' build/win64/tests/e2e_tests.exe \
    --gtest_filter='ScheduleNotification.TheClockKilled*:ScheduleNotification.ADataFileHeld*'" || status=1

echo "== Bad input: 20000 random registry keys; contents of lead bytes, a megabyte and nothing"
build/host/tests/core_tests --gtest_filter='ScheduleFileFormat.*:TrayText.*' || status=1
in_wine env QUILLET_REGISTRY_CASES=20000 "$wine64" build/win64/tests/win_tests.exe \
  --gtest_filter='SettingsStore.Random*' || status=1

echo "== Bad input: the data file reader fuzzed ten million times"
corpus=$(mktemp -d)
log=build/host/fuzz-full.log
/usr/bin/time -f '%U s user, %S s system, %e s elapsed, %M KiB peak' \
  build/host/tests/fuzz/schedule_reader_fuzzer -runs=10000000 -timeout=10 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$corpus/" "$corpus" tests/fuzz/corpus >"$log" 2>&1 || status=1
grep -E 'DONE|^Done|^stat::|s elapsed|ERROR|SUMMARY' "$log"
echo "   (the fuzzer's whole output: $log; new inputs in $corpus)"

exit $status
