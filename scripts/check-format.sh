#!/usr/bin/env bash
# Checks that the C++ files changed since the merge base with main (BASE, default main) are formatted with the
# repository's .clang-format. On main itself the files of the last commit are checked.
set -euo pipefail
cd "$(dirname "$0")/.."
base_ref="${BASE:-main}"
if ! git rev-parse --verify -q "$base_ref^{commit}" >/dev/null; then
    echo "check-format: no $base_ref to compare with; nothing checked"
    exit 0
fi
base="$(git merge-base HEAD "$base_ref")"
if [ "$base" = "$(git rev-parse HEAD)" ]; then
    base="$(git rev-parse -q --verify HEAD~1 || true)"
    [ -n "$base" ] || exit 0
fi
mapfile -t files < <(git diff --name-only --diff-filter=ACMR "$base" -- '*.cpp' '*.h')
[ ${#files[@]} -eq 0 ] && { echo "check-format: no C++ files changed"; exit 0; }
clang-format --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} changed files formatted"
