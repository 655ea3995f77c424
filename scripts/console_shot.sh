#!/bin/sh
# console_shot.sh [DISPLAY]
# Saves a picture of quillmerec's progress line into docs/console-progress.png: a console window
# (wineconsole) on a private virtual display (default :97, refused when it is in use), a folder run over 3 GB of the system's
# own C source typed at its prompt, caught while the run goes on.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
QM_BUILD="$root/build/win"
program="$QM_BUILD/quillmerec.exe"
[ -f "$program" ] || { echo "build first: $program is missing" >&2; exit 1; }
. "$root/scripts/wine_env.sh"
. "$root/scripts/window_shots.sh"
qm_ensure_prefix
display=${1:-:97}
if xdpyinfo -display "$display" >/dev/null 2>&1; then
    echo "display $display is in use: name a free one" >&2
    exit 1
fi
qm_private_display "$display"

projects="$WINEPREFIX/drive_c/Projects"
rm -rf "$projects"
mkdir -p "$projects/sources/lib"
cp "$program" "$projects/"
corpus=$(mktemp)
"$root/bench/real_source_corpus.sh" "$corpus" $((3000 * 1048576)) >/dev/null
split -n 12 -d --additional-suffix=.c "$corpus" "$projects/sources/part"
mv "$projects/sources/part0"[6-9].c "$projects/sources/part1"*.c "$projects/sources/lib/"
rm -f "$corpus"

wine wineconsole cmd.exe /k "cd /d C:\Projects" >/dev/null 2>&1 &
console_pid=$!
window=$(qm_wait_for_window 'C:\\windows\\system32\\cmd.exe') || { echo "no console window" >&2; exit 1; }
sleep 1
xdotool type --window "$window" --delay 20 'quillmerec -r -t 4 --ext=c -o C:\Projects\spaces C:\Projects\sources'
xdotool key --window "$window" Return
# The line appears after a second of the run; the run takes several.
sleep 2.5
qm_capture "$window" "$root/docs/console-progress.png"
# Let the run end, then close the console.
for _ in $(seq 120); do [ -f "$projects/spaces/lib/part11.c" ] && break; sleep 0.5; done
sleep 2
xdotool type --window "$window" 'exit'
xdotool key --window "$window" Return
wait "$console_pid" 2>/dev/null || true
rm -rf "$projects"
