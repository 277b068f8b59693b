#!/usr/bin/env bash
# The batch mode against its floor and against ImageMagick, side by side in one run, on
# photograph-like JPEG files, half of 12 and half of 24 megapixels, at quality 75:
#   batch, P jobs      trevano --batch --jobs P, P the number of processors
#   floor              xargs -P P running djpeg -dct float | cjpeg -dct float -quality 75 on
#                      each file: the decode and the encode the batch mode makes (both with
#                      the float DCT, as the program's), and nothing else
#   mogrify            ImageMagick's mogrify -quality 75 on the same files
#   batch, 1 job       the same run one picture at a time, for the speed-up of P jobs
# Each case runs three times, the cases taking turns, and the table compares medians; every
# run is checked to have written one JPEG file a picture. Last, a --min-ssim run says the
# most encodes a picture took.
#   bench/batch_bench.sh [PROGRAM] [FILES]    (FILES: 48 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/src/app/trevano}")
files=${2:-48}
processors=$(nproc)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Smooth shading with texture and noise, as a photograph gives the coder; one picture of each
# size, copied under as many names as asked.
mkdir -p "$work/in"
convert -size 4000x3000 -seed 5 plasma:steelblue-khaki -blur 0x3 -seed 7 -attenuate 0.3 \
    +noise Gaussian -quality 90 "$work/p12.jpg"
convert -size 6000x4000 -seed 9 plasma:olivedrab-wheat -blur 0x3 -seed 3 -attenuate 0.3 \
    +noise Gaussian -quality 90 "$work/p24.jpg"
for ((i = 0; i < files; i++)); do
    cp "$work/p$((i % 2 ? 24 : 12)).jpg" "$work/in/photo$i.jpg"
done

case_batch_p() { "$program" --batch --quiet --jobs "$processors" --output "$1" "$work/in"/*.jpg; }
case_batch_1() { "$program" --batch --quiet --jobs 1 --output "$1" "$work/in"/*.jpg; }
case_floor() {
    # shellcheck disable=SC2016
    printf '%s\0' "$work/in"/*.jpg | xargs -0 -P "$processors" -I{} sh -c \
        'djpeg -dct float "$1" | cjpeg -dct float -quality 75 > "$2/$(basename "$1")"' _ {} "$1"
}
case_mogrify() { mogrify -quality 75 -path "$1" "$work/in"/*.jpg; }

# Milliseconds one run of a case takes, its output checked.
run_case() {
    local out=$work/out-$1
    rm -rf "$out" && mkdir -p "$out"
    sync
    local start=$(date +%s%N)
    "case_$1" "$out" >/dev/null
    local elapsed=$((($(date +%s%N) - start) / 1000000))
    local written
    written=$(find "$out" -name '*.jpg' -size +1k | wc -l)
    [[ "$written" == "$files" ]] || { echo "case $1 wrote $written files of $files" >&2; exit 1; }
    [[ "$(head -c 2 "$(find "$out" -name '*.jpg' | head -n 1)" | xxd -p)" == ffd8 ]] ||
        { echo "case $1 wrote no JPEG file" >&2; exit 1; }
    echo "$elapsed"
}

declare -A times
cases=(batch_p floor mogrify batch_1)
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
echo "$files pictures ($((files / 2)) of 12 and $((files - files / 2)) of 24 megapixels), quality 75, $processors processors; medians of 3"
printf '| %-34s | %9s | %-28s | %-20s |\n' case time ratio target
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "batch, $processors jobs" "${median_of[batch_p]}" \
    "$(ratio "${median_of[batch_p]}" "${median_of[floor]}") x the floor" "<= 1.10 x the floor"
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "floor: xargs -P $processors djpeg | cjpeg" \
    "${median_of[floor]}" "1" ""
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "mogrify -quality 75" "${median_of[mogrify]}" \
    "$(ratio "${median_of[mogrify]}" "${median_of[batch_p]}") x the batch mode" "> 1 (batch faster)"
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "batch, 1 job" "${median_of[batch_1]}" \
    "$(ratio "${median_of[batch_1]}" "${median_of[batch_p]}") x $processors jobs" ">= 1.8 on 2 processors"

# The most encodes a picture takes to find the smallest file at a similarity of 0.95.
most=$("$program" --batch --json --min-ssim 0.95 --output "$work/out-ssim" "$work/in/photo0.jpg" \
    "$work/in/photo1.jpg" | grep -o '"encodes":[0-9]*' | cut -d: -f2 | sort -n | tail -n 1)
printf '| %-34s | %9s | %-28s | %-20s |\n' "--min-ssim 0.95, encodes a picture" "" "$most" "<= 7"
