#!/usr/bin/env bash
# Runs every fuzz target of a build for a few seconds each, as many at once as there are cores:
# run-fuzzers.sh <build dir> <seconds>. Each target starts from a corpus made from the shipped
# files (templates, sample networks, the demo job, code files, profiles and the CSV files the
# program exports of them; fuzz/MakeSeeds.cpp) and keeps what it finds in <build dir>/fuzz-corpus,
# so a later run goes on from there. A target that finds a fault prints the end of its report,
# leaves the input beside its corpus (fuzz-corpus/<target>-crash-...) and makes the whole run fail.
set -euo pipefail
build=$1
seconds=${2:-20}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
fuzzers=("$build"/fuzz/*_fuzz)
[ ${#fuzzers[@]} -gt 0 ] || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }

seeds=$build/fuzz-seeds
corpus=$build/fuzz-corpus
rm -rf "$seeds"
"$build"/fuzz/make_fuzz_seeds "$source_dir" "$seeds"

run_one() {
    local fuzzer=$1 seconds=$2 seeds=$3 corpus=$4 name report
    name=$(basename "$fuzzer")
    mkdir -p "$corpus/$name" "$seeds/$name"
    if ! report=$("$fuzzer" -max_total_time="$seconds" -print_final_stats=0 \
        -artifact_prefix="$corpus/$name-" "$corpus/$name" "$seeds/$name" 2>&1); then
        printf '%s\n' "$report" | tail -n 40
        echo "FAULT FOUND by $name"
        return 1
    fi
    printf 'fuzzed %s for %ss: %s\n' "$name" "$seconds" \
        "$(printf '%s\n' "$report" | grep -E '^Done [0-9]+ runs' | tail -n 1)"
}
export -f run_one
printf '%s\n' "${fuzzers[@]}" |
    xargs -P "$(nproc)" -I{} bash -c 'run_one "$1" "$2" "$3" "$4"' _ {} "$seconds" "$seeds" "$corpus"
