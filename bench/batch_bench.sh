#!/usr/bin/env bash
# The batch mode against its floor and against ImageMagick, side by side in one run, on
# photograph-like JPEG files, half of 12 and half of 24 megapixels, at quality 75:
#   batch, P jobs      trevano --batch --jobs P, P the number of processors, in its own coding
#                      (progressive with optimised tables)
#   floor              xargs -P P running djpeg -dct float | cjpeg -dct float -quality 75
#                      -optimize -progressive on each file: the decode and the encode the batch
#                      mode makes (both with the float DCT, as the program's), and nothing else
#   --baseline         the batch mode writing the window's default coding, against
#   baseline floor     the same floor without -optimize -progressive
#   mogrify            ImageMagick's mogrify -quality 75 on the same files
#   batch, 1 job       the same run one picture at a time, for the speed-up of P jobs
# and the search for a similarity against a plain quality on one file of each size:
#   --min-ssim 0.95    the lowest quality reaching a similarity of 0.95, against
#   --quality 75       one encode of the same file, in the same coding
# Each case runs three times, the cases taking turns, and the table compares medians; every
# run is checked to have written one JPEG file a picture.
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
case_baseline() {
    "$program" --batch --quiet --baseline --jobs "$processors" --output "$1" "$work/in"/*.jpg
}
floor() {
    # shellcheck disable=SC2016
    printf '%s\0' "$work/in"/*.jpg | xargs -0 -P "$processors" -I{} sh -c \
        'djpeg -dct float "$1" | cjpeg -dct float -quality 75 $3 > "$2/$(basename "$1")"' \
        _ {} "$1" "$2"
}
case_floor() { floor "$1" "-optimize -progressive"; }
case_floor_baseline() { floor "$1" ""; }
case_mogrify() { mogrify -quality 75 -path "$1" "$work/in"/*.jpg; }
# One picture of each size alone, one job, as a user waits for it.
aim() { "$program" --batch --quiet --jobs 1 "$@" "$work/in/photo0.jpg" "$work/in/photo1.jpg"; }
case_ssim() { aim --min-ssim 0.95 --output "$1"; }
case_quality() { aim --quality 75 --output "$1"; }

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
    local expected=$files
    [[ $1 == ssim || $1 == quality ]] && expected=2
    [[ "$written" == "$expected" ]] ||
        { echo "case $1 wrote $written files of $expected" >&2; exit 1; }
    [[ "$(head -c 2 "$(find "$out" -name '*.jpg' | head -n 1)" | xxd -p)" == ffd8 ]] ||
        { echo "case $1 wrote no JPEG file" >&2; exit 1; }
    echo "$elapsed"
}

declare -A times
cases=(batch_p floor baseline floor_baseline mogrify batch_1 ssim quality)
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
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "floor: cjpeg -optimize -progressive" \
    "${median_of[floor]}" "1" ""
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "batch --baseline, $processors jobs" \
    "${median_of[baseline]}" \
    "$(ratio "${median_of[baseline]}" "${median_of[floor_baseline]}") x the baseline floor" \
    "<= 1.10 x that floor"
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "baseline floor: djpeg | cjpeg" \
    "${median_of[floor_baseline]}" "1" ""
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "mogrify -quality 75" "${median_of[mogrify]}" \
    "$(ratio "${median_of[mogrify]}" "${median_of[batch_p]}") x the batch mode" "> 1 (batch faster)"
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "batch, 1 job" "${median_of[batch_1]}" \
    "$(ratio "${median_of[batch_1]}" "${median_of[batch_p]}") x $processors jobs" ">= 1.8 on 2 processors"
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "--min-ssim 0.95, 12 + 24 MP, 1 job" \
    "${median_of[ssim]}" "$(ratio "${median_of[ssim]}" "${median_of[quality]}") x --quality 75" \
    "<= 4 x --quality 75"
printf '| %-34s | %7d ms | %-28s | %-20s |\n' "--quality 75, the same two files" \
    "${median_of[quality]}" "1" ""

# The encodes each picture's search took.
encodes=$("$program" --batch --json --min-ssim 0.95 --output "$work/out-encodes" \
    "$work/in/photo0.jpg" "$work/in/photo1.jpg" | grep -o '"encodes":[0-9]*' | cut -d: -f2 |
    tr '\n' ' ')
printf '| %-34s | %9s | %-28s | %-20s |\n' "--min-ssim 0.95, encodes a picture" "" "$encodes" \
    "<= 5 (4 tries + the file)"
