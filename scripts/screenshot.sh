#!/usr/bin/env bash
# Takes a picture of the main window as it opens, in a virtual X server.
#   scripts/screenshot.sh [LANGUAGE [OUTPUT.png]]    e.g. scripts/screenshot.sh Français fr.png
# The program must be built (scripts/run.sh or scripts/test.sh do that; TREVANO_BUILD names
# another build folder). A window manager, when
# one is installed (openbox), draws the window's frame and caption.
set -euo pipefail
cd "$(dirname "$0")/.."

language=${1:-English}
output=${2:-docs/main-window-en.png}
build=${TREVANO_BUILD:-build}
if [[ "${TREVANO_IN_XVFB:-}" != 1 ]]; then
    exec env TREVANO_IN_XVFB=1 xvfb-run -a -s '-screen 0 1280x800x24' "$0" "$language" "$output"
fi

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
printf '[General]\nLanguage=%s\nPath=%s/\n' "$language" "$PWD/$build/src/app" >"$folder/Trevano_V2.0.ini"
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    sleep 1
fi
TREVANO_SETTINGS="$folder/Trevano_V2.0.ini" "$build/src/app/trevano" 2>/dev/null &
program=$!
sleep 3
import -frame -window "Trevano  V2.0 b" "$output"
kill "$program"
echo "Main window in $language: $output"
