#!/usr/bin/env bash
# Prints every performance figure of the clock: its idle cost beside its
# yardsticks, start-up and memory beside Wine's clock program, the data file at
# 10,000 schedules and the schedule manager. The full variant takes about fifteen
# minutes; --short takes smaller numbers (a 20 s idle window, fewer runs) and is a
# test of the 64-bit build that fails only when a figure cannot be taken.
# Windows programs are those of the 64-bit build: the shipped 32-bit build runs here
# under an emulator, whose cost would swamp the program's.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

# --idle SECONDS measures only the idle cost, over the given window.
idle_only=false
if [ "${1:-}" = --idle ]; then
    idle_only=true idle_seconds=${2:?--idle needs a number of seconds} warm_up_seconds=20
elif [ "${1:-}" = --short ]; then
    idle_seconds=20 warm_up_seconds=8 startup_runs=3 manager_counts=1000
    file_repetitions=3 file_min_time=0.1 file_benchmarks='(StampingRewrite|PlainCopyToDisk)'
else
    idle_seconds=600 warm_up_seconds=20 startup_runs=11 manager_counts="1000 3000 10000"
    file_repetitions=15 file_min_time=0.5 file_benchmarks=''
fi

fail() {
    echo "bench: $*" >&2
    exit 1
}

# Builds what is missing: the Windows programs, and the native data file benchmark
# of the `bench` preset (optimised, no sanitizers).
for preset in win64 bench; do
    if [ ! -f "build/$preset/build.ninja" ]; then cmake --preset "$preset" >/dev/null || fail "cannot configure $preset"; fi
done
cmake --build --preset win64 --target Quillet idle_program startup_bench schedule_manager_bench >/dev/null ||
    fail "cannot build the Windows programs"
cmake --build --preset bench >/dev/null || fail "cannot build the data file benchmark"

loader=$(wine_loader 64)
template=$WINEPREFIX
ensure_display
ensure_wine_prefix
run_dir=$(mktemp -d "$repo_root/build/bench-run.XXXXXX") || fail "cannot make a run folder"
prefixes=() launchers=()
# Whatever ends the run, the Wine worlds it started end with it.
clean_up() {
    local prefix
    for prefix in "${prefixes[@]}" "$run_dir"/prefix-startup "$run_dir"/prefix-startup-150; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
    done
    [ ${#launchers[@]} -eq 0 ] || wait "${launchers[@]}" 2>/dev/null
    rm -rf "$run_dir"
    stop_display
}
trap clean_up EXIT
cp build/win64/src/app/Quillet.exe build/win64/bench/idle_program.exe build/win64/bench/startup_bench.exe \
    build/win64/bench/schedule_manager_bench.exe "$run_dir/" || fail "programs missing"

# Each measured program gets a prefix of its own, and so a wineserver of its own:
# a copy of the template whose files are hard links (a prefix is over a gigabyte),
# except the registry, which is written, and with the clock's key set to `flags`
# and the screen's scale to `dpi` (96, 100 %, when not given).
make_prefix() {
    local prefix=$run_dir/prefix-$1 flags=$2 dpi=${3:-96}
    # Files that the template's own programs remove meanwhile are no loss.
    cp -al "$template" "$prefix" 2>/dev/null
    [ -d "$prefix/drive_c/windows/system32" ] || fail "cannot copy the prefix $template into $run_dir"
    local hive
    for hive in "$prefix"/*.reg; do cp --remove-destination "$template/$(basename "$hive")" "$hive"; done
    awk -v flags="$((flags))" -v dpi="$dpi" '
        /^\[Software\\\\Velmora\\\\Quillet\]/ { skipping = 1; next }
        skipping && /^$/ { skipping = 0; next }
        /^"LogPixels"=/ { next }
        !skipping { print }
        END {
            printf "\n[Software\\\\Velmora\\\\Quillet]\n\"Flags\"=dword:%08x\n", flags
            printf "\n[Control Panel\\\\Desktop]\n\"LogPixels\"=dword:%08x\n", dpi
        }
    ' "$template/user.reg" > "$prefix/user.reg"
    echo "$prefix"
}

# The Windows path of a file of the run folder (drive Z: is the Linux root).
windows_path() { echo "Z:${1//\//\\}"; }

# The CPU time (utime + stime, in clock ticks) of a Linux process, its threads
# included; empty when it is gone.
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return
    stat=${stat##*) }
    awk '{ print $12 + $13 }' <<< "$stat"
}

# The Linux process of a Windows program running in a prefix: Wine names it after
# the program's file (cut to the 15 characters that Linux keeps). A program of the
# system, such as Wine's clock, runs in a process of its own, not in the loader's.
process_of() {
    local name=${2:0:15} pid
    for pid in $(pgrep -x -- "${name//./\\.}"); do
        # The error goes first: a process may end between pgrep and the read.
        if tr '\0' '\n' 2>/dev/null < "/proc/$pid/environ" | grep -qxF "WINEPREFIX=$1"; then
            echo "$pid"
            return
        fi
    done
}

# The wineserver of a prefix: the one whose folder is named after the prefix's
# device and inode.
server_of() {
    local name pid
    name=$(printf 'server-%x-%x' $(stat -c '%d %i' "$1"))
    for pid in $(pgrep '^wineserver'); do
        case "$(readlink "/proc/$pid/cwd")" in */"$name") echo "$pid"; return ;; esac
    done
}

# Runs a Windows program in a prefix with a wineserver of its own, which ends with
# it, and prints the program's output indented. The output goes through a file: Wine's
# background programs, started with the first program, would hold a pipe open.
run_in_prefix() {
    local prefix=$1 result
    shift
    (
        export WINEPREFIX=$prefix
        wineserver -p
        "$loader" "$@" > "$run_dir/output.txt" 2>&1
        result=$?
        wineserver -k 2>/dev/null
        exit $result
    ) >/dev/null 2>&1
    result=$?
    sed 's/^/  /' "$run_dir/output.txt"
    return $result
}

# --- Idle cost -------------------------------------------------------------------
# The opaque clock draws each second as the colour-keyed one does, without the
# colour key: the difference between the two is what Wine spends on the key. The
# drawing timer shows each new second's two digits on the screen and does nothing
# else: the least any program showing the seconds costs.
# The clock at 150 % (144 dpi) draws a face of more than twice the pixels; its
# floors are the same timers.
labels=("sleeping program" "timer 1000 ms (floor)" "clock, seconds hidden" "timer 250 ms (floor)"
        "clock, seconds shown" "the same, opaque" "timer 250 ms, drawing" "Wine's clock"
        "150 %, seconds hidden" "150 %, seconds shown")
programs_run=("$run_dir/idle_program.exe" "$run_dir/idle_program.exe" "$run_dir/Quillet.exe"
              "$run_dir/idle_program.exe" "$run_dir/Quillet.exe" "$run_dir/Quillet.exe"
              "$run_dir/idle_program.exe" clock.exe "$run_dir/Quillet.exe" "$run_dir/Quillet.exe")
arguments=("" 1000 "" 250 "" "" "250 show" "" "" "")
flag_words=(0x2 0x2 0x2 0x2 0x40002 0x40082 0x2 0x2 0x2 0x40002)
dpis=(96 96 96 96 96 96 96 96 144 144)
programs=() servers=()
for i in "${!labels[@]}"; do
    prefixes[i]=$(make_prefix "$i" "${flag_words[i]}" "${dpis[i]}") || exit 1
    (
        export WINEPREFIX=${prefixes[i]}
        wineserver -p
        exec "$loader" "${programs_run[i]}" ${arguments[i]}
    ) >/dev/null 2>&1 &
    launchers[i]=$!
done
# Under load the programs may take longer to start than the warm-up: each is
# waited for up to a minute, and a late one gets a warm-up of its own.
sleep "$warm_up_seconds"
late=false
for i in "${!labels[@]}"; do
    for _ in $(seq 60); do
        programs[i]=$(process_of "${prefixes[i]}" "$(basename "${programs_run[i]}")")
        servers[i]=$(server_of "${prefixes[i]}")
        [ -n "${programs[i]}" ] && [ -n "${servers[i]}" ] && break
        late=true
        sleep 1
    done
    [ -n "${programs[i]}" ] && [ -n "${servers[i]}" ] || fail "${labels[i]} is not running"
done
$late && sleep "$warm_up_seconds"
sample() { for i in "${!labels[@]}"; do echo "$(cpu_ticks "${programs[i]}") $(cpu_ticks "${servers[i]}")"; done; }
mapfile -t before < <(sample)
sleep "$idle_seconds"
mapfile -t after < <(sample)
for i in "${!labels[@]}"; do
    WINEPREFIX=${prefixes[i]} wineserver -k 2>/dev/null
    wait "${launchers[i]}" 2>/dev/null
done
prefixes=() launchers=()

ticks_per_second=$(getconf CLK_TCK)
echo "Idle cost over $idle_seconds s, after $warm_up_seconds s of warm-up: CPU time (utime + stime) of the"
echo "program's Linux process and of its own wineserver, each program in a prefix of its own"
for i in "${!labels[@]}"; do
    read -r program0 server0 <<< "${before[i]}"
    read -r program1 server1 <<< "${after[i]}"
    [ -n "${program1:-}" ] && [ -n "${server1:-}" ] || fail "${labels[i]} ended during the measurement"
    echo "${labels[i]}|$((program1 - program0))|$((server1 - server0))"
done | awk -F'|' -v hz="$ticks_per_second" -v seconds="$idle_seconds" '
    { label[NR] = $1; process[NR] = $2 / hz; server[NR] = $3 / hz; share[NR] = 100 * (process[NR] + server[NR]) / seconds }
    END {
        printf "  %-24s %10s %12s %12s %14s\n", "", "process s", "wineserver s", "% of a core", "above sleeper"
        for (i = 1; i <= NR; ++i)
            printf "  %-24s %10.2f %12.2f %11.3f %% %12.3f %%\n", label[i], process[i], server[i], share[i], share[i] - share[1]
        printf "  clock above its floor: seconds hidden %.3f %%, seconds shown %.3f %% of a core (goal: 0.03 %% or less)\n",
            share[3] - share[2], share[5] - share[4]
        printf "  seconds shown: opaque face %.3f %%, the drawing timer %.3f %% above the floor\n",
            share[6] - share[4], share[7] - share[4]
        printf "  clock at 150 %% above its floor: seconds hidden %.3f %%, seconds shown %.3f %% of a core\n",
            share[9] - share[2], share[10] - share[4]
    }'
$idle_only && exit 0

# --- Start-up and memory ---------------------------------------------------------
echo
echo "Start-up and memory, $startup_runs runs each, taking turns, in one prefix:"
startup_prefix=$(make_prefix startup 0x2) || exit 1
run_in_prefix "$startup_prefix" "$run_dir/startup_bench.exe" "$startup_runs" \
    "$(windows_path "$run_dir/Quillet.exe")" 'C:\windows\system32\clock.exe' || fail "start-up could not be measured"
echo "The same at 150 % (144 dpi), in a prefix of its own:"
startup_prefix_150=$(make_prefix startup-150 0x2 144) || exit 1
run_in_prefix "$startup_prefix_150" "$run_dir/startup_bench.exe" "$startup_runs" \
    "$(windows_path "$run_dir/Quillet.exe")" 'C:\windows\system32\clock.exe' || fail "start-up at 150 % could not be measured"
echo "  memory after a soak: see scripts/soak.sh"

# --- The data file ---------------------------------------------------------------
echo
echo "The data file at 10,000 schedules (native, optimised, no sanitizers; median of $file_repetitions"
echo "repetitions taken in random order, so that the disk's other traffic falls on all alike):"
TMPDIR=$run_dir build/bench/bench/schedule_file_bench --benchmark_filter="$file_benchmarks/10000\$" \
    --benchmark_repetitions="$file_repetitions" --benchmark_min_time="$file_min_time" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_format=json > "$run_dir/file.json" 2>/dev/null || fail "the data file benchmark failed"
python3 - "$run_dir/file.json" <<'EOF' || fail "the data file figures are missing"
import json, sys
rows = {b["run_name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("aggregate_name") == "median"}
for name, row in rows.items():
    print(f"  {name:<16} {row['real_time']:9.0f} us (CPU {row['cpu_time']:7.0f} us)")
ratio = rows["StampingRewrite"]["real_time"] / rows["PlainCopyToDisk"]["real_time"]
print(f"  stamping rewrite / plain copy forced to disk: {ratio:.2f} (goal: 1.3 or less)")
EOF

# --- The schedule manager --------------------------------------------------------
echo
echo "The schedule manager under Wine:"
run_in_prefix "$startup_prefix" "$run_dir/schedule_manager_bench.exe" $manager_counts ||
    fail "the schedule manager could not be measured"
