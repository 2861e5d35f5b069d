#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything and runs every test: the
# normal build first (warnings are errors), then the unit tests again under AddressSanitizer and
# UBSan, then a short run of each fuzzer (built with clang, warnings are errors there too).
set -euo pipefail
cd "$(dirname "$0")/.."

# Each stage says when it starts (seconds since the start), so a slow CI run shows where the
# time went.
stage_start=$SECONDS
stage() {
    echo "==> $1 ($((SECONDS - stage_start)) s since the start)"
}

stage "installing and checking the formatting"
scripts/install-deps.sh
scripts/check-format.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

stage "the normal build and its tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKM_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300

stage "the build under AddressSanitizer and UBSan and its tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKM_SANITIZE=ON -DKM_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600

if command -v clang++ >/dev/null; then
    stage "the fuzz targets"
    CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKM_FUZZ=ON \
        -DKM_BUILD_QT=OFF -DKM_BENCH=OFF -DKM_WERROR=ON >/dev/null
    # Only the fuzz targets: the tests of this build would never run.
    mapfile -t fuzzers < <(basename -s .cpp fuzz/*_fuzz.cpp)
    cmake --build build-fuzz -j"$jobs" --target "${fuzzers[@]}"
    scripts/run-fuzzers.sh build-fuzz 10
fi
stage "done"
echo "All tests passed."
