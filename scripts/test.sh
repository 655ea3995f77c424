#!/bin/sh
# Sets up, checks the formatting, builds and runs every test of Quillmere through ctest: the native
# core (plain, with sanitizers and built by clang), the Windows tests under Wine, the end-to-end
# scenarios, the console program and the packages.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/format.sh" --check
"$root/scripts/build.sh" --asan --clang

QM_BUILD="$root/build/win"
. "$root/scripts/wine_env.sh"
# What this run starts, it ends: its Wine server first (Wine's programs hold the display), then its
# virtual display. A server or display that was running before is reused and left running.
started_server=""
end_what_was_started() {
    if [ -n "$started_server" ]; then
        wineserver -k 2>/dev/null || true
        timeout 30 wineserver -w 2>/dev/null || true
    fi
    if [ -n "$qm_started_display" ]; then
        kill "$qm_started_display" 2>/dev/null || true
        wait "$qm_started_display" 2>/dev/null || true
    fi
}
trap end_what_was_started EXIT
trap 'exit 130' INT TERM
qm_ensure_display
qm_ensure_prefix
# One server for the whole run, so each test does not boot one anew; it answers 2 when one runs.
if wineserver -p 2>/dev/null; then started_server=yes; fi

# One ctest run over every layer, so the run ends with one count.
cat >"$root/build/CTestTestfile.cmake" <<CTEST
subdirs("native" "native-asan" "native-clang" "win")
CTEST
ctest --test-dir "$root/build" --output-on-failure "$@"
