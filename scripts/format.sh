#!/usr/bin/env bash
# Formats every C++ source that git tracks with the repository's .clang-format; with --check it only
# lists the files that differ and fails when there are any. Build folders and other untracked files
# are never looked at.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "format.sh: not a git checkout, so there is no list of tracked sources; nothing done." >&2
    exit 0
fi
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
    drift=()
    for f in "${files[@]}"; do
        clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || drift+=("$f")
    done
    if [ ${#drift[@]} -gt 0 ]; then
        printf 'Not formatted (run scripts/format.sh):\n' >&2
        printf '  %s\n' "${drift[@]}" >&2
        exit 1
    fi
else
    clang-format -i "${files[@]}"
fi
