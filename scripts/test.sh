#!/bin/sh
# Sets up, checks the formatting, builds and runs every test of Quillmere through ctest: the native
# core (plain, with sanitizers and built by clang), the Windows tests under Wine, the end-to-end scenarios and the
# packages.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/format.sh" --check
"$root/scripts/build.sh" --asan --clang

QM_BUILD="$root/build/win"
. "$root/scripts/wine_env.sh"
qm_ensure_display
qm_ensure_prefix
wineserver -p || true # one server for the whole run; one left running by an earlier run is reused
trap 'wineserver -k 2>/dev/null || true' EXIT

# One ctest run over every layer, so the run ends with one count.
cat >"$root/build/CTestTestfile.cmake" <<CTEST
subdirs("native" "native-asan" "native-clang" "win")
CTEST
ctest --test-dir "$root/build" --output-on-failure "$@"
