#!/usr/bin/env bash
# The command line's new inputs against the tools people use for them, side by side in one run,
# on 12-megapixel photographs (Debian's mate-backgrounds, nature/, enlarged to 4032 x 3024 as a
# phone's camera takes them):
#   HEIC   trevano --batch --quality 75            against heif-convert -q 75 IN OUT, one a file,
#                                                  as many at once as there are processors
#   PNG    trevano --batch --quality 75            against pngtopnm IN | cjpeg -quality 75
# Each case runs three times and the best time counts. Then the peak memory of one job on one
# picture of each kind, against the decoded picture's bytes (width x height x 3).
#   bench/formats_bench.sh [PROGRAM]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/src/app/trevano}")
for tool in heif-enc heif-convert pngtopnm cjpeg convert; do
    command -v "$tool" >/dev/null ||
        { echo "$tool is missing (apt-get install libheif-examples netpbm libjpeg-turbo-progs imagemagick)" >&2; exit 1; }
done
photos=(/usr/share/backgrounds/mate/nature/*.jpg)
[[ -e ${photos[0]} ]] || { echo "apt-get install mate-backgrounds" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=$(nproc)

mkdir -p "$work/heic" "$work/png"
for photo in "${photos[@]:0:8}"; do
    name=$(basename "$photo" .jpg)
    convert "$photo" -resize '4032x3024!' "$work/png/$name.png"
    heif-enc -q 50 -o "$work/heic/$name.heic" "$work/png/$name.png" >/dev/null
done

best_ms() { # COMMAND...: the best of three runs, in milliseconds
    local best=""
    for _ in 1 2 3; do
        rm -rf "$work/out" && mkdir -p "$work/out"
        local start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        local elapsed=$((($(date +%s%N) - start) / 1000000))
        if [[ -z $best || $elapsed -lt $best ]]; then best=$elapsed; fi
    done
    echo "$best"
}
ours() { "$program" --batch --quality 75 -j "$jobs" --output "$work/out" "$1"/*; }
ours_baseline() { "$program" --batch --quality 75 --baseline -j "$jobs" --output "$work/out" "$1"/*; }
heif_convert() {
    ls "$work/heic"/*.heic | xargs -P "$jobs" -I{} sh -c 'heif-convert -q 75 "$1" "$2/$(basename "$1").jpg"' _ {} "$work/out"
}
png_pipeline() {
    ls "$work/png"/*.png | xargs -P "$jobs" -I{} sh -c 'pngtopnm "$1" | cjpeg -quality 75 >"$2/$(basename "$1").jpg"' _ {} "$work/out"
}

heic_ours=$(best_ms ours "$work/heic")
heic_baseline=$(best_ms ours_baseline "$work/heic")
heic_tool=$(best_ms heif_convert)
png_ours=$(best_ms ours "$work/png")
png_baseline=$(best_ms ours_baseline "$work/png")
png_tool=$(best_ms png_pipeline)

ratio() { echo "scale=2; $1 / $2" | bc -l; }
row() { printf '| %-52s | %7d ms | %5s x | %-8s |\n' "$1" "$2" "$3" "$4"; }
echo "| 8 photographs of 12 MP, $jobs at once                  |   time     | ratio   | goal     |"
row "HEIC: trevano --batch --quality 75" "$heic_ours" "$(ratio "$heic_ours" "$heic_tool")" "<= 1.2"
row "HEIC: trevano --batch --quality 75 --baseline" "$heic_baseline" "$(ratio "$heic_baseline" "$heic_tool")" "<= 1.2"
row "HEIC: heif-convert -q 75, one a file" "$heic_tool" "1.00" ""
row "PNG: trevano --batch --quality 75" "$png_ours" "$(ratio "$png_ours" "$png_tool")" "<= 1.2"
row "PNG: trevano --batch --quality 75 --baseline" "$png_baseline" "$(ratio "$png_baseline" "$png_tool")" "<= 1.2"
row "PNG: pngtopnm | cjpeg -quality 75, one a file" "$png_tool" "1.00" ""

# One job on one picture: the peak resident size against the decoded picture's bytes.
picture_kb=$((4032 * 3024 * 3 / 1024))
for kind in heic png; do
    first=$(ls "$work/$kind"/* | head -1)
    rm -rf "$work/out" && mkdir -p "$work/out"
    peak=$(/usr/bin/time -f %M "$program" --batch --quality 75 -j 1 --output "$work/out" "$first" 2>&1 >/dev/null | tail -1)
    printf '| %-52s | %7d MB | %5.2f x the picture | goal <= 2.5 |\n' \
        "peak resident size, one $kind job" $((peak / 1024)) "$(echo "$peak / $picture_kb" | bc -l)"
done
