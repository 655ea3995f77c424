# Sourced by the scripts that take pictures of Quillmere: a private virtual display, waiting for a
# window by its title, and saving a window as a PNG. Needs wine_env.sh sourced first.

qm_private_display() { # display, e.g. :94
    Xvfb "$1" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    qm_xvfb=$!
    trap 'kill $qm_xvfb 2>/dev/null || true' EXIT
    qm_display_answers "$1"
    export DISPLAY=$1
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
