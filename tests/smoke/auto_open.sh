#!/usr/bin/env bash
# Starts the program under xvfb-run with a program folder whose auto-open list names two lists and whose
# switch is on, and checks from the screen that both lists opened with their tabs named: two tabs in the tab
# column, the second one's text ("longer-beta") about twice as long as the first one's ("alpha"); and that the
# main window's title names the first list, which the auto-open activates last.
set -euo pipefail
program="$1"
grab="$2"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
printf 'Alpha\r\n\tbinder\r\n' >"$folder/alpha.kxd"
printf 'Beta\r\n' >"$folder/longer-beta.kxd"
printf '%s\r\n%s\r\n' "$folder/alpha.kxd" "$folder/longer-beta.kxd" >"$folder/oplst.lst"
printf '[Open]\r\nFiles=1\r\n' >"$folder/KX2cfg.ini"

# The tab column stands right of the 230-pixel left pane and its 2-pixel splitter.
width=30
height=300
# -noreset: a probe that connects and leaves before the program does would make the server reset, and the
# program's connection made during the reset would be refused.
TARVELIN2_DIR="$folder" xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
    set -e
    source "$6"
    "$1" & pid=$!
    title="^Tarvelin2 - \\[alpha\\.kxd\\]$"
    window=$(find_window "$title")
    [ -n "$window" ] || { echo "no window titled Tarvelin2 - [alpha.kxd]"; kill -KILL "$pid"; exit 1; }
    sleep 1
    count=$(xdotool search --onlyvisible --name "^Tarvelin2" | wc -l)
    [ "$count" -eq 1 ] || { echo "$count windows titled Tarvelin2: a message was shown"; kill -KILL "$pid"; exit 1; }
    "$2" "$window" "$3/column.pgm" 232 0 "$4" "$5"
    kill -TERM "$pid"
    wait "$pid"
' _ "$program" "$grab" "$folder" "$width" "$height" "$(dirname "$0")/find_window.sh"

# Rows of the column holding dark (text) pixels, gathered into runs that gaps between letters do not split.
runs=$(tail -c $((width * height)) "$folder/column.pgm" | od -An -tu1 -v -w"$width" | awk '
    { dark = 0; for (i = 1; i <= NF; i++) if ($i < 100) dark = 1 }
    dark && (start < 0 || NR - 1 - last > 10) { if (start >= 0) printf "%d ", last - start + 1; start = NR - 1 }
    dark { last = NR - 1 }
    BEGIN { start = -1 }
    END { if (start >= 0) printf "%d", last - start + 1 }')
read -r -a lengths <<<"$runs"
if [ "${#lengths[@]}" -ne 2 ] || [ $((lengths[1] * 2)) -lt $((lengths[0] * 3)) ]; then
    echo "tab texts along the column: ${runs:-none} (want two, the second at least 1.5 times the first)"
    exit 1
fi
echo "auto-open smoke test passed (tab texts ${runs} pixels long)"
