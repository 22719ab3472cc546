#!/usr/bin/env bash
# The include graph follows the layers: platform at the bottom, then the shared widget kit, settings, then
# the subsystems (lists, browser, viewer), then app on top. Prints every include that points upwards.
set -uo pipefail
src="${1:?usage: check_layers.sh SRC_FOLDER}"
status=0
forbid() {  # forbid FOLDER PATTERN: no file in src/FOLDER includes a header matching PATTERN
    [ -d "$src/$1" ] || return 0
    if grep -rnE "#include \"($2)/" "$src/$1"; then status=1; fi
}
forbid platform 'app|widgets|settings|lists|browser|viewer'
forbid widgets 'app|settings|lists|browser|viewer'
forbid settings 'app|lists|browser|viewer'
forbid lists 'app|browser|viewer'
forbid browser 'app|lists|viewer'
forbid viewer 'app|lists|browser'
exit $status
