#!/bin/sh
# Installs what building and testing Quillmere needs on Debian 12, skipping what is there.
set -e

# fonts-wine is only recommended by Wine's packages, so an install without recommendations lacks it;
# the windows are designed for its "MS Sans Serif" and drawn with its "Marlett".
packages="cmake make g++ g++-mingw-w64-i686 wine wine32 fonts-wine xvfb x11-utils xdotool imagemagick googletest
libgtest-dev libbenchmark-dev unicode-data nsis zip unzip clang-format clang"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=""
for package in $packages; do
    case $package in wine32) query=wine32:i386 ;; *) query=$package ;; esac
    dpkg-query -W -f='${Status}' "$query" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    missing="$missing wine32"
fi

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
fi
