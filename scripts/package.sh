#!/bin/sh
# Makes the Windows installer and the portable zip of Quillmere, and the Debian package of the native
# console program (debian_package.sh), with their SHA256SUMS:
#   dist/quillmere-VERSION-setup.exe, dist/quillmere-VERSION-win32.zip,
#   dist/quillmerec_VERSION_ARCH.deb, dist/SHA256SUMS
# The same sources give the same bytes: every time stored in the packages is SOURCE_DATE_EPOCH (by
# default the time of the last commit), and the program's PE header carries no link time.
# Options: --build FOLDER (the Windows build, default build/win), --native FOLDER (the native build,
# default build/native), --out FOLDER (default dist).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win
native=$root/build/native
out=$root/dist
while [ $# -gt 0 ]; do
    case $1 in
    --build) build=$2; shift 2 ;;
    --native) native=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "package.sh: unknown option $1" >&2; exit 64 ;;
    esac
done

command -v makensis >/dev/null || "$root/scripts/setup.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" >/dev/null
fi
cmake --build "$build" --target quillmere quillmerec -j"$(nproc 2>/dev/null || echo 2)" >/dev/null

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
case $version in
[0-9]*.[0-9]*.[0-9]*) ;;
*) echo "package.sh: no version in $build/CMakeCache.txt" >&2; exit 1 ;;
esac

if [ -z "$SOURCE_DATE_EPOCH" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
# A zip cannot hold a time before 1980.
[ "$SOURCE_DATE_EPOCH" -ge 315532800 ] || SOURCE_DATE_EPOCH=315532800
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The readme as configured from the sources (the copy beside the program is refreshed only by a link).
cp "$build/quillmere.exe" "$build/quillmerec.exe" "$build/generated/readme.txt" "$stage/"
chmod 644 "$stage/quillmere.exe" "$stage/quillmerec.exe" "$stage/readme.txt"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/quillmere.exe" "$stage/quillmerec.exe" "$stage/readme.txt"

mkdir -p "$out"
setup=quillmere-$version-setup.exe
zip=quillmere-$version-win32.zip
rm -f "$out/$setup" "$out/$zip" "$out/SHA256SUMS"

# -X: no extra fields (owner, Unix times); -D: no folder entries; the names in a fixed order.
(cd "$stage" && zip -q -X -D "$out/$zip" quillmere.exe quillmerec.exe readme.txt)

makensis -V2 -INPUTCHARSET UTF8 -DQM_VERSION="$version" -DQM_STAGE="$stage" \
    -DQM_ICON="$root/src/app/resources/quillmere.ico" -DQM_OUTFILE="$out/$setup" \
    "$root/installer/quillmere.nsi" >"$stage/makensis.log" 2>&1 || {
    cat "$stage/makensis.log" >&2
    exit 1
}

deb=$("$root/scripts/debian_package.sh" --build "$native" --out "$out")
(cd "$out" && sha256sum "$setup" "$zip" "$(basename "$deb")" >SHA256SUMS)
echo "Packaged Quillmere $version into $out:"
cat "$out/SHA256SUMS"
