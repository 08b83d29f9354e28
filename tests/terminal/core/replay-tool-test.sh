#!/bin/sh
# The replay tool against tmux's screens: every recorded fixture, with its
# resizes, read from a file in one go and from a pipe written a few bytes at a
# time, so resizes fall inside reads and between them.
#
#   replay-tool-test.sh TOOL FIXTURE_DIR
set -eu

tool=$1
fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

failed=0
count=0
for rec in "$fixtures"/*.rec; do
    name=$(basename "$rec" .rec)
    set -- --cols 80 --rows 24
    [ -f "$fixtures/$name.resizes" ] && set -- "$@" --resizes "$fixtures/$name.resizes"
    "$tool" "$@" < "$rec" > "$work/whole"
    # dd writes 5-byte blocks into the pipe as the tool reads it.
    dd if="$rec" bs=5 status=none | "$tool" "$@" > "$work/pieces"
    for how in whole pieces; do
        if ! cmp -s "$work/$how" "$fixtures/$name.screen"; then
            echo "$name, read $how: the screen differs from tmux's" >&2
            diff "$fixtures/$name.screen" "$work/$how" >&2 || true
            failed=1
        fi
    done
    count=$((count + 1))
done
[ "$count" -ge 13 ] || { echo "only $count fixtures found in $fixtures" >&2; exit 1; }
exit "$failed"
