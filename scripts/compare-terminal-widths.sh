#!/usr/bin/env bash
# Compares the emulator's screen with tmux's (a reference terminal, used as a
# black box) for each case of tests/terminal/core/widths/cases.tsv: the
# characters, then "|ab", the cursor to column 5 and "Y", in an 80 x 24 grid.
# Prints each case that differs, both screens' first row and cursor, and the
# count of cases that match.
#
#   scripts/compare-terminal-widths.sh [path/to/orva-term-replay] [cases.tsv]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
replay=${1:-$root/build/tools/orva-term-replay}
cases=${2:-$root/tests/terminal/core/widths/cases.tsv}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'set -g status off\n' > "$work/tmux.conf"

tmuxScreen() {
    local sock=orva-widths-$$-$total
    tmux -L "$sock" -f "$work/tmux.conf" new-session -d -x 80 -y 24 \
        "stty -opost -echo; cat '$1'; tmux -L $sock wait-for -S fed; sleep 1000"
    tmux -L "$sock" wait-for fed
    tmux -L "$sock" capture-pane -p -N -t 0 | sed 's/[[:space:]]*$//' | head -1
    tmux -L "$sock" display -p -t 0 'cursor #{cursor_x} #{cursor_y}'
    tmux -L "$sock" kill-server
}

total=0 matching=0
while IFS=$'\t' read -r name characters; do
    [[ -z $name || $name == \#* ]] && continue
    # shellcheck disable=SC2059
    printf "$characters|ab\\e[5GY" > "$work/bytes"
    expected=$(tmuxScreen "$work/bytes")
    actual=$("$replay" --cols 80 --rows 24 < "$work/bytes" | awk 'NR == 1 || /^cursor/')
    total=$((total + 1))
    if [[ $expected == "$actual" ]]; then
        matching=$((matching + 1))
    else
        printf '%s differs\n  tmux:     %s\n  emulator: %s\n' "$name" \
            "$(tr '\n' ' ' <<< "$expected")" "$(tr '\n' ' ' <<< "$actual")"
    fi
done < "$cases"
echo "$matching of $total cases match"
