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
    # One call for every file: a process per file costs far more than the check itself. It names each
    # place that differs; anything else it reports is shown as it stands.
    status=0
    report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1 >/dev/null) || status=$?
    mapfile -t drift < <(printf '%s\n' "$report" |
        sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
    if [ ${#drift[@]} -gt 0 ]; then
        printf 'Not formatted (run scripts/format.sh):\n' >&2
        printf '  %s\n' "${drift[@]}" >&2
        exit 1
    fi
    if [ "$status" -ne 0 ]; then
        printf '%s\n' "$report" >&2
        exit "$status"
    fi
else
    clang-format -i "${files[@]}"
fi
