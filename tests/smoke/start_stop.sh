#!/usr/bin/env bash
# Starts the program under xvfb-run with a fresh program folder, waits for its window, closes it with SIGTERM
# and checks the settings file it wrote.
set -euo pipefail
program="$1"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
printf '[Window]\r\nState=Normal\r\nWidth=640\r\nHeight=480\r\nLeft=12\r\nTop=34\r\n' >"$folder/KX2cfg.ini"

# -noreset: a probe that connects and leaves before the program does would make the server reset, and the
# program's connection made during the reset would be refused.
TARVELIN2_DIR="$folder" xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
    set -e
    source "$2"
    "$1" & pid=$!
    window=$(find_window "^Tarvelin2$")
    [ -n "$window" ] || { echo "no window titled Tarvelin2"; kill -KILL "$pid"; exit 1; }
    geometry=$(xdotool getwindowgeometry "$window")
    echo "$geometry"
    kill -TERM "$pid"
    wait "$pid"
' _ "$program" "$(dirname "$0")/find_window.sh"

expected=$(printf '[Window]\r\nState=Normal\r\nWidth=640\r\nHeight=480\r\nLeft=12\r\nTop=34\r\n')
actual=$(cat "$folder/KX2cfg.ini")
if [ "$actual" != "$expected" ]; then
    echo "settings file after SIGTERM:"
    od -c "$folder/KX2cfg.ini"
    exit 1
fi
echo "smoke test passed"
