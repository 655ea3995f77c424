#!/bin/sh
# Builds Quillmere: the Windows program with its tests (build/win) and the native core and POSIX layer
# (build/native). Options: --asan also builds the native ones with address and undefined-behaviour
# sanitizers; --clang also builds them and their tests with clang (build/native-clang); --programs
# builds only the two programs of the Windows tree (quillmere.exe and quillmerec.exe), nothing else.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

configure_and_build() { # folder, cmake options...
    folder=$1
    shift
    if [ ! -f "$folder/CMakeCache.txt" ]; then cmake -S "$root" -B "$folder" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null; fi
    cmake --build "$folder" -j"$jobs" $targets
}
targets=""

win_toolchain=-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake"
# Starting the program needs neither the tests nor the benchmarks, which take most of a first build.
if [ "$1" = "--programs" ]; then
    targets="--target quillmere quillmerec"
    configure_and_build "$root/build/win" "$win_toolchain"
    exit 0
fi
configure_and_build "$root/build/win" "$win_toolchain"
configure_and_build "$root/build/native"
for option in "$@"; do
    case $option in
    --asan) configure_and_build "$root/build/native-asan" -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON ;;
    --clang)
        # The core, the jobs, the POSIX layer and the console program are kept portable to a second
        # compiler: their tests only, no benchmarks.
        targets="--target quillmere_native_tests quillmere_native_tests_portable quillmere_posix_tests quillmere_jobs_native_tests quillmerec quillmere_console_native_tests"
        configure_and_build "$root/build/native-clang" -DCMAKE_CXX_COMPILER=clang++
        targets=""
        ;;
    esac
done
