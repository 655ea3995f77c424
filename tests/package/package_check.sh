#!/bin/sh
# The package tests, run by ctest in two steps:
#   package_check.sh reproducible SOURCE BUILD WORK
#       packages twice, relinking the program between, and compares the checksums and the zip
#   package_check.sh wine SOURCE BUILD WORK TEST_PROGRAM
#       boots a fresh Wine prefix, unpacks the zip into a folder with blanks, runs the tests there
set -e
step=$1 root=$2 build=$3 work=$4
# An even second: a zip keeps times to two seconds. 2023-11-14 22:13:20 UTC.
epoch=1700000000

case $step in
reproducible)
    rm -rf "$work/first" "$work/second"
    SOURCE_DATE_EPOCH=$epoch "$root/scripts/package.sh" --build "$build" --out "$work/first" >/dev/null
    # A new link of the program and a new installer, at least a second later.
    rm -f "$build/quillmere.exe" "$build/quillmerec.exe"
    sleep 1
    SOURCE_DATE_EPOCH=$epoch "$root/scripts/package.sh" --build "$build" --out "$work/second" >/dev/null
    cd "$work/second"
    sha256sum -c SHA256SUMS
    if ! cmp "$work/first/SHA256SUMS" SHA256SUMS; then
        echo "Two packagings of the same sources differ:"
        cat "$work/first/SHA256SUMS" SHA256SUMS
        exit 1
    fi
    listing=$(unzip -Z -T quillmere-*-win32.zip | grep -v '^Archive\|^Zip file\|files,' | awk '{print $7, $8, $1}')
    expected="20231114.221320 quillmere.exe -rw-r--r--
20231114.221320 quillmerec.exe -rw-r--r--
20231114.221320 readme.txt -rw-r--r--"
    if [ "$listing" != "$expected" ]; then
        printf 'The zip holds:\n%s\ninstead of:\n%s\n' "$listing" "$expected"
        exit 1
    fi
    ;;
wine)
    QM_BUILD=$work
    . "$root/scripts/wine_env.sh"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    qm_ensure_display
    qm_ensure_prefix
    trap 'wineserver -k 2>/dev/null || true' EXIT
    unzip -q "$work/first"/quillmere-*-win32.zip -d "$WINEPREFIX/drive_c/Portable Quill Mere"
    QM_PACKAGE_DIR="Z:$(printf '%s' "$work/first" | tr / '\\')"
    export QM_PACKAGE_DIR
    "$root/scripts/wine_exec.sh" "$work" "$5"
    ;;
*)
    echo "package_check.sh: unknown step $step" >&2
    exit 64
    ;;
esac
