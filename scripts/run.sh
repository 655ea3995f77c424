#!/bin/sh
# Sets up, builds the two programs (not the tests: scripts/test.sh builds those) and starts Quillmere
# under Wine. Without a display it starts Quillmere on a virtual one, saves a screenshot of the main
# window in the build folder, and closes it.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --programs

QM_BUILD="$root/build/win"
. "$root/scripts/wine_env.sh"
qm_ensure_prefix
if [ -n "$DISPLAY" ]; then
    exec wine "$QM_BUILD/quillmere.exe"
fi
. "$root/scripts/window_shots.sh"
qm_private_display
wine "$QM_BUILD/quillmere.exe" >/dev/null 2>&1 &
main=$(qm_wait_for_window Quillmere) || { echo "the main window did not appear" >&2; exit 1; }
sleep 1
qm_capture "$main" "$root/build/quillmere-main.png" >/dev/null
xdotool key --window "$main" Escape || true
qm_end_private_display
trap - EXIT
echo "No display here: Quillmere ran on a virtual display; its main window is in build/quillmere-main.png"
