#!/usr/bin/env bash
# Records a program for the emulator's replay test and the screen tmux shows
# for the same bytes (tmux used only as a reference terminal, a black box).
#
#   scripts/record-terminal-fixture.sh NAME 'command' [keys...]
#
# Runs the command under script(1) in an 80 x 24 tmux pane with
# TERM=xterm-256color, types the keys (tmux send-keys arguments; "@N" waits N
# tenths of a second), keeps what the program wrote up to then as
# tests/terminal/core/replay/NAME.rec, then feeds those bytes to a fresh tmux
# pane and keeps its screen and cursor as NAME.screen. Record nothing that
# depends on the machine (process lists, dates, disk space).
set -euo pipefail
name=$1 cmd=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/tests/terminal/core/replay
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'set -g status off\n' > "$work/tmux.conf"
sock=orva-record-$$

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
# script's own first line is not the program's output.
if head -c 6 "$out/$name.rec" | grep -q Script; then sed -i '1d' "$out/$name.rec"; fi

tmux -L "$sock" -f "$work/tmux.conf" new-session -d -x 80 -y 24 \
    "stty -opost -echo; cat '$out/$name.rec'; tmux -L $sock wait-for -S fed; sleep 1000"
tmux -L "$sock" wait-for fed
{
    tmux -L "$sock" capture-pane -p -N -t 0 | sed 's/[[:space:]]*$//'
    tmux -L "$sock" display -p -t 0 'cursor #{cursor_x} #{cursor_y}'
} > "$out/$name.screen"
tmux -L "$sock" kill-server
echo "$out/$name.rec and $name.screen written"
