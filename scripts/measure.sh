#!/usr/bin/env bash
# The figures the docs quote, measured in one go and the same way every time:
# start-up, throughput (the application's terminal and the replay tool),
# typing latency key to pixel beside xterm and alacritty in one Xvfb display,
# the longest main-loop turn and frame in output floods, and memory.
#
#   scripts/measure.sh [--no-build] [ROUNDS] [KEYS]
#
# ROUNDS (3) rounds each run every measure once, one after another, so a
# passing load spreads over all of them instead of spoiling one; KEYS (20) are
# typed per terminal and round. It installs what it needs when missing
# (scripts/measure-packages.txt, the way ./run.sh does), builds the benchmarks
# into build/ (ORVA_BUILD_DIR), and prints on standard output one Markdown
# block to paste into docs/performance.md: the date, the machine, its cores,
# the load at the start of each round, and for each measure the median of the
# rounds, their spread and each round's figure. The benchmarks' own outputs
# stay in build/measure/ (the folder is named on standard error). A full run
# takes about 10 minutes. --no-build measures the build folder as it is (a
# build of another commit, to set before and after side by side); a benchmark
# missing from it is left out, and the probe is then built from its source.
#
# The benchmarks it runs (each one's header says what it measures):
# - orva_app_benchmark, in Xvfb with the software renderer: start-up, memory,
#   50 MiB through the work screen's terminal, the repeat flood, typing in the
#   window;
# - scripts/replay-throughput.sh: the replay tool as a whole process;
# - orva_terminal_stall_benchmark at 120x40 and 250x70: the longest main-loop
#   turn and the longest frame while a flood is drawn;
# - scripts/typing-latency.sh with tools/xprobe.c: key to pixel of the
#   latency benchmark's window (software and OpenGL), xterm and alacritty.
set -euo pipefail

source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/setup.sh"

arguments="$*"
build_first=yes
if [[ ${1:-} == --no-build ]]; then build_first=no; shift; fi
rounds=${1:-3}
keys=${2:-20}
build="$ORVA_BUILD_DIR"
app_benchmark="$build/tests/app/bench/orva_app_benchmark"
stall_benchmark="$build/tests/terminal/view/orva_terminal_stall_benchmark"
replay_tool="$build/tools/orva-term-replay"
probe="$build/tools/orva-xprobe"

orva_install_packages "$ORVA_ROOT/scripts/measure-packages.txt"
if [[ $build_first == yes ]]; then
    if [[ ! -f "$build/build.ninja" ]]; then
        cmake -S "$ORVA_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${ORVA_BUILD_TYPE:-RelWithDebInfo}"
    fi
    cmake --build "$build" --parallel "$(nproc)" --target orva_app_benchmark orva_terminal_stall_benchmark \
        orva-term-replay orva_terminal_latency_benchmark orva-xprobe >&2
fi
[[ -x $probe ]] || probe="$ORVA_ROOT/tools/xprobe.c"
for program in "$app_benchmark" "$stall_benchmark" "$replay_tool"; do
    [[ -x $program ]] || echo "not built, left out: $program" >&2
done

out="$build/measure/$(date -u +%Y%m%d-%H%M%S)"
mkdir -p "$out/values"
echo "benchmark outputs in $out" >&2

# One X display for the application benchmark, on a number nobody holds
# (typing-latency.sh starts one of its own).
display_pid=
trap '[[ -n $display_pid ]] && kill "$display_pid" 2>/dev/null || true' EXIT INT TERM
n=90
while [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
display_pid=$!
for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done

# record NAME ROUND VALUE: one figure of one round ("-" when it did not come).
record() { echo "$2 ${3:--}" >> "$out/values/$1"; }
order=()
measure() { order+=("$1|$2"); }   # measure NAME LABEL, in the order of the table

# app_figure LABEL FILE [N]: the Nth number (the first) in the figure column
# of the application benchmark's row that starts with LABEL.
app_figure() {
    awk -F'|' -v label="$1" -v nth="${3:-1}" 'index($2, " " label) == 1 {
        s = $3; for (i = 0; i < nth; ++i) { if (!match(s, /[0-9]+(\.[0-9]+)?/)) exit; v = substr(s, RSTART, RLENGTH); s = substr(s, RSTART + RLENGTH) }
        print v; exit }' "$2"
}
stall_figure() {   # stall_figure FILE LINE-START WORD: the number after WORD on that line
    awk -v start="$2" -v word="$3" 'index($0, start) == 1 {
        s = substr($0, index($0, word) + length(word)); match(s, /[0-9]+/); print substr(s, RSTART, RLENGTH); exit }' "$1"
}

measure startup_first "start to first frame, first launch (s)"
measure startup "start to first frame, later launches, median (s)"
measure rss_lines "resident memory, work screen after 10,000 lines (MiB)"
measure rss_peak "resident memory, peak after 50 MiB through the terminal (MiB)"
measure app_mibs "50 MiB through pty, emulator and view (MiB/s)"
measure pty_mibs "the same cat through a pty alone (MiB/s)"
measure app_flood "140 KiB of CSI 9999 b in the window: longest main-loop turn (ms)"
measure app_keys "keys typed into the work screen's terminal, key to frame, median (ms)"
for input in plain sgr redraw; do
    measure "replay_$input" "replay tool, $input, fastest of 3 (MB/s)"
done
for grid in 120x40 250x70; do
    for flood in repeat text; do
        measure "stall_${grid}_${flood}_turn" "$grid, $flood flood: longest main-loop turn (ms)"
        measure "stall_${grid}_${flood}_frame" "$grid, $flood flood: longest frame (ms)"
    done
done
terminals="orva-software orva-opengl xterm alacritty"
for t in $terminals; do
    measure "keys_${t}_median" "key to pixel, $t, median (ms)"
    measure "keys_${t}_p90" "key to pixel, $t, 90th percentile (ms)"
done

started=$(date -u '+%Y-%m-%d %H:%M UTC')
: > "$out/rounds"
for round in $(seq "$rounds"); do
    echo "| $round | $(date -u +%H:%M:%S) | $(cut -d' ' -f1-3 /proc/loadavg) |" >> "$out/rounds"
    echo "round $round of $rounds (load $(cut -d' ' -f1-3 /proc/loadavg))" >&2

    app="$out/app.$round"
    : > "$app"
    if [[ -x $app_benchmark ]]; then
        env DISPLAY=":$n" QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software \
            "$app_benchmark" --runs 5 --seconds 1 --settle 1 --floods 3 --keys "$keys" \
            > "$app" 2> "$app.log" || echo "round $round: the application benchmark failed (see $app.log)" >&2
    fi
    record startup_first "$round" "$(app_figure "start to first frame, first launch" "$app")"
    record startup "$round" "$(app_figure "start to first frame, later launches" "$app")"
    record rss_lines "$round" "$(app_figure "resident memory, work screen after" "$app")"
    record rss_peak "$round" "$(app_figure "resident memory after" "$app" 2)"
    record app_mibs "$round" "$(app_figure "50 MiB through pty, emulator and view" "$app")"
    record pty_mibs "$round" "$(app_figure "the same through the pty alone" "$app")"
    record app_flood "$round" "$(app_figure "140 KiB of" "$app" 2)"
    record app_keys "$round" "$(app_figure "$keys keys typed" "$app")"

    replay="$out/replay.$round"
    : > "$replay"
    [[ -x $replay_tool ]] && "$ORVA_ROOT/scripts/replay-throughput.sh" "$replay_tool" 3 > "$replay" 2>&1  || true
    for input in plain sgr redraw; do
        record "replay_$input" "$round" "$(awk -F'|' -v i=" $input " '$2 == i { print $3 + 0 }' "$replay")"
    done

    for grid in 120x40 250x70; do
        stall="$out/stall-$grid.$round"
        : > "$stall"
        [[ -x $stall_benchmark ]] && QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software "$stall_benchmark" \
            --cols "${grid%x*}" --rows "${grid#*x}" > "$stall" 2>&1 || true
        for flood in repeat text; do
            case $flood in repeat) line="repeat flood" ;; text) line="50 MB of text" ;; esac
            record "stall_${grid}_${flood}_turn" "$round" "$(stall_figure "$stall" "$line" "longest stall")"
            record "stall_${grid}_${flood}_frame" "$round" "$(stall_figure "$stall" "$line" "longest frame")"
        done
    done

    typing="$out/typing.$round"
    ORVA_BUILD_DIR="$build" "$ORVA_ROOT/scripts/typing-latency.sh" "$probe" 1 "$keys" > "$typing" 2>&1 ||
        echo "round $round: the typing latency failed (see $typing)" >&2
    for t in $terminals; do
        record "keys_${t}_median" "$round" "$(awk -F'|' -v t=" $t " '$2 == t { print $3 + 0 }' "$typing")"
        record "keys_${t}_p90" "$round" "$(awk -F'|' -v t=" $t " '$2 == t { print $4 + 0 }' "$typing")"
    done
done

commit=$(git -C "$ORVA_ROOT" describe --always --dirty 2>/dev/null || echo unknown)
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo
echo "Measured by \`scripts/measure.sh${arguments:+ $arguments}\` on $started: $(nproc) cores (${cpu:-unknown processor}),"
echo "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo) of memory, $(uname -sr), commit $commit,"
echo "$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt") build; rounds: $rounds, every measure once per round, $keys keys per terminal and round."
echo "The application benchmark runs in Xvfb with the software renderer; the stall benchmark offscreen."
echo
echo "| round | started (UTC) | load average (1, 5, 15 min) |"
echo "|---|---|---|"
cat "$out/rounds"
echo
printf '| measure | median | spread (min-max) |'
for round in $(seq "$rounds"); do printf ' round %d |' "$round"; done
printf '\n|---|---|---|'
for round in $(seq "$rounds"); do printf -- '---|'; done
echo
for entry in "${order[@]}"; do
    name=${entry%%|*}
    label=${entry#*|}
    [[ -s "$out/values/$name" ]] || continue
    awk -v label="$label" -v rounds="$rounds" '
        { byRound[$1] = $2; if ($2 != "-") v[n++] = $2 + 0 }
        END {
            if (n == 0) { med = "-"; spread = "-" } else {
                for (i = 0; i < n; ++i) for (j = i + 1; j < n; ++j) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
                m = (n % 2) ? v[(n - 1) / 2] : (v[n / 2 - 1] + v[n / 2]) / 2
                med = sprintf("%g", m); spread = sprintf("%g-%g", v[0], v[n - 1])
            }
            line = "| " label " | " med " | " spread " |"
            for (r = 1; r <= rounds; ++r) line = line " " ((r in byRound) ? byRound[r] : "-") " |"
            print line
        }' "$out/values/$name"
done
