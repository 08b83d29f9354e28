#!/bin/sh
# Typing latency of the terminal item beside xterm and alacritty, measured the
# same way for all three in one virtual X display: a probe sends a key through
# the X server (XTest) and polls the window's pixels until any change; /bin/sh
# echoes the key. The terminals take turns, several rounds.
#
#   scripts/typing-latency.sh [PROBE] [ROUNDS] [KEYS]
#
# PROBE is the probe, tools/xprobe.c (an X client taking `map` and `lat`
# commands): build/tools/orva-xprobe by default, which the build makes where
# libx11-dev, libxext-dev and libxtst-dev are installed, or its C source, built
# here with gcc. Needs Xvfb and the build in build/ (ORVA_BUILD_DIR). Each
# terminal is left out when not installed.
# Prints the median and 90th percentile per terminal, in milliseconds.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVA_BUILD_DIR:-$root/build}
probe=${1:-$build/tools/orva-xprobe}
rounds=${2:-5}
keys=${3:-20}
harness="$build/tests/terminal/view/orva_terminal_latency_benchmark"
[ -x "$harness" ] || { echo "build first: cmake --build $build --target orva_terminal_latency_benchmark" >&2; exit 1; }
case "$probe" in
*.c) ;;
*) [ -x "$probe" ] || { echo "no probe at $probe: cmake --build $build --target orva-xprobe" >&2; exit 1; } ;;
esac
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }

work=$(mktemp -d)
display_pid=
cleanup() {
    [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

case "$probe" in
*.c)
    gcc -O2 -o "$work/probe" "$probe" -lX11 -lXext -lXtst
    probe="$work/probe"
    ;;
esac

# A display number nobody holds.
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
display_pid=$!
export DISPLAY=":$n"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

# The shell each terminal runs: no start-up file, a short prompt.
mkdir -p "$work/home"
export HOME="$work/home" ENV=/dev/null PS1='$ '

terminals="orva-software orva-opengl"
command -v xterm >/dev/null && terminals="$terminals xterm"
command -v alacritty >/dev/null && terminals="$terminals alacritty"

for round in $(seq "$rounds"); do
    for t in $terminals; do
        case "$t" in
        orva-software) set -- env QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software "$harness" --window ;;
        orva-opengl) set -- env QT_QPA_PLATFORM=xcb "$harness" --window ;;
        xterm) set -- xterm -e /bin/sh ;;
        alacritty) set -- alacritty -e /bin/sh ;;
        esac
        # `map` starts the terminal and waits for its window and first paint.
        if ! "$probe" map 20 "$work/map" -- "$@" >/dev/null 2>&1; then
            echo "round $round: $t did not show a window" >&2
            continue
        fi
        read -r pid win _ < "$work/map"
        sleep 1
        "$probe" lat "$win" "$keys" a "$work/lat" >/dev/null 2>&1 || true
        cut -d' ' -f1 "$work/lat" >> "$work/$t.ms"
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        sleep 0.5
    done
done

echo "Typing latency in Xvfb, $rounds rounds of $keys keys each (ms); load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| terminal | median | 90th percentile | keys |"
echo "|---|---|---|---|"
for t in $terminals; do
    [ -s "$work/$t.ms" ] || continue
    sort -n "$work/$t.ms" | awk -v t="$t" '$1 >= 0 { v[n++] = $1 }
        function at(p,  i, f) { i = p * (n - 1); f = int(i); return v[f] + (v[f + (f + 1 < n)] - v[f]) * (i - f) }
        END { if (n) printf "| %s | %.1f | %.1f | %d |\n", t, at(0.5), at(0.9), n }'
done
