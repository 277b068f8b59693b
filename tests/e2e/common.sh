# shellcheck shell=bash disable=SC2154
# Sourced by the end-to-end tests: an X server of the test's own, waits that give up, windows
# found by their titles, screenshots, the test picture. The sourcing script sets `output` (its artefact folder)
# and may set `running` (the program it started); both processes end with the script.

timeout=${TREVANO_E2E_TIMEOUT:-15} # seconds any one thing may take to happen
xvfb=
running=
shots=0

fail() {
    echo "FAILED: $*" >&2
    screenshot failure || true
    exit 1
}

cleanup() {
    # A process that has already ended is no reason to leave the other running.
    if [[ -n "$running" ]]; then
        kill "$running" 2>/dev/null || true
    fi
    if [[ -n "$xvfb" ]]; then
        kill "$xvfb" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# Runs the command until it succeeds; fails the test when that takes longer than the timeout.
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + timeout))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || fail "$what did not happen within $timeout s"
        sleep 0.1
    done
}

screenshot() {
    [[ -n "$xvfb" ]] || return 0
    shots=$((shots + 1))
    mkdir -p "$output/screenshots"
    import -window root "$output/screenshots/$(printf %02d "$shots")-$1.png"
}

# On the first free display, so that tests and people running at the same time do not meet.
# Without -noreset the server resets when its last client goes, and a program started at that
# moment cannot connect.
start_x_server() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$output/display" \
        >"$output/xvfb.log" 2>&1 &
    xvfb=$!
    wait_for "the X server's start" grep -q '^[0-9]' "$output/display"
    DISPLAY=":$(head -n 1 "$output/display")"
    export DISPLAY
    export QT_QPA_PLATFORM=xcb
}

# A window title as an exact pattern for xdotool.
title_pattern() {
    printf '^%s$' "$(printf '%s' "$1" | sed 's/[][\.*^$+?(){}|]/\\&/g')"
}

visible_window() {
    xdotool search --onlyvisible --name "$(title_pattern "$1")" | head -n 1 | grep .
}

window_of() {
    wait_for "a window titled '$1'" visible_window "$1"
    visible_window "$1"
}

no_window() {
    ! visible_window "$1"
}

click() {
    xdotool mousemove --sync --window "$1" "$2" "$3" click 1
}

# Types a full file name into a file dialog's name field (focused when it opens) and accepts.
answer_file_dialog() {
    local dialog
    dialog=$(window_of "$1")
    xdotool windowfocus --sync "$dialog"
    xdotool key ctrl+a
    xdotool type --delay 2 "$2"
    screenshot "$3"
    xdotool key Return
    wait_for "the dialog '$1' to close" no_window "$1"
}

# The size readout of the new JPEG, yellow on black, is shown at the very end of a load; that
# place is empty until then.
load_finished() {
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^[XY]=')"
    [[ "$(import -window root -crop "60x16+$((X + 528))+$((Y + 545))" +repage png:- |
        convert - -format '%[fx:minima]' info:)" == 0 ]]
}

program_ended() {
    ! kill -0 "$running" 2>/dev/null
}

stop_program() {
    kill "$running"
    wait_for "the program's end" program_ended
    running=
}

# A photograph-like picture: sky, sun, a tree and a house on grass with clouds of texture,
# and sensor noise; 512 x 384, so the lossless rotation turns every block.
make_picture() {
    convert -size 512x384 gradient:'#4a7fc8-#f0d9b0' \
        \( -size 512x170 -seed 11 plasma:grey50-grey50 -colorspace gray -blur 0x2 \
        -auto-level +level-colors '#2c4a1c,#9cb85a' \) -geometry +0+214 -composite \
        -fill '#fff6c8' -draw 'circle 395,80 425,80' \
        -fill '#5a3d26' -draw 'rectangle 111,180 126,280' \
        -fill '#2f6a2a' -draw 'circle 118,160 163,160' -fill '#3f7f33' -draw 'circle 101,150 128,150' \
        -fill '#b8442f' -draw 'rectangle 267,237 363,307' \
        -fill '#6e2a1e' -draw 'polygon 254,239 315,194 376,239' \
        -fill '#f2e4b8' -draw 'rectangle 304,267 325,307' \
        -seed 3 -attenuate 0.2 +noise Gaussian -type TrueColor "BMP3:$1"
}
