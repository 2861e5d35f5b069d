#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping what is already there.
# Runs apt-get as root, through sudo for a normal user.
set -euo pipefail

packages=(cmake g++ make clang clang-format libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-serialport-dev libgl-dev xvfb xauth fonts-liberation
          dpkg-dev file desktop-file-utils appstream)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
