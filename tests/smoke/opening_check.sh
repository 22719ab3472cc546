#!/usr/bin/env bash
# The desktop route of the real program: a recording xdg-open first on PATH gets exactly the path of a file
# whose name has spaces and Japanese characters, from a list item (double click) and from the left file list
# (Enter); then the same file goes to the trash through the file list's menu and its question, by keyboard.
# Last, the two-pane mode is switched on (a picture of it goes to $SHOT when that is set) and the program's
# close only switches it off.
program="$1"
source "$(dirname "$0")/session.sh"

data="$home/作業 フォルダ"
item="$data/報告 書 (1).txt"
mkdir -p "$data"
printf 'report' >"$item"
printf 'a' >"$data/a.txt"
printf 'Refs\r\n\t%s\r\n' "$item" >"$folder/refs.kxd"
printf '%s\r\n' "$folder/refs.kxd" >"$folder/oplst.lst"
printf '[Open]\r\nFiles=1\r\n[Folder]\r\nTreeDir=%s\r\n' "$data" >"$folder/KX2cfg.ini"

bin="$TEST_FOLDER/bin"
record="$TEST_FOLDER/opened"
mkdir -p "$bin"
# Each argument ends in a NUL, so a split or changed argument shows.
printf '#!/bin/sh\nprintf "%%s\\0" "$@" >>"%s"\n' "$record" >"$bin/xdg-open"
chmod +x "$bin/xdg-open"
export PATH="$bin:$PATH"
unset XDG_DATA_HOME # the trash then lies under $home

# Waits until the record holds `count` arguments, each exactly the item's path.
expect_opened() {
    local count="$1" expected
    expected="$(for _ in $(seq "$count"); do printf '%s\0' "$item"; done | od -c)"
    for _ in $(seq 50); do
        [ "$(od -c "$record" 2>/dev/null)" = "$expected" ] && return 0
        sleep 0.1
    done
    echo "recorded:"
    od -c "$record" 2>/dev/null
    fail "$2"
}

start_program
# The list opened at start shows its item under the root, right of the left pane and the tab column.
xdotool mousemove --window "$window" 424 77 click --repeat 2 --delay 80 1
expect_opened 1 "a double click on the list item did not hand its path to xdg-open"

# The second row of the left file list ("a.txt" sorts first).
click 60 251
xdotool key Return
expect_opened 2 "Enter in the file list did not hand the path to xdg-open"

# "削除" is the third entry from the bottom of the file list's menu.
xdotool key Menu
sleep 0.5
xdotool key Up Up Up Return
question=""
for _ in $(seq 50); do
    question=$(xdotool getactivewindow 2>/dev/null)
    [ "$(xdotool getwindowname "$question" 2>/dev/null)" = "確認" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowname "$question")" = "確認" ] || fail "no question before the trash"
xdotool key Return
trashed="$home/.local/share/Trash/files/報告 書 (1).txt"
for _ in $(seq 50); do [ -e "$trashed" ] && break; sleep 0.1; done
[ "$(cat "$trashed" 2>/dev/null)" = "report" ] || fail "the file is not in the trash with its content"
[ ! -e "$item" ] || fail "the file is still in its folder"
grep -qx 'Path=.*/%E4%BD%9C%E6%A5%AD%20%E3%83%95%E3%82%A9%E3%83%AB%E3%83%80/%E5%A0%B1%E5%91%8A%20%E6%9B%B8%20%281%29.txt' \
    "$home/.local/share/Trash/info/報告 書 (1).txt.trashinfo" || fail "the trash record does not name the path"

# ToolButton7 switches the two-pane mode on; the program's close then only switches it off.
click 87 32
if [ -n "${SHOT:-}" ]; then grab "$SHOT"; fi
kill -TERM "$pid"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended while the two-pane mode was on"
stop_program
echo "opening check passed"
