#!/usr/bin/env bash
# Copies the data files that live beside the program into a working directory, keeping the
# user's own files (settings, jobs) that are already there.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)/data"
dest=$1
mkdir -p "$dest/Jobs" "$dest/Networks" "$dest/Radio_SW"
shopt -s nullglob
for f in "$src"/*; do
    name=$(basename "$f")
    if [ -d "$f" ]; then
        cp -rn "$f"/. "$dest/$name/"
    else
        cp -n "$f" "$dest/$name"
    fi
done
