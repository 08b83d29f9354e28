#!/bin/sh
# Throughput of the replay tool as a whole process (start, reading, feeding,
# printing the screen, exit) on generated output into a 120x40 grid, the
# inputs of the emulator core's benchmark grown to 32 MiB: plain text,
# SGR-heavy colour and cursor-addressed full-screen redraws.
#
#   scripts/replay-throughput.sh [TOOL] [RUNS]
#
# TOOL is the replay tool (build/tools/orva-term-replay by default); RUNS the
# runs per input (5), of which the fastest counts. Needs python3. Prints MB/s
# (10^6 bytes per second) per input.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$root/build/tools/orva-term-replay}
runs=${2:-5}
[ -x "$tool" ] || { echo "no replay tool at $tool" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

python3 - "$work" <<'EOF'
import sys
folder = sys.argv[1]
size = 32 << 20
words = ["alpha", "build", "src/terminal/core", "main.cpp", "-rw-r--r--", "1024", "Dec", "10", "09:41",
         "README.md", "include", "=", "return", "{", "}"]
def word(i): return words[i % 15]
def plain(i):
    line, w = "", 0
    while len(line) < 100:
        line += word(i * 7 + w) + " "
        w += 1
    return line + "\r\n"
def sgr(i):
    line = ""
    for w in range(12):
        n = i * 12 + w
        m = n % 4
        if m == 0: line += "\x1b[1;%dm" % (31 + n % 7)
        elif m == 1: line += "\x1b[38;5;%dm" % (n % 256)
        elif m == 2: line += "\x1b[38;2;%d;%d;%dm" % (n % 256, (n * 3) % 256, (n * 7) % 256)
        else: line += "\x1b[4;48;5;%dm" % (n % 256)
        line += word(n) + "\x1b[0m "
    return line + "\r\n"
def redraw(i):
    frame = "\x1b[H"
    for r in range(1, 41):
        frame += "\x1b[%d;1H\x1b[%dm" % (r, 30 + (r + i) % 8)
        row = ""
        while len(row) < 120:
            row += word(i + r + len(row)) + " "
        frame += row[:119] + "\x1b[K"
    return frame + "\x1b[0m"
for name, make in (("plain", plain), ("sgr", sgr), ("redraw", redraw)):
    parts, total, i = [], 0, 0
    while total < size:
        part = make(i)
        parts.append(part)
        total += len(part)
        i += 1
    with open("%s/%s" % (folder, name), "wb") as out:
        out.write("".join(parts).encode())
EOF

echo "orva-term-replay --cols 120 --rows 40, fastest of $runs runs (load: $(cut -d' ' -f1-3 /proc/loadavg))"
echo
echo "| input | MB/s |"
echo "|---|---|"
for name in plain sgr redraw; do
    bytes=$(wc -c < "$work/$name")
    best=
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$tool" --cols 120 --rows 40 < "$work/$name" > /dev/null
        end=$(date +%s%N)
        ns=$((end - start))
        if [ -z "$best" ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
    done
    echo "| $name | $((bytes * 1000 / best)) |"
done
