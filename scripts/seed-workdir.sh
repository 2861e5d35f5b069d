#!/usr/bin/env bash
# Copies the data files that live beside the program into a working directory, keeping the
# user's own files (settings, jobs) that are already there:
#
#   scripts/seed-workdir.sh DIR                   templates, Setup defaults, texts, the sample
#                                                 network and an empty Radio_SW: what a working
#                                                 directory for a real radio starts with
#   scripts/seed-workdir.sh DIR --virtual-radio   the same, plus the virtual radio's own
#                                                 FIT000101.bin, aligncfg.bin and sample code files
#
# The virtual radio's files describe its made-up memory and software, never a real radio's; the
# programmer refuses to write them into any radio but the virtual one.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
dest=$1
virtual_radio=${2:-}

copy_tree() {
    local src=$1
    shopt -s nullglob
    for f in "$src"/*; do
        name=$(basename "$f")
        if [ -d "$f" ]; then
            mkdir -p "$dest/$name"
            cp -rn "$f"/. "$dest/$name/"
        else
            cp -n "$f" "$dest/$name"
        fi
    done
}

mkdir -p "$dest/Jobs" "$dest/Networks" "$dest/Radio_SW"
copy_tree "$repo/data"
case "$virtual_radio" in
    "") ;;
    --virtual-radio) copy_tree "$repo/sim/data" ;;
    *) echo "usage: $0 DIR [--virtual-radio]" >&2; exit 2 ;;
esac
