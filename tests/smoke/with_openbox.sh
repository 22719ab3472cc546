#!/usr/bin/env bash
# Runs a check on a virtual X screen managed by openbox, which frames, activates and stacks windows as a
# user's desktop does: with_openbox.sh CHECK PROGRAM. The check gets an empty folder in $TEST_FOLDER.
set -euo pipefail
check="$1"
program="$2"
TEST_FOLDER="$(mktemp -d)"
export TEST_FOLDER
trap 'rm -rf "$TEST_FOLDER"' EXIT

# -noreset: a probe that connects and leaves before the program does would make the server reset, and the
# program's connection made during the reset would be refused.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c '
    set -uo pipefail
    ready="$(mktemp -u)"
    openbox --startup "touch $ready" >/dev/null 2>&1 & wm=$!
    for _ in $(seq 100); do [ -e "$ready" ] && break; sleep 0.1; done
    if [ ! -e "$ready" ]; then echo "openbox did not start"; kill "$wm"; exit 1; fi
    rm -f "$ready"
    bash "$1" "$2"; status=$?
    kill "$wm"
    exit $status
' _ "$check" "$program"
