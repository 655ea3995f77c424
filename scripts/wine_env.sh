# Sourced by the scripts: the Wine settings every run uses, a display, and the build's prefix.
# Needs QM_BUILD to name the build folder that holds the prefix.

export WINEPREFIX="$QM_BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# A pinned locale keeps the ANSI code page and the date format the same on every machine.
export LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=UTC

qm_ensure_display() {
    if [ -n "$DISPLAY" ]; then return 0; fi
    export DISPLAY=:91
    if [ ! -e /tmp/.X11-unix/X91 ]; then
        (Xvfb :91 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
        for _ in $(seq 100); do [ -e /tmp/.X11-unix/X91 ] && break; sleep 0.1; done
    fi
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
