#!/usr/bin/env bash
# Installs the programs into a scratch prefix and uses them from there:
#   - the layout: programs, data, desktop entry, AppStream data, icon, manual pages;
#   - the desktop program started outside any working folder, with a fresh home: it fills the
#     per-user working folder from the installed data and writes nothing where it was started;
#   - the command line reading the job of the installed virtual radio (its shipped profile);
#   - every option and command of the programs' --help is in their manual pages.
#   installed_programs_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
sim_pid=
cleanup() {
    [ -z "$sim_pid" ] || { kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null || true; }
    rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
data=$prefix/share/km700rcp/data
sim_data=$prefix/share/km700sim

for f in bin/km700rcp bin/km700rcp-cli bin/km700sim \
         share/km700rcp/data/default.tct share/km700rcp/data/default.cct \
         share/km700rcp/data/Contact.txt share/km700rcp/data/Licence.txt \
         share/km700rcp/data/Networks/Demo.nwk share/km700rcp/pictures/start.png \
         share/km700rcp/help/index.html share/km700sim/profiles/README \
         share/km700sim/data/FIT000101.bin share/km700sim/data/aligncfg.bin \
         "share/applications/$KM_APP_ID.desktop" "share/metainfo/$KM_APP_ID.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$KM_APP_ID.svg" \
         share/man/man1/km700rcp.1.gz share/man/man1/km700rcp-cli.1.gz \
         share/man/man1/km700sim.1.gz; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
# The virtual radio's own files fill no working folder: they are not among the programmer's data.
radio_files=$(find "$prefix/share/km700rcp" -iname 'FIT000101.bin' -o -iname 'aligncfg.bin' \
    -o -ipath '*Radio_SW/*')
[ -z "$radio_files" ] \
    || fail "the virtual radio's files are among the data a working folder is filled with"

# Every page of the user guide that another links to is there.
for page in "$prefix"/share/km700rcp/help/*.html; do
    for link in $(grep -o 'href="[^":#]*"' "$page" | sed 's/href="\(.*\)"/\1/'); do
        [ -f "$(dirname "$page")/$link" ] || fail "$(basename "$page") links to a missing $link"
    done
done

# The desktop entry starts an installed program and names an installed icon; the AppStream data
# launches that entry.
desktop=$prefix/share/applications/$KM_APP_ID.desktop
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$prefix/bin/$exec_program" ] || fail "Exec=$exec_program is no installed program"
grep -qx "Icon=$KM_APP_ID" "$desktop" || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$KM_APP_ID.desktop</launchable>" \
    "$prefix/share/metainfo/$KM_APP_ID.metainfo.xml" || fail "AppStream data launches no entry"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
    echo "desktop-file-validate not installed: not run"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$KM_APP_ID.metainfo.xml" \
        >"$scratch/appstream.log" || { cat "$scratch/appstream.log"; fail "appstreamcli validate"; }
else
    echo "appstreamcli not installed: not run"
fi

# The desktop program, started as from the menu: in a folder without its files, with a new home.
export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/.local/share
export XDG_CONFIG_HOME=$scratch/home/.config XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$HOME" "$scratch/elsewhere"
mkdir -m 700 "$XDG_RUNTIME_DIR"
work=$XDG_DATA_HOME/km700rcp
# Starts the desktop program, which grabs its window into the file given and ends.
start_desktop() {
    (cd "$scratch/elsewhere" && QT_QPA_PLATFORM=offscreen KM_SCREENSHOT=$1 \
        timeout 60 "$prefix/bin/km700rcp" >"$scratch/desktop.log" 2>&1) \
        || { cat "$scratch/desktop.log"; fail "the desktop program did not run"; }
    [ -s "$1" ] || fail "the desktop program showed no window"
}
start_desktop "$scratch/window.png"
for f in default.tct default.cct Contact.txt Licence.txt Networks/Demo.nwk; do
    cmp -s "$data/$f" "$work/$f" || fail "the per-user working folder did not get $f"
done
for d in Jobs Networks Radio_SW; do
    [ -d "$work/$d" ] || fail "the per-user working folder has no $d folder"
done
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the desktop program wrote where it was started"
# The start picture comes from the installed pictures: without them the window looks otherwise.
mv "$prefix/share/km700rcp/pictures" "$scratch/pictures"
start_desktop "$scratch/no-pictures.png"
mv "$scratch/pictures" "$prefix/share/km700rcp/pictures"
! cmp -s "$scratch/window.png" "$scratch/no-pictures.png" \
    || fail "the desktop program does not show the installed start picture"

# The command line against the installed virtual radio: a Revision 8 mobile holding a trunk job
# with the sample network, which needs the virtual radio's Flash Index Table beside the job.
radio=$scratch/radio
mkdir "$radio"
cp "$sim_data/data/FIT000101.bin" "$radio/"
"$prefix/bin/km700sim" --profile "$sim_data/profiles/trunk_job.profile" --workdir "$radio" \
    --ready-file "$radio/ready" --log "$radio/sim.log" &
sim_pid=$!
for _ in $(seq 100); do
    [ -f "$radio/ready" ] && break
    sleep 0.1
done
if [ ! -f "$radio/ready" ]; then
    cat "$radio/sim.log" >&2 || true
    fail "the virtual radio did not start"
elif ! timeout 120 "$prefix/bin/km700rcp-cli" read --port COM1 --trunk -o "$radio/read.tnk" \
        --workdir "$radio" 2>"$radio/cli.log"; then
    cat "$radio/cli.log" "$radio/sim.log" >&2
    fail "km700rcp-cli read"
else
    # The job read back is the profile's: the radio's band and the sample network in Network 1.
    "$prefix/bin/km700rcp-cli" dump "$radio/read.tnk" >"$radio/read.txt"
    grep -q '^header.band .*TK' "$radio/read.txt" || fail "the job read has not the radio's band"
    grep -qa 'Demonstration network' "$radio/read.tnk" \
        || fail "the job read has not the sample network"
fi

# Every option and command the programs list is in their manual pages.
man_text() { gzip -dc "$prefix/share/man/man1/$1.1.gz" | sed 's/\\-/-/g'; }
check_manual() {
    local page=$1 help=$2
    local text
    text=$(man_text "$page")
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
        grep -qF -- "$option" <<<"$text" || fail "$page(1) does not describe $option"
    done
}
check_manual km700sim "$("$prefix/bin/km700sim" --help)"
cli_help=$("$prefix/bin/km700rcp-cli" --help)
commands=$(sed -n 's/^ *\(Usage:\)\? *km700rcp-cli \([a-z]*\).*/\2/p' <<<"$cli_help" | sort -u)
[ -n "$commands" ] || fail "km700rcp-cli --help lists no command"
for command in $commands; do
    grep -qF "km700rcp-cli $command" <<<"$(man_text km700rcp-cli)" \
        || fail "km700rcp-cli(1) does not describe $command"
    cli_help+=$'\n'$("$prefix/bin/km700rcp-cli" "$command" --help)
done
check_manual km700rcp-cli "$cli_help"

[ "$failures" -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "installed programs: all checks passed"
