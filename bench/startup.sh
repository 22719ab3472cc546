#!/usr/bin/env bash
# Time from process start to the first painted frame of the main window under Xvfb, beside a bare QMainWindow with a
# QMdiArea built in the same tree; alternating runs, medians; also peak memory (VmHWM) of both.
# The X server resets when its last client leaves, so each start also waits for the reset after the one before;
# with NORESET=1 it keeps its state, as a desktop's server with other clients does.
# Usage: [NORESET=1] bench/startup.sh BUILD_FOLDER [RUNS]
set -euo pipefail
build="$(cd "${1:?usage: startup.sh BUILD_FOLDER [RUNS]}" && pwd)"
runs="${2:-15}"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT

xvfb-run -a -s "-screen 0 1280x800x24${NORESET:+ -noreset}" bash -s "$build" "$runs" "$folder" <<'INNER'
set -euo pipefail
build="$1"; runs="$2"; folder="$3"
measure() {
    TARVELIN2_FIRST_PAINT_REPORT=1 TARVELIN2_DIR="$folder" TARVELIN2_START_NS="$(date +%s%N)" timeout 30 "$@" 2>/dev/null
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
: >"$folder/app"; : >"$folder/bare"
measure "$build/tarvelin2" >/dev/null; measure "$build/tarvelin_bare_mdi_window" >/dev/null  # warm the caches
for ((i = 0; i < runs; i++)); do
    measure "$build/tarvelin2" >>"$folder/app"
    measure "$build/tarvelin_bare_mdi_window" >>"$folder/bare"
done
app_ms=$(awk '{ print $2 }' "$folder/app" | median); bare_ms=$(awk '{ print $2 }' "$folder/bare" | median)
app_kb=$(awk '{ print $4 }' "$folder/app" | median); bare_kb=$(awk '{ print $4 }' "$folder/bare" | median)
echo "runs $runs (alternating), medians:"
echo "tarvelin2         first paint ${app_ms} ms  VmHWM ${app_kb} kB"
echo "bare MDI window   first paint ${bare_ms} ms  VmHWM ${bare_kb} kB"
awk -v a="$app_ms" -v b="$bare_ms" -v m="$app_kb" -v n="$bare_kb" 'BEGIN { printf "startup ratio %.2f memory ratio %.2f\n", a / b, m / n }'
INNER
