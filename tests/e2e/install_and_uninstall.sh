#!/usr/bin/env bash
# Installs the built program into a prefix of the test's own, checks what a desktop and a user
# find there, starts the installed command, opens a picture with it through its desktop entry
# as a desktop's "open with" does, then uninstalls with scripts/install.sh.
#   install_and_uninstall.sh BUILD_FOLDER SOURCE_FOLDER OUTPUT
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
output=$(realpath -m "$3")
prefix="$output/prefix with blank"
folder=$prefix/lib/trevano

rm -rf "$output"
mkdir -p "$output"
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
check_uninstall
echo "installed, started and uninstalled under $prefix"
