# find_window REGEX: the id of a visible window whose name matches, polled for up to 30 s; empty if none came.
# Polled rather than waited for inside xdotool: a window that goes while xdotool walks the window tree (the
# splash does, as the main window comes) makes xdotool itself exit with BadWindow.
find_window() {
    local deadline=$((SECONDS + 30)) id
    while [ "$SECONDS" -lt "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
}
