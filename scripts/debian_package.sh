#!/bin/sh
# Makes the Debian package of the console program for this machine's architecture:
#   dist/quillmerec_VERSION_ARCH.deb with /usr/bin/quillmerec, its manual page (written from its own
#   --help) and its copyright notice.
# The same sources give the same bytes: every time in the package is SOURCE_DATE_EPOCH (by default the
# time of the last commit). Options: --build FOLDER (the native build, default build/native),
# --out FOLDER (default dist).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/native
out=$root/dist
while [ $# -gt 0 ]; do
    case $1 in
    --build) build=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "debian_package.sh: unknown option $1" >&2; exit 64 ;;
    esac
done

# A package holds the optimised program, whatever the build folder was made for before.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quillmerec -j"$(nproc 2>/dev/null || echo 2)" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
if [ -z "$SOURCE_DATE_EPOCH" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
package=$stage/quillmerec
mkdir -p "$package/DEBIAN" "$package/usr/bin" "$package/usr/share/man/man1" "$package/usr/share/doc/quillmerec"
install -m 755 -s "$build/quillmerec" "$package/usr/bin/quillmerec"
python3 "$root/scripts/man_page.py" "$package/usr/bin/quillmerec" | gzip -9n >"$package/usr/share/man/man1/quillmerec.1.gz"
install -m 644 "$root/installer/copyright" "$package/usr/share/doc/quillmerec/copyright"

# The newest C library version the program's symbols ask for is the least it depends on.
glibc=$(objdump -T "$package/usr/bin/quillmerec" | sed -n 's/.*GLIBC_\([0-9][0-9.]*\).*/\1/p' | sort -V | tail -n 1)
size=$(du -sk "$package/usr" | cut -f1)
cat >"$package/DEBIAN/control" <<CONTROL
Package: quillmerec
Version: $version
Architecture: $arch
Maintainer: Hollowcrest <quillmere@example.org>
Installed-Size: $size
Depends: libc6 (>= $glibc)
Section: text
Priority: optional
Homepage: https://www.example.org/hollowcrest/
Description: replace the tabs of text files with spaces
 quillmerec replaces the tabs of text files with spaces, as GNU expand does, and
 also counts the columns of UTF-8 and UTF-16 text as an editor shows them,
 converts whole folders, replaces files in place (whole or not at all) and
 lists the files that hold tabs (--check), for scripts and commit hooks.
CONTROL
find "$package" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

mkdir -p "$out"
deb=$out/quillmerec_${version}_$arch.deb
dpkg-deb --root-owner-group -Zxz --build "$package" "$deb" >/dev/null
echo "$deb"
