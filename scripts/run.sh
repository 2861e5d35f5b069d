#!/usr/bin/env bash
# Installs what is missing, builds, seeds a working directory with the data files and starts the
# desktop program in it.
#
# Demo mode: the virtual radio (km700sim) runs beside the desktop program, serving a radio with a
# trunk job on a pseudo-terminal that COM1 of the working directory points at (comports.cfg), so
# Read Radio, Program Radio, Radio Information and Upgrade Software work without hardware. The
# radio's memory is kept in radio.mem of the working directory from one run to the next; its log
# is km700sim.log. It stops when the desktop program exits. KM_SIM=0 starts the desktop program
# alone (for a real radio); KM_SIM_PROFILE names another profile (see sim/profiles).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

use_sim=${KM_SIM:-1}
targets=(km700rcp)
[ "$use_sim" = 0 ] || targets+=(km700sim)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target "${targets[@]}"

repo=$PWD
workdir=${KM_WORKDIR:-$PWD/demo}
scripts/seed-workdir.sh "$workdir"
cd "$workdir"

if [ "$use_sim" = 0 ]; then
    # FIT000101.bin and aligncfg.bin under data/ describe the virtual radio's memory, not a real
    # radio's: a real Revision 8 radio needs its maker's files in their place.
    for f in FIT000101.bin aligncfg.bin; do
        if cmp -s "$workdir/$f" "$repo/data/$f"; then
            echo "Warning: $workdir/$f is the virtual radio's; replace it with the radio maker's file before programming a real radio." >&2
        fi
    done
    exec "$repo/build/app/km700rcp" "$@"
fi

profile=${KM_SIM_PROFILE:-$repo/sim/profiles/trunk_job.profile}
sim_args=(--profile "$profile" --workdir "$workdir" --com 1 --log "$workdir/km700sim.log"
          --save "$workdir/radio.mem" --ready-file "$workdir/.km700sim-ready")
[ -f "$workdir/radio.mem" ] && sim_args+=(--load "$workdir/radio.mem")
rm -f "$workdir/.km700sim-ready"
"$repo/build/sim/km700sim" "${sim_args[@]}" &
sim_pid=$!
stop_sim() {
    kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null || true
    rm -f "$workdir/.km700sim-ready"
}
trap stop_sim EXIT
for _ in $(seq 50); do
    [ -f "$workdir/.km700sim-ready" ] && break
    kill -0 "$sim_pid" 2>/dev/null || { echo "km700sim did not start; see km700sim.log" >&2; exit 1; }
    sleep 0.1
done
echo "Virtual radio on $(cat "$workdir/.km700sim-ready") as COM1 (log: $workdir/km700sim.log)"

"$repo/build/app/km700rcp" "$@"
