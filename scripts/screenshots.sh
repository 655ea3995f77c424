#!/bin/sh
# screenshots.sh [DISPLAY]
# Saves pictures of Quillmere's windows into docs/: the main window (main-window.png), the About
# window (about.png), the failed-files window after a run over a file that is not plain text
# (failed-files.png), the main window in a high-contrast black scheme (main-window-high-contrast.png)
# and at 144 DPI (main-window-144dpi.png). Runs the program under Wine on a private virtual display (a
# free one unless named).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
QM_BUILD="$root/build/win"
program="$QM_BUILD/quillmere.exe"
[ -f "$program" ] || { echo "build first: $program is missing" >&2; exit 1; }
. "$root/scripts/wine_env.sh"
. "$root/scripts/window_shots.sh"
qm_ensure_prefix
qm_private_display "$1"
# Ended from outside (a timeout, Ctrl+C), it still runs its exit trap: the screen scale goes back.
trap 'exit 130' INT
trap 'exit 143' TERM

settings='HKCU\Software\Hollowcrest\Quillmere'
shots="$WINEPREFIX/drive_c/quillmere-shots"

forget_settings() { wine reg delete "$settings" /f >/dev/null 2>&1 || true; }
setting() { wine reg add "$settings" /v "$1" /d "$2" /f >/dev/null 2>&1; }

start_program() {
    wine "$program" >/dev/null 2>&1 &
    wine_pid=$!
    main=$(qm_wait_for_window Quillmere) || { echo "the main window did not appear" >&2; exit 1; }
    sleep 1
}

end_program() {
    xdotool key --window "$main" Escape 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$wine_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$wine_pid" 2>/dev/null || true
    wait "$wine_pid" 2>/dev/null || true
}

# The main window as a first start shows it.
forget_settings
start_program
qm_capture "$main" "$root/docs/main-window.png"

# About: Tab from the run button reaches About; Space presses it.
xdotool key --window "$main" Tab space
about=$(qm_wait_for_window About) || { echo "the About window did not appear" >&2; exit 1; }
sleep 1
qm_capture "$about" "$root/docs/about.png"
xdotool key --window "$about" Escape 2>/dev/null || true
sleep 0.5
end_program

# Failed files: a single-file run over a source whose text ends early at a 0x1A byte.
rm -rf "$shots"
mkdir -p "$shots"
printf 'first line\r\n\032second line\r\n' >"$shots/not plain text.txt"
forget_settings
setting Startup True
setting OperationClip False
setting OperationSingle True
setting SourceS 'c:\quillmere-shots\not plain text.txt'
setting DestinationS 'c:\quillmere-shots\converted.txt'
start_program
xdotool key --window "$main" space
if failed=$(qm_wait_for_window 'Unable to convert:'); then
    sleep 1
    qm_capture "$failed" "$root/docs/failed-files.png"
    xdotool key --window "$failed" Escape || true
    sleep 0.5
else
    echo "no failed-files window appeared; docs/failed-files.png left as it was" >&2
fi
end_program
forget_settings
rm -rf "$shots"

# The main window in a high-contrast black scheme: Wine reads the system colours from the registry when
# a program starts (a change while it runs reaches only the process that made it). The colours the
# prefix had come back afterwards.
colours='HKCU\Control Panel\Colors'
saved_colours=$(mktemp)
wine reg export "$colours" "$(winepath -w "$saved_colours")" /y >/dev/null 2>&1 || true
high_contrast_black() {
    for pair in 'Window=0 0 0' 'WindowText=255 255 255' 'ButtonFace=0 0 0' 'ButtonText=255 255 255' \
        'Hilight=26 235 255' 'HilightText=0 0 0' 'HotTrackingColor=255 255 0' 'GrayText=63 242 63' \
        'Menu=0 0 0' 'MenuBar=0 0 0' 'MenuText=255 255 255' 'MenuHilight=26 235 255' \
        'InfoWindow=0 0 0' 'InfoText=255 255 255' \
        'ButtonShadow=128 128 128' 'ButtonHilight=255 255 255' 'ButtonLight=255 255 255' \
        'ButtonDkShadow=255 255 255' 'ActiveTitle=0 0 0' 'GradientActiveTitle=0 0 0' \
        'TitleText=255 255 255' 'ActiveBorder=0 0 0' 'WindowFrame=255 255 255' 'Background=0 0 0'; do
        wine reg add "$colours" /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1
    done
    wineserver -w
}
restore_colours() {
    wine reg delete "$colours" /f >/dev/null 2>&1 || true
    [ -s "$saved_colours" ] && wine reg import "$(winepath -w "$saved_colours")" >/dev/null 2>&1
    rm -f "$saved_colours"
    wineserver -w
}
trap 'restore_colours; qm_end_private_display' EXIT
high_contrast_black
start_program
qm_capture "$main" "$root/docs/main-window-high-contrast.png"
end_program
forget_settings
restore_colours
trap qm_end_private_display EXIT

# The main window at 150 % (144 DPI): the screen scale Wine takes from LogPixels at start.
scale() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; wineserver -w; }
trap 'scale 96; qm_end_private_display' EXIT
scale 144
start_program
qm_capture "$main" "$root/docs/main-window-144dpi.png"
end_program
scale 96
trap qm_end_private_display EXIT
forget_settings
