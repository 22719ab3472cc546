# Helpers for checks run by with_openbox.sh; sourced with $program set. Coordinates are in the main window's
# client area.
source "$(dirname "${BASH_SOURCE[0]}")/find_window.sh"
folder="$TEST_FOLDER/program"
home="$TEST_FOLDER/home" # the user's own files, which a portable program folder leaves alone
mkdir -p "$folder" "$home"
pid=""
window=""

fail() {
    echo "FAILED: $*"
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    exit 1
}

start_program() {
    HOME="$home" XDG_CONFIG_HOME="" TARVELIN2_DIR="$folder" "$program" "$@" &
    pid=$!
    window=$(find_window '^Tarvelin2')
    [ -n "$window" ] || fail "no window titled Tarvelin2"
    sleep 1
}

stop_program() {
    kill -TERM "$pid"
    wait "$pid" || fail "the program ended with status $?"
    pid=""
}

title() { xdotool getwindowname "$window"; }

click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}

# Keeps hover effects out of screenshots.
park_pointer() { xdotool mousemove 1270 1010; sleep 0.3; }

# The client area as the screen shows it, in a PNG file.
grab() { park_pointer; import -window "$window" "$1"; }

# The outer size (frame included) as "WIDTHxHEIGHT".
outer_size() {
    local extents size
    extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    read -r left right top bottom <<<"$extents"
    echo "$((${size%x*} + left + right))x$((${size#*x} + top + bottom))"
}

# Opens a list through "リストを開く" (ToolButton5) and its dialog, typing the file's name.
open_list() {
    click 39 32
    local dialog
    dialog=$(xdotool getactivewindow)
    [ "$(xdotool getwindowname "$dialog")" = "開く" ] || fail "no open dialog"
    xdotool type --delay 10 "$1"
    sleep 0.5
    xdotool key Return
    sleep 1
    [ "$(xdotool getactivewindow)" != "$dialog" ] || fail "the open dialog stayed"
}
