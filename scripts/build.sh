#!/bin/sh
# Builds Quillmere: the Windows program with its tests (build/win) and the native core (build/native).
# Options: --asan also builds the native core with address and undefined-behaviour sanitizers.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

configure_and_build() { # folder, cmake options...
    folder=$1
    shift
    if [ ! -f "$folder/CMakeCache.txt" ]; then cmake -S "$root" -B "$folder" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null; fi
    cmake --build "$folder" -j"$jobs"
}

configure_and_build "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake"
configure_and_build "$root/build/native"
if [ "$1" = "--asan" ]; then
    configure_and_build "$root/build/native-asan" -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON
fi
