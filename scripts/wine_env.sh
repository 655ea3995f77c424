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

qm_ensure_display() {
    if [ -n "$DISPLAY" ]; then return 0; fi
    export DISPLAY=:91
    # A server that answers is reused; a socket left behind by one that died is not enough.
    xdpyinfo -display :91 >/dev/null 2>&1 && return 0
    (Xvfb :91 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
    qm_display_answers :91
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
    ) 9>"$QM_BUILD/.wineprefix.lock"
}
