#!/usr/bin/env bash
# The help window in a real X server, driven by mouse clicks as a user gives them: a click on
# a see-through place of the window reaches the window beneath it, a click in the text leaves
# the help open and a click on the picture closes it.
#   tests/app/help_window_x11.sh PROGRAM
# Skipped (exit 77) where xvfb-run or xdotool is missing.
set -euo pipefail

program=$1
for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
if [[ "${TREVANO_IN_XVFB:-}" != 1 ]]; then
    exec env TREVANO_IN_XVFB=1 xvfb-run -a -n 140 -s '-screen 0 1280x800x24' "$0" "$@"
fi

# The build puts the help window's background beside the program, where it is looked for.
if [[ ! -f "$(dirname "$program")/Fond_aide.bmp" ]]; then
    echo "FAILED: no Fond_aide.bmp beside $program"
    exit 1
fi

folder=$(mktemp -d)
settings=$folder/Trevano_V2.0.ini
printf '[General]\nLanguage=English\nPath=%s/\n' "$(cd "$(dirname "$program")" && pwd)" >"$settings"
QT_QPA_PLATFORM=xcb TREVANO_SETTINGS=$settings "$program" 2>/dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$folder"' EXIT

visible_windows() {
    { xdotool search --onlyvisible --classname trevano 2>/dev/null || true; } | wc -l
}

# Waits until `condition` holds, for five seconds at most.
wait_until() {
    local description=$1
    shift
    for _ in $(seq 50); do
        if "$@"; then
            return 0
        fi
        sleep 0.1
    done
    echo "FAILED: $description ($(visible_windows) windows visible)"
    exit 1
}

windows_are() { [[ $(visible_windows) == "$1" ]]; }
language_is() { grep -q "^Language=$1" "$settings"; }
click() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.3
}

# With no window manager both windows sit centred on the 1280 x 800 screen: the main window's
# client area from 247,118, the help window from 320,160.
wait_until "the main window opens" windows_are 1
sleep 0.5
click 912 157 # the help button
wait_until "the help button opens the help window" windows_are 2

# The French flag button lies under the help window's see-through top edge.
click 886 165
wait_until "a click on a see-through place reaches the flag button beneath" language_is Fran
windows_are 2 || { echo "FAILED: the help window closed"; exit 1; }

click 640 400 # inside the text
windows_are 2 || { echo "FAILED: a click in the text closed the help window"; exit 1; }
click 640 220 # on the picture, above the text
wait_until "a click on the picture closes the help window" windows_are 1
echo "help window under X: clicks go through, text keeps it open, picture closes it"
