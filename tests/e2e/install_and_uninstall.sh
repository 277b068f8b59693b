#!/usr/bin/env bash
# Installs the built program into a prefix of the test's own, checks what a desktop and a user
# find there, starts the installed command, opens a picture with it through its desktop entry
# as a desktop's "open with" does, lets a user other than the owner of the install turn a BMP
# file in a folder of their own and fail to change one they cannot write, then uninstalls with
# scripts/install.sh. With --jpeg-turn, that user turns a JPEG file too.
#   install_and_uninstall.sh BUILD_FOLDER SOURCE_FOLDER OUTPUT [--jpeg-turn]
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
output=$(realpath -m "$3")
jpeg_turn=${4:-}
rm -rf "$output"
mkdir -p "$output"

# Run as root, the test is the owner of the install and "nobody" the other user, who must reach
# the install and a home of their own: a build in a folder closed to others (root's home) has
# them made in /tmp instead. Run as anyone else, the test's own user is not the owner of the
# files it checks against (a folder made read-only stands for root's).
as_user=()
area=$output
if [[ $(id -u) -eq 0 ]]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    if ! "${as_user[@]}" test -x "$output"; then
        area=$(mktemp -d /tmp/trevano-install.XXXXXX)
        chmod 755 "$area"
    fi
fi
prefix="$area/prefix with blank"
folder=$prefix/lib/trevano
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"

expect_executable() {
    [[ -f "$1" && -x "$1" ]] || fail "$1 is not an executable file"
}

check_program_folder() {
    expect_executable "$folder/trevano"
    expect_executable "$folder/jpegtran"
    if [[ -f "$source/resources/Fond_aide.bmp" ]]; then
        cmp "$source/resources/Fond_aide.bmp" "$folder/Fond_aide.bmp" ||
            fail "the help background is not beside the program"
    fi
    [[ "$(readlink -f "$prefix/bin/trevano")" == "$folder/trevano" ]] ||
        fail "bin/trevano does not lead to the program"
}

check_desktop_entry() {
    local entry=$prefix/share/applications/trevano.desktop
    [[ -f "$entry" ]] || fail "no desktop entry"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$entry" || fail "the desktop entry does not validate"
    fi
    grep -qx "Exec=\"$prefix/bin/trevano\" %f" "$entry" ||
        fail "the entry does not start the installed command with the file: $(grep Exec "$entry")"
    grep -qx 'Icon=trevano' "$entry" || fail "the entry names another icon"
    grep -qx 'MimeType=image/jpeg;image/bmp;image/x-bmp;' "$entry" || fail "no picture types"
    cmp "$source/resources/trevano.png" "$prefix/share/icons/hicolor/32x32/apps/trevano.png" ||
        fail "the 32-pixel icon is not the window icon"
    local size icon
    for size in 64 128 256; do
        icon=$prefix/share/icons/hicolor/${size}x$size/apps/trevano.png
        [[ "$(convert "$source/resources/trevano.png" -scale $((size * 100 / 32))% png:- |
            compare -metric AE - "$icon" null: 2>&1)" == 0 ]] ||
            fail "the $size-pixel icon is not the window icon's pixels made larger" \
                "(resources/tools/make_desktop_icons.py makes it)"
    done
}

# The installed program's first start writes its own folder as the companions' folder.
check_first_start() {
    local settings=$output/settings.ini
    QT_QPA_PLATFORM=offscreen TREVANO_SETTINGS=$settings "$prefix/bin/trevano" \
        >"$output/program.log" 2>&1 &
    running=$!
    wait_for "the installed program's settings file" grep -q '^Path=' "$settings"
    stop_program
    grep -qx "Path=$folder/" "$settings" || fail "the default folder is not the program's: $(
        grep Path "$settings")"
}

# The desktop's launcher fills the entry's command line with the file, which the program
# loads: its path becomes the window's title.
check_open_with() {
    start_x_server
    make_picture "$output/photo.bmp"
    TREVANO_SETTINGS=$output/settings.ini gio launch \
        "$prefix/share/applications/trevano.desktop" "$output/photo.bmp"
    local window
    window=$(window_of "$output/photo.bmp")
    running=$(xdotool getwindowpid "$window")
    wait_for "the end of the load" load_finished "$window"
    screenshot opened-with-the-desktop-entry
    stop_program
}

# The other user's home, with their settings file, which names the installed program's folder
# as a first start would, and a folder of their pictures.
prepare_other_user() {
    user_home="$area/user home"
    user_folder="$user_home/pictures"
    mkdir -p "$user_folder"
    printf '[General]\nLanguage=English\nPath=%s/\n' "$folder" >"$user_home/settings.ini"
    if ((${#as_user[@]})); then
        chown -R nobody:nogroup "$user_home"
    fi
}

start_as_user() {
    (cd "$user_home" && exec "${as_user[@]}" env HOME="$user_home" \
        TREVANO_SETTINGS="$user_home/settings.ini" "$prefix/bin/trevano" "$1" \
        >>"$output/program.log" 2>&1) &
    running=$!
    wait_for "the end of the load" load_finished "$(window_of "$1")"
}

# Rotate original: a copy under a new name, opened in the rotate-and-save window.
copy_for_rotation() {
    local main
    main=$(window_of "$1")
    click "$main" 730 15
    answer_file_dialog "$2" "$3" "$4"
}

# Answers with OK every message box that comes within a second of the last one; fails when none
# comes at all.
answer_boxes() {
    local box answered=0
    box=$(window_of Trevano)
    while [[ -n "$box" ]]; do
        answered=$((answered + 1))
        screenshot "$1-$answered"
        xdotool windowfocus --sync "$box" key Return
        sleep 1
        box=$(visible_window Trevano || true)
    done
}

expect_only_in_user_folder() {
    local found
    found=$(cd "$user_folder" && ls -A | sort | tr '\n' ' ')
    [[ "$found" == "$* " ]] || fail "the user's folder holds: $found"
}

same_pixels() {
    [[ "$(compare -metric AE "$1" "$2" null: 2>&1)" == 0 ]]
}

# A BMP file of the user's own, turned once by the installed program.
check_other_user_turns_bmp() {
    make_picture "$user_folder/photo.bmp"
    [[ ${#as_user[@]} -eq 0 ]] || chown nobody:nogroup "$user_folder/photo.bmp"
    convert "$user_folder/photo.bmp" -rotate 90 "$output/expected-turned.png"
    start_as_user "$user_folder/photo.bmp"
    copy_for_rotation "$user_folder/photo.bmp" "Save the new Bmp file as..." \
        "$user_folder/turned.bmp" bmp-copy-dialog
    local form4
    form4=$(window_of "$user_folder/turned.bmp")
    click "$form4" 719 498 # rotate
    wait_for "the turned BMP file" same_pixels "$user_folder/turned.bmp" "$output/expected-turned.png"
    screenshot bmp-turned-by-another-user
    click "$form4" 720 528 # OK
    wait_for "the rotate-and-save window to close" no_window "$user_folder/turned.bmp"
    stop_program
    expect_only_in_user_folder photo.bmp turned.bmp
}

# A JPEG file of the user's own, turned without loss by the installed rotation tool; its work
# files go beside the picture and are gone afterwards.
check_other_user_turns_jpeg() {
    cjpeg -quality 90 -outfile "$user_folder/photo.jpg" "$user_folder/photo.bmp"
    [[ ${#as_user[@]} -eq 0 ]] || chown nobody:nogroup "$user_folder/photo.jpg"
    jpegtran -rotate 90 -outfile "$output/expected-turned.jpg" "$user_folder/photo.jpg"
    start_as_user "$user_folder/photo.jpg"
    copy_for_rotation "$user_folder/photo.jpg" "Save the new Jpg file as..." \
        "$user_folder/turned.jpg" jpeg-copy-dialog
    local form4
    form4=$(window_of "$user_folder/turned.jpg")
    click "$form4" 719 498 # rotate
    wait_for "the turned JPEG file" cmp -s "$user_folder/turned.jpg" "$output/expected-turned.jpg"
    screenshot jpeg-turned-by-another-user
    click "$form4" 720 528 # OK
    wait_for "the rotate-and-save window to close" no_window "$user_folder/turned.jpg"
    stop_program
    expect_only_in_user_folder photo.bmp photo.jpg turned.bmp turned.jpg
}

# A picture in a folder the user cannot write: the copy beside it is refused with its message,
# the turn of the copy that is not there fails with its own, and the folder is as it was.
check_unwritable_folder() {
    local locked="$area/not yours"
    mkdir -p "$locked"
    make_picture "$locked/photo.bmp"
    [[ ${#as_user[@]} -gt 0 ]] || chmod a-w "$locked"
    local before
    before=$(cd "$locked" && ls -lA --time-style=full-iso && md5sum ./*)
    start_as_user "$locked/photo.bmp"
    copy_for_rotation "$locked/photo.bmp" "Save the new Bmp file as..." "$locked/turned.bmp" \
        locked-copy-dialog
    answer_boxes copy-refused # then the rotate-and-save window cannot show the copy
    local form4
    form4=$(window_of "$locked/turned.bmp")
    click "$form4" 719 498 # rotate
    answer_boxes rotation-refused
    kill -0 "$running" || fail "the program ended"
    stop_program
    [[ "$(cd "$locked" && ls -lA --time-style=full-iso && md5sum ./*)" == "$before" ]] ||
        fail "the folder the user cannot write changed"
}

check_uninstall() {
    "$source/scripts/install.sh" --uninstall "$prefix"
    local left
    left=$(find "$prefix" \( -type f -o -type l \) ! -name mimeinfo.cache)
    [[ -z "$left" ]] || fail "uninstalling left: $left"
    [[ ! -e "$folder" ]] || fail "uninstalling left the program folder"
}

cmake --install "$build" --prefix "$prefix" >"$output/install.log"
check_program_folder
check_desktop_entry
check_first_start
check_open_with
prepare_other_user
check_other_user_turns_bmp
if [[ "$jpeg_turn" == --jpeg-turn ]]; then
    check_other_user_turns_jpeg
fi
check_unwritable_folder
check_uninstall
[[ "$area" == "$output" ]] || rm -rf "$area"
echo "installed, started and uninstalled under $prefix"
