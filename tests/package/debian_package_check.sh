#!/bin/sh
# The console program's Debian package, made twice from the native build and compared, then installed
# with dpkg into a scratch root, run from there (its version, a file converted, its manual page) and
# removed again.
#   debian_package_check.sh SOURCE_DIR NATIVE_BUILD WORK_DIR
set -eu
source_dir=$1 build=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$("$source_dir/scripts/debian_package.sh" --build "$build" --out "$work/first")
again=$("$source_dir/scripts/debian_package.sh" --build "$build" --out "$work/second")
cmp -s "$deb" "$again" || fail "two packages of the same sources differ"
dpkg-deb --field "$deb" Package | grep -qx quillmerec || fail "the package is not named quillmerec"
dpkg-deb --contents "$deb" | grep -q ' ./usr/bin/quillmerec$' || fail "no /usr/bin/quillmerec"

# A root of its own: dpkg's database made empty, the C library taken as the machine's.
scratch=$work/root
mkdir -p "$scratch/var/lib/dpkg/info" "$scratch/var/lib/dpkg/updates"
: >"$scratch/var/lib/dpkg/status"
: >"$scratch/var/lib/dpkg/available"
dpkg --root="$scratch" --log=/dev/null --force-not-root --force-depends --force-script-chrootless -i "$deb" \
    >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg could not install the package"; }

program=$scratch/usr/bin/quillmerec
[ -x "$program" ] || fail "the installed program is not executable"
version=$("$program" --version)
case $version in "quillmerec (Quillmere) "[0-9]*.[0-9]*.[0-9]*) ;; *) fail "--version said: $version" ;; esac

printf 'a\tb\r\n\tcaf\303\251\tx\n' >"$work/in.txt"
"$program" -t 4 -o "$work/out.txt" "$work/in.txt"
printf 'a   b\r\n    caf\303\251    x\n' >"$work/expected.txt"
cmp -s "$work/out.txt" "$work/expected.txt" || fail "the installed program converted otherwise: $(od -c "$work/out.txt")"

page=$scratch/usr/share/man/man1/quillmerec.1.gz
zcat "$page" | grep -q '^\.SH OPTIONS' || fail "the manual page has no OPTIONS"
zcat "$page" | grep -q 'in\\-place' || fail "the manual page does not name --in-place"
[ -s "$scratch/usr/share/doc/quillmerec/copyright" ] || fail "no copyright file"

dpkg --root="$scratch" --log=/dev/null --force-not-root --force-script-chrootless --remove quillmerec \
    >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg could not remove the package"; }
[ ! -e "$program" ] || fail "the program stayed after removal"
echo "installed, ran and removed $(basename "$deb")"
