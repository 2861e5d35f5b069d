#!/usr/bin/env bash
# Checks that every C++ source is formatted as .clang-format says and names the files that are
# not. With --fix it formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(find lib app cli sim adapters tools tests fuzz bench \
    -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${sources[@]}"
    exit 0
fi

if ! report=$(clang-format --dry-run --Werror "${sources[@]}" 2>&1); then
    echo "Not formatted (scripts/check-format.sh --fix formats them):" >&2
    grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | sort -u | sed 's/^/  /' >&2
    exit 1
fi
