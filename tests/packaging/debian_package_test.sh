#!/usr/bin/env bash
# Builds the Debian package with cpack and checks it as dpkg and apt see it: its control fields,
# a dependency on the package of every library the programs load, the files it installs (all
# under /usr, the programs stripped, none of the virtual radio's files among the programmer's
# data), and, where apt can tell, that its dependencies can be met on this system.
#   debian_package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log"; exit 1; }
deb=$(echo "$scratch"/*.deb)
[ -f "$deb" ] || { echo "cpack made no .deb" >&2; exit 1; }
dpkg-deb -I "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = km700rcp ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$KM_VERSION-1" ] || fail "Version is $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong Architecture"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
depends_on() { grep -qx "$1" <<<"$depends"; }
depends_on qt6-qpa-plugins || fail "no dependency on the platform plugins (qt6-qpa-plugins)"

# The package that holds a file, tried by the path given, the real one and, on merged-/usr
# systems, the path dpkg knows it by.
owner() {
    local path package
    for path in "$1" "$(readlink -f "$1")"; do
        for path in "$path" "${path#/usr}"; do
            package=$(dpkg -S "$path" 2>/dev/null | head -1 | sed 's/[:,].*//') || true
            [ -z "$package" ] || { echo "$package"; return; }
        done
    done
}

# Every library a program loads by name comes from a package the .deb depends on.
dpkg-deb -x "$deb" "$scratch/root"
for program in km700rcp km700rcp-cli km700sim; do
    binary=$scratch/root/usr/bin/$program
    [ -x "$binary" ] || { fail "/usr/bin/$program is not in the package"; continue; }
    if readelf -S "$binary" | grep -c '\.debug_info' >/dev/null; then
        fail "$program is not stripped"
    fi
    for soname in $(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        library=$(ldd "$binary" | awk -v so="$soname" '$1 == so { print $3 }')
        [ -n "$library" ] || { fail "$program needs $soname, which is not found here"; continue; }
        package=$(owner "$library")
        [ -n "$package" ] || { fail "no package holds $library"; continue; }
        depends_on "$package" || fail "$program needs $soname of $package, which is no dependency"
    done
done

# What the package installs.
dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./|/|' >"$scratch/contents"
id=$KM_APP_ID
for f in /usr/bin/km700rcp /usr/bin/km700rcp-cli /usr/bin/km700sim \
         /usr/share/km700rcp/data/default.tct /usr/share/km700rcp/data/default.cct \
         /usr/share/km700rcp/data/Networks/Demo.nwk /usr/share/km700rcp/help/index.html \
         /usr/share/km700rcp/pictures/start.png /usr/share/km700sim/profiles/trunk_job.profile \
         "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
         "/usr/share/icons/hicolor/scalable/apps/$id.svg" /usr/share/man/man1/km700rcp.1.gz \
         /usr/share/man/man1/km700rcp-cli.1.gz /usr/share/man/man1/km700sim.1.gz; do
    grep -qx "$f" "$scratch/contents" || fail "the package does not install $f"
done
outside=$(grep -v '^/usr/' "$scratch/contents" || true)
[ -z "$outside" ] || fail "the package installs outside /usr: $outside"
if grep -i '^/usr/share/km700rcp/.*\(fit000101\.bin\|aligncfg\.bin\|radio_sw/.\)' \
        "$scratch/contents"; then
    fail "the virtual radio's files are among the data a working folder is filled with"
fi

# apt resolves the package's dependencies against this system's packages and its lists.
if command -v apt-get >/dev/null; then
    apt-get install --simulate --no-install-recommends "$deb" >"$scratch/apt.log" 2>&1 \
        || { cat "$scratch/apt.log"; fail "apt cannot meet the dependencies"; }
fi

[ "$failures" -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "Debian package: all checks passed"
