#!/bin/sh
# screenshot.sh PROGRAM WINDOW_TITLE OUTPUT.png [xdotool key ...]
# Starts PROGRAM under Wine on a private virtual display, waits for the window, optionally sends
# keys, saves the window as a PNG and ends the program.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
program=$1 title=$2 output=$3
shift 3
QM_BUILD=$(cd "$(dirname "$program")" && pwd)
[ -f "$QM_BUILD/CMakeCache.txt" ] || QM_BUILD="$root/build/win"
. "$root/scripts/wine_env.sh"
qm_ensure_prefix

display=:93
Xvfb $display -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
qm_display_answers $display
export DISPLAY=$display

wine "$program" >/dev/null 2>&1 &
wine_pid=$!
window=""
for _ in $(seq 150); do
    window=$(xdotool search --name "^$title\$" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "no window titled $title appeared" >&2; exit 1; }
sleep 1
for key in "$@"; do xdotool key --window "$window" "$key"; sleep 1; done
xdotool mousemove 1020 760 # no tooltip in the picture
sleep 1
import -window root -crop "$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')+$(xdotool getwindowgeometry "$window" | awk -F'[ ,]+' '/Position/ {print $3"+"$4}')" "$output"
xdotool key --window "$window" Escape || true
sleep 1
kill $wine_pid 2>/dev/null || true
wineserver -k 2>/dev/null || true
