#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, when any is missing.
# `install-deps.sh windows` adds the MinGW-w64 cross compiler, Wine and GoogleTest's sources,
# for the Windows build and its tests under Wine; `install-deps.sh accessibility` an X server, a
# window manager and the accessibility bus with its Python client, for the screen reader bench.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-serialport-dev
    libgtest-dev libgmock-dev
    binutils srecord imagemagick libgif-dev giflib-tools
    fonts-liberation
    clang libclang-rt-dev
)

if [ "${1:-}" = windows ]; then
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 googletest)
fi
if [ "${1:-}" = accessibility ]; then
    packages+=(xvfb openbox dbus-x11 at-spi2-core python3-dogtail)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
