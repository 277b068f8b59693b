#!/usr/bin/env bash
# "Small enough to send" against libvips and ImageMagick, side by side in one run: FILES copies
# of a 24-megapixel JPEG file (a photograph-like one made here, or the one given) shrunk so
# their longest side is 1920 pixels and encoded at quality 80:
#   trevano         trevano --batch --max-side 1920 --quality 80, the program itself
#   ours            bench/resize_bench: the project's classes, decode at the reduced scale
#                   ReducedDecode picks, Lanczos-3 in linear light, encode (TJPEGImage)
#   vipsthumbnail   vipsthumbnail IN -s 1920 --linear -o OUT[Q=80], all files in one call
#   ImageMagick     convert IN -colorspace RGB -filter Lanczos -resize 1920x1920
#                   -colorspace sRGB -quality 80 OUT, one call a file
# Each case runs three times, the cases taking turns, and the table compares medians; every
# run is checked to have written FILES JPEG files of 1920 pixels on their longest side.
#   bench/resize_bench.sh [JPEG] [FILES]      (FILES: 4 by default)
# With --scales, the measurement behind ReducedDecode::Measured instead: for each JPEG file
# given and each longest side the program offers, the PSNR against ImageMagick's linear-light
# Lanczos from the full picture of a decode at 1/1, 1/2, 1/4 and 1/8 followed by the Lanczos
# pass, with r the factor that pass still shrinks by.
#   bench/resize_bench.sh --scales JPEG...
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target resize_bench >/dev/null
cmake --build build -j"$(nproc)" --target trevano >/dev/null
ours=$(realpath build/bench/resize_bench)
trevano=$(realpath build/src/app/trevano)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
side=1920

if [[ ${1:-} == --scales ]]; then
    shift
    for file in "$@"; do
        read -r width height < <(identify -format '%w %h\n' "$file" 2>/dev/null | head -n 1)
        longest=$((width > height ? width : height))
        for limit in 3840 2560 2048 1920 1600 1280 1024 800 640 400; do
            ((limit < longest)) || continue
            # ResizeTarget's rounding: the other side in proportion, to the nearest pixel.
            w=$(((2 * width * limit + longest) / (2 * longest)))
            h=$(((2 * height * limit + longest) / (2 * longest)))
            convert "$file" -colorspace RGB -filter Lanczos -resize "${w}x${h}!" -colorspace sRGB \
                -strip "$work/reference.ppm" 2>/dev/null
            line="$(basename "$file") ${width}x${height} to ${w}x${h}:"
            for scale in 0 1 2 3; do
                divisor=$((1 << scale))
                decoded=$(((width + divisor - 1) / divisor))
                ((decoded >= w && (height + divisor - 1) / divisor >= h)) || continue
                "$ours" scale "$file" "$w" "$h" "$scale" "$work/ours.ppm"
                psnr=$(compare -metric PSNR "$work/ours.ppm" "$work/reference.ppm" null: 2>&1 || true)
                line+=$(awk -v d="$divisor" -v n="$decoded" -v w="$w" -v p="$psnr" \
                    'BEGIN { printf "  1/%d r %.2f %5.1f dB", d, n / w, p }')
            done
            echo "$line"
        done
    done
    exit 0
fi

files=${2:-4}
for tool in vipsthumbnail convert identify; do
    command -v "$tool" >/dev/null ||
        { echo "$tool is missing (apt-get install libvips-tools imagemagick)" >&2; exit 1; }
done
mkdir -p "$work/in"
if [[ -n ${1:-} ]]; then
    cp "$1" "$work/photo.jpg"
else
    # Smooth shading with texture and noise, as a photograph gives the coder.
    convert -size 6000x4000 -seed 9 plasma:olivedrab-wheat -blur 0x3 -seed 3 -attenuate 0.3 \
        +noise Gaussian -quality 90 "$work/photo.jpg"
fi
for ((i = 0; i < files; i++)); do
    cp "$work/photo.jpg" "$work/in/photo$i.jpg"
done

case_ours() { "$ours" shrink "$side" 80 "$1" "$work/in"/*.jpg; }
case_vips() { vipsthumbnail "$work/in"/*.jpg -s "$side" --linear -o "$1/%s.jpg[Q=80]"; }
case_magick() {
    for file in "$work/in"/*.jpg; do
        convert "$file" -colorspace RGB -filter Lanczos -resize "${side}x${side}" -colorspace sRGB \
            -quality 80 "$1/$(basename "$file")"
    done
}
# The program's own batch mode, as a user runs it: its default coding (progressive with
# optimised tables), as many pictures at once as there are processors.
case_trevano() {
    "$trevano" --batch --quiet --max-side "$side" --quality 80 --output "$1" "$work/in"/*.jpg
}

# Milliseconds one run of a case takes, its output checked.
run_case() {
    local out=$work/out-$1
    rm -rf "$out" && mkdir -p "$out"
    sync
    local start
    start=$(date +%s%N)
    "case_$1" "$out" >/dev/null
    local elapsed=$((($(date +%s%N) - start) / 1000000))
    local written=0 file
    for file in "$out"/*.jpg; do
        [[ $(identify -format '%m %[fx:max(w,h)]' "$file") == "JPEG $side" ]] ||
            { echo "case $1 wrote $file wrong: $(identify "$file")" >&2; exit 1; }
        written=$((written + 1))
    done
    [[ $written == "$files" ]] || { echo "case $1 wrote $written files of $files" >&2; exit 1; }
    echo "$elapsed"
}

declare -A times
cases=(trevano ours vips magick)
for round in 1 2 3; do
    line="round $round:"
    for name in "${cases[@]}"; do
        elapsed=$(run_case "$name")
        times[$name]+="$elapsed "
        line+=" $name $elapsed ms"
    done
    echo "$line" >&2
done

median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | sed -n 2p; }
declare -A median_of
for name in "${cases[@]}"; do
    median_of[$name]=$(median "${times[$name]}")
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo
echo "$files pictures of $(identify -format '%wx%h' "$work/photo.jpg") to a longest side of $side," \
    "quality 80, $(nproc) processors; medians of 3"
printf '| %-40s | %9s | %-30s | %-14s |\n' case time ratio target
printf '| %-40s | %7d ms | %-30s | %-14s |\n' "trevano --batch --max-side $side" \
    "${median_of[trevano]}" "$(ratio "${median_of[trevano]}" "${median_of[vips]}") x vipsthumbnail" "<= 1.0"
printf '| %-40s | %9s | %-30s | %-14s |\n' "" "" \
    "$(ratio "${median_of[magick]}" "${median_of[trevano]}") x faster than ImageMagick" ">= 3"
printf '| %-40s | %7d ms | %-30s | %-14s |\n' "ours: reduced decode, Lanczos, encode" \
    "${median_of[ours]}" "$(ratio "${median_of[ours]}" "${median_of[vips]}") x vipsthumbnail" "<= 1.0"
printf '| %-40s | %7d ms | %-30s | %-14s |\n' "vipsthumbnail -s $side --linear" \
    "${median_of[vips]}" "1" ""
printf '| %-40s | %7d ms | %-30s | %-14s |\n' "convert -colorspace RGB -filter Lanczos" \
    "${median_of[magick]}" "$(ratio "${median_of[magick]}" "${median_of[ours]}") x ours" ">= 3"
