#!/usr/bin/env bash
# The real program started for its window where there is no display: one line that says so
# and what to do instead, status 1, no abort and no core dump; whether no display is named, or
# the one named does not answer. A platform the user chose is still taken without a display:
# QT_QPA_PLATFORM=offscreen and -platform offscreen start the window.
#   no_display.sh PROGRAM OUTPUT
set -euo pipefail

program=$(realpath "$1")
output=$(realpath -m "$2")
rm -rf "$output"
mkdir -p "$output"
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"

expected="trevano: there is no display to show the window on; 'trevano --batch' works without\
 one, and 'xvfb-run trevano' runs the window in a virtual screen."
bare=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE
    "TREVANO_SETTINGS=$output/settings.ini")

# Started with `bare` and the given environment and arguments.
says_there_is_no_display() {
    local status=0
    "${bare[@]}" "$@" >"$output/out" 2>"$output/err" || status=$?
    [[ $status == 1 ]] || fail "$*: status $status, not 1"
    [[ "$(cat "$output/err")" == "$expected" ]] || fail "$* said: $(cat "$output/err")"
    [[ ! -s "$output/out" ]] || fail "$* printed: $(cat "$output/out")"
}

# The window starts offscreen, makes its settings file and keeps running until it is ended.
window_starts() {
    rm -f "$output/settings.ini"
    "${bare[@]}" "$@" 2>"$output/err" &
    running=$!
    wait_for "the settings file of $*" test -s "$output/settings.ini"
    sleep 0.5
    kill -0 "$running" || fail "$* ended by itself: $(cat "$output/err")"
    kill "$running"
    wait "$running" || true
    running=
}

says_there_is_no_display "$program"
says_there_is_no_display DISPLAY=:9999 "$program" photo.jpg
window_starts QT_QPA_PLATFORM=offscreen "$program"
window_starts "$program" -platform offscreen
echo "no display: said and ended with status 1; a chosen platform was taken"
