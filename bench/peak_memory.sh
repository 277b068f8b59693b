#!/usr/bin/env bash
# The most memory the real program holds (its peak resident size) while it recompresses a
# 24-megapixel photograph, against the picture's own size (width x height x 3 bytes): the
# program is started under a virtual X server with the picture named on its command line,
# then the quality slider is moved with the keyboard, one step a tick.
# Then each step of the window (load, ticks, both searches, the viewer's comparisons, the save)
# on JPEG and BMP pictures of 24 and 100 megapixels, with and without a longest side, through
# bench/window_memory; and one batch job on the 100-megapixel JPEG.
#   bench/peak_memory.sh [PROGRAM]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/src/app/trevano}")
output=$(mktemp -d)
running=
# shellcheck source=tests/e2e/common.sh
source tests/e2e/common.sh
timeout=60

width=6000
height=4000
picture="$output/photo24.jpg"
# Smooth shading with texture and noise, as a photograph gives the coder.
convert -size "${width}x${height}" -seed 5 plasma:steelblue-khaki -blur 0x3 \
    -seed 7 -attenuate 0.3 +noise Gaussian -quality 90 "$picture"

peak_kb() { awk '/^VmHWM/ { print $2 }' "/proc/$running/status"; }
resident_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$running/status"; }

start_x_server
TREVANO_SETTINGS="$output/Trevano_V2.0.ini" "$program" "$picture" >/dev/null 2>&1 &
running=$!
main=$(window_of "Trevano  V2.0 b")
# The load is over when the peak has not moved for two seconds.
after_load=0
while [[ $(peak_kb) != "$after_load" ]]; do
    after_load=$(peak_kb)
    sleep 2
done
held_after_load=$(resident_kb)

xdotool windowfocus --sync "$main"
xdotool mousemove --sync --window "$main" 404 15 click 1 # the slider's handle
for _ in 1 2 3 4 5 6; do
    xdotool key Next
    sleep 2.5 # a tick a second, and its score on the worker
done
during_ticks=$(peak_kb)
stop_program

picture_kb=$((width * height * 3 / 1024))
printf '| %-44s | %8d MB | %5.2f x the picture (%d MB) |\n' \
    "peak resident size, load of the 24 MP picture" $((after_load / 1024)) \
    "$(echo "$after_load / $picture_kb" | bc -l)" $((picture_kb / 1024))
printf '| %-44s | %8d MB |\n' "resident size once loaded" $((held_after_load / 1024))
printf '| %-44s | %8d MB | %5.2f x the picture (goal <= 4) |\n' \
    "peak resident size, load and six ticks" $((during_ticks / 1024)) \
    "$(echo "$during_ticks / $picture_kb" | bc -l)"

# Each step of the window, and the batch, on pictures made once for all of them.
steps=$(dirname "$program")/../../bench/window_memory
for megapixels in 24 100; do
    jpeg="$output/photo$megapixels.jpg"
    if ((megapixels != 24)); then
        # ImageMagick's resource limits refuse a plasma this large: the 24 MP one, enlarged.
        /usr/bin/python3 -c "from PIL import Image; import sys; Image.MAX_IMAGE_PIXELS = None
Image.open(sys.argv[1]).resize((12000, 8400), Image.BICUBIC).save(sys.argv[2], quality=90)" \
            "$picture" "$jpeg"
    fi
    bmp="$output/photo$megapixels.bmp"
    /usr/bin/python3 -c "from PIL import Image; import sys; Image.MAX_IMAGE_PIXELS = None; Image.open(sys.argv[1]).save(sys.argv[2])" \
        "$jpeg" "$bmp"
    for file in "$jpeg" "$bmp"; do
        for side in 0 1920; do
            printf '| window steps, %s, longest side %s\n' "$(basename "$file")" "$side"
            "$steps" "$file" "$side" 2>/dev/null | grep '^|'
        done
    done
    rm -f "$bmp"
done
# One batch job on the 100-megapixel photograph, in each coding: its peak against the
# picture's bytes. A progressive file is written from coefficients of the whole picture kept
# until its last scan, as many bytes again as the decoded picture.
for coding in --baseline ""; do
    batch_peak=$(/usr/bin/time -f %M "$program" --batch --jobs 1 --overwrite --quality 75 $coding \
        --output "$output/batch" "$output/photo100.jpg" 2>&1 >/dev/null | tail -1)
    printf '| %-44s | %8d MB | %5.2f x the picture (goal <= 1.2) |\n' \
        "peak resident size, one 100 MP batch job ${coding:-progressive}" $((batch_peak / 1024)) \
        "$(echo "$batch_peak / (12000 * 8400 * 3 / 1024)" | bc -l)"
done
rm -rf "$output"
