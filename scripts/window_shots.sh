# Sourced by the scripts that take pictures of Quillmere: a private virtual display, waiting for a
# window by its title, and saving a window as a PNG. Needs wine_env.sh sourced first.

# A virtual display of this script's own: the one named (e.g. :94), or else the first free one, which
# the server picks and reports. qm_end_private_display gives the programs on it 30 s to end, ends
# the Wine server when they do not, and then ends the display.
qm_private_display() { # [display]
    if [ -n "$1" ]; then
        Xvfb "$1" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        qm_xvfb=$!
        export DISPLAY=$1
    else
        number=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
        qm_xvfb=$!
        for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
        export DISPLAY=:$(head -1 "$number")
        rm -f "$number"
    fi
    trap qm_end_private_display EXIT
    qm_display_answers "$DISPLAY"
}

qm_end_private_display() {
    timeout 30 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
    kill "$qm_xvfb" 2>/dev/null || true
    wait "$qm_xvfb" 2>/dev/null || true
}

qm_wait_for_window() { # title -> X window id on stdout
    for _ in $(seq 150); do
        found=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) && [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.2
    done
    return 1
}

qm_capture() { # X window id, output file
    xdotool mousemove 1020 760 # no tooltip in the picture
    sleep 1
    geometry=$(xdotool getwindowgeometry "$1")
    size=$(echo "$geometry" | awk '/Geometry/ {print $2}')
    place=$(echo "$geometry" | awk -F'[ ,]+' '/Position/ {print $3"+"$4}')
    import -window root -crop "$size+$place" +repage "$2"
    echo "saved $2"
}
