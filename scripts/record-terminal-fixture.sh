#!/usr/bin/env bash
# Records a program for the emulator's replay test and the screen tmux shows
# for the same bytes (tmux used only as a reference terminal, a black box).
#
#   scripts/record-terminal-fixture.sh NAME 'command' [keys...]
#   scripts/record-terminal-fixture.sh --bytes NAME FILE [COLSxROWS FILE]...
#
# The first form runs the command under script(1) in an 80 x 24 tmux pane with
# TERM=xterm-256color, types the keys (tmux send-keys arguments; "@N" waits N
# tenths of a second), keeps what the program wrote up to then as
# tests/terminal/core/replay/NAME.rec, then feeds those bytes to a fresh tmux
# pane and keeps its screen and cursor as NAME.screen. Record nothing that
# depends on the machine (process lists, dates, disk space).
#
# The second form takes the bytes from files: the first goes to an 80 x 24
# pane, and each size resizes the pane before the next file is fed. NAME.rec
# holds all the bytes, NAME.resizes one line "OFFSET COLS ROWS" per resize (made
# after OFFSET bytes), and NAME.screen the screen and cursor tmux ends with.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/tests/terminal/core/replay
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'set -g status off\n' > "$work/tmux.conf"
sock=orva-record-$$

keepScreen() {
    {
        tmux -L "$sock" capture-pane -p -N -t 0 | sed 's/[[:space:]]*$//'
        tmux -L "$sock" display -p -t 0 'cursor #{cursor_x} #{cursor_y}'
    } > "$out/$1.screen"
    tmux -L "$sock" kill-server
}

if [[ $1 == --bytes ]]; then
    name=$2
    shift 2
    : > "$out/$name.rec"
    rm -f "$out/$name.resizes"
    # One file per step; the pane waits for a signal before each.
    steps=("$1")
    sizes=()
    shift
    while (($# >= 2)); do
        sizes+=("$1")
        steps+=("$2")
        shift 2
    done
    feed="stty -opost -echo"
    for i in "${!steps[@]}"; do
        cp "${steps[$i]}" "$work/step$i"
        feed+="; tmux -L $sock wait-for go$i; cat '$work/step$i'; tmux -L $sock wait-for -S fed$i"
    done
    tmux -L "$sock" -f "$work/tmux.conf" new-session -d -x 80 -y 24 "$feed; sleep 1000"
    for i in "${!steps[@]}"; do
        if ((i > 0)); then
            size=${sizes[$((i - 1))]}
            echo "$(stat -c %s "$out/$name.rec") ${size%x*} ${size#*x}" >> "$out/$name.resizes"
            tmux -L "$sock" resize-window -t 0 -x "${size%x*}" -y "${size#*x}"
        fi
        cat "${steps[$i]}" >> "$out/$name.rec"
        tmux -L "$sock" wait-for -S "go$i"
        tmux -L "$sock" wait-for "fed$i"
    done
    keepScreen "$name"
    echo "$out/$name.rec and $name.screen written"
    exit 0
fi

name=$1 cmd=$2
shift 2
tmux -L "$sock" -f "$work/tmux.conf" new-session -d -x 80 -y 24 \
    "TERM=xterm-256color LANG=C.UTF-8 LC_ALL=C.UTF-8 script -q -f -c \"$cmd\" '$work/live'; sleep 1000"
sleep 1.5
for key in "$@"; do
    if [[ $key == @* ]]; then
        sleep "$(awk "BEGIN { print ${key#@} / 10 }")"
    else
        tmux -L "$sock" send-keys -t 0 "$key"
        sleep 0.3
    fi
done
sleep 1
cp "$work/live" "$out/$name.rec"
tmux -L "$sock" kill-server
# script's own first line, and its last two when the program ended, are not
# the program's output.
if head -c 6 "$out/$name.rec" | grep -q Script; then sed -i '1d' "$out/$name.rec"; fi
if tail -n 1 "$out/$name.rec" | grep -q '^Script done'; then
    head -n -2 "$out/$name.rec" > "$work/trimmed" && cp "$work/trimmed" "$out/$name.rec"
fi

tmux -L "$sock" -f "$work/tmux.conf" new-session -d -x 80 -y 24 \
    "stty -opost -echo; cat '$out/$name.rec'; tmux -L $sock wait-for -S fed; sleep 1000"
tmux -L "$sock" wait-for fed
keepScreen "$name"
echo "$out/$name.rec and $name.screen written"
