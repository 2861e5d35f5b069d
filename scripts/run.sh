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
#
# It says in a few lines what it does; what the installing and building print goes to
# build/run.log, which a failure names together with its last lines.
set -euo pipefail
# A profile named relative to where the script was started.
if [ -n "${KM_SIM_PROFILE:-}" ]; then
    KM_SIM_PROFILE=$(realpath -- "$KM_SIM_PROFILE")
fi
cd "$(dirname "$0")/.."
repo=$PWD
mkdir -p build
log=$repo/build/run.log
: >"$log"

say() { echo "==> $*"; }
# Runs a step with its output in the log; a failure names the log and shows its end.
quietly() {
    local what=$1
    shift
    if ! "$@" >>"$log" 2>&1; then
        echo "$what failed. The whole log is in $log; its last lines:" >&2
        tail -n 25 "$log" >&2
        exit 1
    fi
}

use_sim=${KM_SIM:-1}
targets=(km700rcp)
[ "$use_sim" = 0 ] || targets+=(km700sim)

say "Installing the Debian packages that are missing (may ask for your password)"
quietly "Installing" scripts/install-deps.sh
say "Building ${targets[*]} (several minutes the first time; log: $log)"
quietly "Configuring the build" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
quietly "Building" cmake --build build -j"$(nproc)" --target "${targets[@]}"

workdir=${KM_WORKDIR:-$PWD/demo}
if [ "$use_sim" = 0 ]; then
    say "Preparing the working folder $workdir"
    scripts/seed-workdir.sh "$workdir"
    # A folder seeded for the virtual radio earlier still holds its files; the program refuses to
    # write them into a real radio, and says so.
    (cd sim/data && find . -type f) | while read -r f; do
        if cmp -s "$workdir/$f" "sim/data/$f"; then
            echo "Note: $workdir/${f#./} is the virtual radio's; put the radio maker's file in" \
                "its place." >&2
        fi
    done
    cd "$workdir"
    say "Starting the desktop program (choose the radio's port in Options > COM Port)"
    exec "$repo/build/app/km700rcp" "$@"
fi

say "Preparing the working folder $workdir"
scripts/seed-workdir.sh "$workdir" --virtual-radio
cd "$workdir"

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
    kill -0 "$sim_pid" 2>/dev/null || { echo "km700sim did not start; see $workdir/km700sim.log" >&2; exit 1; }
    sleep 0.1
done
say "Virtual radio ($(basename "$profile" .profile)) on COM1 = $(cat "$workdir/.km700sim-ready") (log: $workdir/km700sim.log)"
say "Starting the desktop program: try File > Read Radio, then Options > Radio Information"

"$repo/build/app/km700rcp" "$@"
