#!/usr/bin/env bash
# Installs the Debian packages the build needs. As root it installs what is missing;
# otherwise it prints the one apt-get line to run.
set -eu
packages=(cmake make g++ qt6-base-dev qt6-multimedia-dev libgtest-dev libgmock-dev libbenchmark-dev crudini
          desktop-file-utils appstream man-db dpkg-dev file lintian pulseaudio pulseaudio-utils libminiupnpc-dev libnatpmp-dev miniupnpd nftables libavahi-client-dev avahi-daemon dbus iproute2 libcanberra-dev sound-theme-freedesktop)
# `make fuzz` also needs clang and its fuzzer runtime.
if [ "${1:-}" = fuzz ]; then packages+=(clang libclang-rt-14-dev); fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
else
    echo "Missing packages. Run as root:"
    echo "  apt-get install -y ${missing[*]}"
    exit 1
fi
