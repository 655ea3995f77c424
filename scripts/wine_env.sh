# Sourced by the scripts: the Wine settings every run uses, a display, and the build's prefix.
# Needs QM_BUILD to name the build folder that holds the prefix.

export WINEPREFIX="$QM_BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# A pinned locale keeps the ANSI code page and the date format the same on every machine.
export LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=UTC

# Waits until the X server of a display answers (up to 10 s); false when it does not.
qm_display_answers() {
    for _ in $(seq 100); do
        xdpyinfo -display "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Without a display, uses the virtual display :91, starting it when none answers there. The process
# id of a display started here is left in qm_started_display, so the caller can end it.
qm_started_display=""
qm_ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    export DISPLAY=:91
    # A server that answers is reused; a socket left behind by one that died is not enough.
    xdpyinfo -display :91 >/dev/null 2>&1 && return 0
    Xvfb :91 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    qm_started_display=$!
    qm_display_answers :91
}

# Wine's own fonts ("MS Sans Serif", "Marlett", "Tahoma", "System", the bitmap fonts) come with
# fonts-wine in /usr/share/wine/fonts. Debian's Wine looks for them in its data folder's "../fonts"
# (/usr/share/fonts), where they are not, and wineboot copies none into a new prefix, so GDI finds
# none of them and draws every window with a substitute. Wine also reads C:\windows\Fonts at every
# start: the fonts go there.
qm_wine_fonts=${QM_WINE_FONTS:-/usr/share/wine/fonts}
qm_install_wine_fonts() {
    target="$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$target/marlett.ttf" ] && [ -f "$target/ms_sans_serif.ttf" ] && return 0
    if [ ! -f "$qm_wine_fonts/marlett.ttf" ]; then
        echo "wine_env.sh: Wine's fonts are not in $qm_wine_fonts (scripts/setup.sh installs fonts-wine)" >&2
        return 1
    fi
    mkdir -p "$target"
    cp -f "$qm_wine_fonts"/*.ttf "$qm_wine_fonts"/*.fon "$target/"
}

qm_ensure_prefix() {
    mkdir -p "$QM_BUILD"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.quillmere-ready-2" ]; then
            wineboot -i >/dev/null 2>&1 || true
            timeout 120 wineserver -w || true
            # Without a window manager Wine stalls whenever a managed window closes.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
            # A crashing test ends at once instead of waiting in the debugger.
            wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
                >/dev/null 2>&1
            timeout 120 wineserver -w || true
            touch "$WINEPREFIX/.quillmere-ready-2"
        fi
        qm_install_wine_fonts
    ) 9>"$QM_BUILD/.wineprefix.lock"
}
