#!/bin/sh
# The typing latency probe against xterm in an Xvfb display of its own: `map`
# starts xterm and finds its window painted, `lat` sends keys and sees the
# window change. Skipped (77) without Xvfb or xterm.
#
#   xprobe-test.sh PROBE
set -eu

probe=$1
command -v Xvfb >/dev/null && command -v xterm >/dev/null || { echo "no Xvfb or xterm: skipped"; exit 77; }

work=$(mktemp -d)
display_pid=
terminal_pid=
cleanup() {
    [ -n "$terminal_pid" ] && kill "$terminal_pid" 2>/dev/null || true
    [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

n=190
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
display_pid=$!
export DISPLAY=":$n"
for _ in $(seq 300); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

mkdir -p "$work/home"
HOME="$work/home" ENV=/dev/null PS1='$ ' "$probe" map 60 "$work/map" -- xterm -e /bin/sh
read -r terminal_pid window mapped painted size < "$work/map"
echo "xterm: window $window ($size) mapped at $mapped s, painted at $painted s"
case "$painted" in -*) echo "the probe never saw xterm's window painted"; exit 1 ;; esac

"$probe" lat "$window" 3 a "$work/lat"
cat "$work/lat"
[ "$(wc -l < "$work/lat")" -eq 3 ] || { echo "not one line per key"; exit 1; }
# A key whose echo took longer than the probe waits (2 s) reads -1; on a busy
# machine one may, but not every one.
awk '$1 >= 0 { seen = 1 } END { exit !seen }' "$work/lat" || { echo "the probe saw no key's echo"; exit 1; }
