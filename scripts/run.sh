#!/usr/bin/env bash
# Installs what is missing, builds, seeds a working directory with the data files and starts the
# desktop program in it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target km700rcp

workdir=${KM_WORKDIR:-$PWD/demo}
scripts/seed-workdir.sh "$workdir"
cd "$workdir"
exec "$OLDPWD/build/app/km700rcp" "$@"
