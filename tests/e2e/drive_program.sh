#!/usr/bin/env bash
# The real program in a real X window, driven only as a person would, with the mouse and the
# keyboard (xdotool):
#   1. load a BMP through the open dialog, move the quality slider with the keyboard, wait for
#      the preview, look at it in the viewer, save it through the save dialog, turn the saved
#      JPEG once in the rotate-and-save window (through the real rotation tool), press OK;
#   2. start in French with the same picture named on the command line, switch to English;
#   3. start with a missing picture named on the command line: an error box;
#   4. choose a longest side for the new files in the slider's menu.
# Then the files on disk are checked against the reference tools. Every step keeps a
# screenshot in OUTPUT/screenshots, and the main windows a picture each in OUTPUT/windows;
# every wait gives up after TREVANO_E2E_TIMEOUT seconds.
#   drive_program.sh PROGRAM ROTATION_TOOL OUTPUT
set -euo pipefail

program=$(realpath "$1")
rotation_tool=$(realpath -m "$2")
output=$(realpath -m "$3")
quality=70 # the slider starts at 100 after a load; three Page Down keys move it by 30

rm -rf "$output"
mkdir -p "$output/screenshots" "$output/companions"
started=$SECONDS
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"

say() { echo "[$((SECONDS - started))s] $*"; }

# A fingerprint of what the screen shows in a rectangle of a window's client area.
area_checksum() {
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^[XY]=')"
    import -window root -crop "$4x$5+$((X + $2))+$((Y + $3))" +repage rgb:- | md5sum
}

area_changed_from() {
    [[ "$(area_checksum "$2" "$3" "$4" "$5" "$6")" != "$1" ]]
}

# The window alone, for pictures of the program (the README's come from here).
window_shot() {
    mkdir -p "$output/windows"
    import -window "$2" "$output/windows/$1.png"
}

start_program() {
    local settings=$1
    shift
    (cd "$output" && TREVANO_SETTINGS="$settings" exec "$program" "$@" >>"$output/program.log" 2>&1) &
    running=$!
}

write_settings() {
    printf '[General]\nLanguage=%s\nPath=%s/\n' "$1" "$output/companions" >"$2"
}

# Run 1: load, preview, viewer, save, rotate, OK.
first_run() {
    local picture=$output/photo.bmp saved=$output/photo-q$quality.jpg
    write_settings English "$output/english.ini"
    start_program "$output/english.ini"
    local main
    main=$(window_of "Trevano  V2.0 b")
    screenshot start

    click "$main" 626 15 # load
    answer_file_dialog "Choose the Jpg or Bmp file" "$picture" open-dialog
    main=$(window_of "$picture")
    wait_for "the end of the load" load_finished "$main"
    screenshot loaded
    say "loaded"

    local before
    before=$(area_checksum "$main" 405 75 376 469)
    xdotool windowfocus --sync "$main"
    click "$main" 404 15 # the slider's handle, at its right end
    xdotool mousemove 1 1 # no hint over the panes
    xdotool key Next Next Next
    wait_for "the preview at quality $quality" area_changed_from "$before" "$main" 405 75 376 469
    sleep 0.3
    screenshot "quality-$quality"
    window_shot main-window "$main"
    say "previewed"

    xdotool mousemove --sync --window "$main" 593 309 click --repeat 2 --delay 80 1
    local viewer
    viewer=$(window_of "$picture     [Real size]")
    screenshot viewer
    window_shot viewer "$viewer"
    xdotool mousemove --sync --window "$viewer" 100 100 click --repeat 2 --delay 80 1
    wait_for "the viewer to close" no_window "$picture     [Real size]"

    click "$main" 730 39 # save
    answer_file_dialog "Save the Jpg file as..." "$saved" save-dialog
    local form4
    form4=$(window_of "$saved")
    cp "$saved" "$output/as-saved.jpg"
    jpegtran -rotate 90 -outfile "$output/expected-rotated.jpg" "$output/as-saved.jpg"
    screenshot rotate-window
    say "saved"

    before=$(area_checksum "$form4" 6 6 658 535)
    click "$form4" 719 498 # rotate
    wait_for "the rotated file" cmp -s "$saved" "$output/expected-rotated.jpg"
    wait_for "the rotated picture on screen" area_changed_from "$before" "$form4" 6 6 658 535
    screenshot rotated
    window_shot rotate-window "$form4"
    say "rotated"

    click "$form4" 720 528 # OK
    wait_for "the rotate-and-save window to close" no_window "$saved"
    screenshot after-ok
    stop_program
}

# Run 2: French, a picture named on the command line by a relative name, then English.
second_run() {
    write_settings "Français" "$output/french.ini"
    start_program "$output/french.ini" photo.bmp
    local main
    main=$(window_of "$output/photo.bmp")
    wait_for "the end of the load" load_finished "$main"
    screenshot french-with-named-picture
    click "$main" 639 39 # the British flag
    wait_for "English in the settings file" grep -qx 'Language=English' "$output/french.ini"
    sleep 0.3
    screenshot switched-to-english
    stop_program
    say "switched language"
}

# Run 3: a picture named on the command line that is not there.
third_run() {
    write_settings English "$output/missing.ini"
    start_program "$output/missing.ini" "$output/no such picture.bmp"
    window_of "$output/no such picture.bmp" >/dev/null
    local box
    box=$(window_of "Trevano")
    screenshot missing-picture-error
    xdotool windowfocus --sync "$box"
    xdotool key Return
    wait_for "the error box to close" no_window "Trevano"
    kill -0 "$running" || fail "the program ended after the error box"
    stop_program
    say "missing picture reported"
}

# Run 4: the slider's menu, with the keyboard: the longest side of the new files. Taking the
# choice makes the preview again, which must leave the menus that handled the key alone.
fourth_run() {
    convert "$output/photo.bmp" -resize 1200x900 "$output/large.bmp"
    write_settings English "$output/menu.ini"
    start_program "$output/menu.ini" large.bmp
    local main
    main=$(window_of "$output/large.bmp")
    wait_for "the end of the load" load_finished "$main"
    xdotool mousemove --sync --window "$main" 200 15 click 3
    sleep 0.5
    xdotool key Up Right Up Return # the last item, its submenu, its last side: 800 pixels
    wait_for "the longest side in the settings file" grep -qx 'LongestSide=800' "$output/menu.ini"
    sleep 1
    kill -0 "$running" || fail "the program ended after the menu's choice"
    screenshot longest-side-800
    stop_program
    say "longest side chosen"
}

check_files() {
    cjpeg -dct float -baseline -quality "$quality" -outfile "$output/expected.jpg" \
        "$output/photo.bmp"
    cmp "$output/as-saved.jpg" "$output/expected.jpg" ||
        fail "the saved file is not the reference encoder's at quality $quality"
    cmp "$output/photo-q$quality.jpg" "$output/expected-rotated.jpg" ||
        fail "the rotated file is not the reference tool's rotation of the saved one"
    grep -qx 'Language=English' "$output/english.ini" || fail "run 1 changed the language"
    [[ ! -e "$output/companions/tempo2_jpg.jpg" && ! -e "$output/companions/tempo3_jpg.jpg" ]] ||
        fail "the rotation left a work file behind"
}

start_x_server
ln -s "$rotation_tool" "$output/companions/jpegtran"
make_picture "$output/photo.bmp"
first_run
second_run
third_run
fourth_run
check_files
say "passed; screenshots in $output/screenshots"
