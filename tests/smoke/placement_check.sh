#!/usr/bin/env bash
# Under a window manager the stored size is the outer size: a first start without settings is 694 x 486 outer,
# and each later start comes back at the size it was closed at.
program="$1"
source "$(dirname "$0")/session.sh"

for run in 1 2 3; do
    start_program
    size=$(outer_size)
    [ "$size" = "694x486" ] || fail "run $run: outer size $size, not 694x486"
    stop_program
    stored=$(tr -d '\r' <"$folder/KX2cfg.ini" | grep -E '^(Width|Height)=' | tr '\n' ' ')
    [ "$stored" = "Width=694 Height=486 " ] || fail "run $run stored: $stored"
done
echo "placement check passed"
