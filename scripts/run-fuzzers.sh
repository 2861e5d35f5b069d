#!/usr/bin/env bash
# Runs every fuzz target of a build for a few seconds each, as many at once as there are cores:
# run-fuzzers.sh <build dir> <seconds>. A target that finds a fault prints the end of its report
# and makes the whole run fail.
set -euo pipefail
build=$1
seconds=${2:-20}
shopt -s nullglob
fuzzers=("$build"/fuzz/*_fuzz)
[ ${#fuzzers[@]} -gt 0 ] || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }

run_one() {
    local fuzzer=$1 seconds=$2 report
    if ! report=$("$fuzzer" -max_total_time="$seconds" -print_final_stats=0 2>&1); then
        printf '%s\n' "$report" | tail -n 40
        echo "FAULT FOUND by $(basename "$fuzzer")"
        return 1
    fi
    printf 'fuzzed %s for %ss: %s\n' "$(basename "$fuzzer")" "$seconds" \
        "$(printf '%s\n' "$report" | grep -E '^Done [0-9]+ runs' | tail -n 1)"
}
export -f run_one
printf '%s\n' "${fuzzers[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one "$1" "$2"' _ {} "$seconds"
