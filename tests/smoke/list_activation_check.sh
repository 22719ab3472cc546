#!/usr/bin/env bash
# A list opened through "リストを開く" comes to the front, although the main window's return from the modal
# dialog gives the focus back to the list that had it: the title names the new list each time, also after
# the user has worked in the previous one.
program="$1"
source "$(dirname "$0")/session.sh"

start_program
for name in alpha beta gamma delta; do
    printf '%s\r\n' "$name" >"$home/$name.kxd"
    open_list "$home/$name.kxd"
    sleep 0.5
    [ "$(title)" = "Tarvelin2 - [$name.kxd]" ] || fail "after opening $name.kxd the title is $(title)"
    click 300 200 # into the new list's tree, below its root
done
stop_program
echo "list activation check passed"
