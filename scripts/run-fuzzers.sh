#!/usr/bin/env bash
# Runs every fuzz target of a build for a few seconds each: run-fuzzers.sh <build dir> <seconds>
set -euo pipefail
build=$1
seconds=${2:-20}
shopt -s nullglob
for fuzzer in "$build"/fuzz/*_fuzz; do
    echo "fuzzing $(basename "$fuzzer") for ${seconds}s"
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 2>&1 | tail -n 3
done
