#!/usr/bin/env bash
# Bytes at equal look: how large a file each encoder needs to make a photograph look as good,
# judged by the program's own similarity (SSIM on brightness, bench/look_similarity) and by
# butteraugli (a model of the eye; lower is better). Each encoder is swept over qualities on
# photographs from Debian's mate-backgrounds, scaled to about a megapixel:
#   window       trevano --batch --baseline: the window's default file (libjpeg's defaults,
#                baseline, the float DCT), the column the others are divided by
#   batch        trevano --batch: progressive scans, optimised tables (the same pixels)
#   jpegtran     jpegtran -optimize -progressive of the window's file (the same pixels)
#   mozjpeg      the web compressors' encoder, npm's @jsquash/jpeg with its default options
#   smallest     trevano --batch --smallest, when the program has it
# For each photograph and encoder the bytes reaching a look are interpolated on the log of the
# bytes between the two qualities around it; the table gives, for each look, the geometric
# mean over photographs of those bytes over the window's file's. A look an encoder does
# not reach within its qualities (or already passes at the lowest) is said, not extrapolated.
# The web encoder keeps colour at full resolution from quality 90 up (below, at half across),
# so its curve jumps there: 88 and 90 are both swept to keep the jump between two close points.
# A second part times, on one 6000 x 4000 picture at quality 75, cjpeg -optimize -progressive
# against trevano --batch --smallest and the default batch coding, medians of three turns.
#   bench/look_bench.sh [--program TREVANO] [--full] [--photos N] [--no-speed]
#     --program   another build of the program (build/src/app/trevano by default)
#     --full      the photographs at their own size (1.3 to 4.9 megapixels) instead of 1
#     --photos N  the first N photographs of the list below (8 by default, 12 at most)
#     --no-speed  the bytes table only
# LOOK_BENCH_KEEP=FILE keeps the measured points there, one line a file:
#   PHOTO ENCODER QUALITY BYTES SSIM BUTTERAUGLI
set -euo pipefail
program=""
full=false
photos=8
speed=true
while (($#)); do
    case $1 in
    --program) program=$(realpath "$2") && shift ;;
    --full) full=true ;;
    --photos) photos=$2 && shift ;;
    --no-speed) speed=false ;;
    *)
        echo "usage: bench/look_bench.sh [--program TREVANO] [--full] [--photos N] [--no-speed]" >&2
        exit 2
        ;;
    esac
    shift
done
cd "$(dirname "$0")/.."

# The camera photographs first; the last four are smaller files, saved harder before.
gallery=/usr/share/backgrounds/mate/nature
names=(Blinds Dune LadyBird RainDrops Storm TwoWings Wood YellowFlower Garden Aqua GreenMeadow
    FreshFlower)
qualities=(5 10 20 30 40 50 60 70 76 82 88 90 95 98)
looks=("butteraugli 3.0" "butteraugli 2.0" "butteraugli 1.5" "SSIM 0.93" "SSIM 0.95" "SSIM 0.98")

missing=()
for tool in butteraugli:butteraugli node:nodejs npm:npm convert:imagemagick cjpeg:libjpeg-turbo-progs \
    jpegtran:libjpeg-turbo-progs identify:imagemagick; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
if ((${#missing[@]})); then
    echo "look_bench needs: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
[[ -d $gallery ]] || { echo "look_bench needs: sudo apt-get install mate-backgrounds" >&2 && exit 1; }

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target trevano look_similarity >/dev/null
program=${program:-$(realpath build/src/app/trevano)}
similarity=$(realpath build/bench/look_similarity)
# The encoder's package stays in the build folder, out of the repository and of CI.
node_folder=$(realpath -m build/bench-node)
if [[ ! -d $node_folder/node_modules/@jsquash/jpeg ]]; then
    mkdir -p "$node_folder"
    (cd "$node_folder" && npm install --no-audit --no-fund --silent @jsquash/jpeg@1.6.0 >/dev/null)
fi
encoders=(window batch jpegtran mozjpeg)
if "$program" --help 2>&1 | grep -q -- --smallest; then
    encoders+=(smallest)
else
    echo "note: $program has no --smallest yet; its column is left out" >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export program similarity node_folder work full gallery
export qualities_list="${qualities[*]}" encoders_list="${encoders[*]}"

# The source of one photograph: PPM for the web encoder, BMP for the program (which reads no
# PPM) and PNG for butteraugli, the same pixels in all three.
make_source() {
    local folder=$work/$1
    mkdir -p "$folder"
    local resize=()
    [[ $full == true ]] || resize=(-resize 1000000@)
    convert "$gallery/$1.jpg" "${resize[@]}" -strip "$folder/source.ppm"
    convert "$folder/source.ppm" BMP3:"$folder/source.bmp"
    convert "$folder/source.ppm" "$folder/source.png"
}

# One encoder's sweep of one photograph, written as QUALITY.jpg in a folder of its name.
encode_with() {
    local photo=$work/$1 encoder=$2 quality
    local out=$photo/$encoder
    mkdir -p "$out"
    if [[ $encoder == mozjpeg ]]; then
        # shellcheck disable=SC2086
        node bench/look_mozjpeg.mjs "$node_folder" "$photo/source.ppm" "$out" $qualities_list
        return
    fi
    for quality in $qualities_list; do
        case $encoder in
        window) trevano_into "$photo" "$out/$quality.jpg" --baseline --quality "$quality" ;;
        batch) trevano_into "$photo" "$out/$quality.jpg" --quality "$quality" ;;
        smallest) trevano_into "$photo" "$out/$quality.jpg" --smallest --quality "$quality" ;;
        jpegtran)
            jpegtran -optimize -progressive "$photo/window/$quality.jpg" >"$out/$quality.jpg"
            ;;
        esac
    done
}

# The program writes SOURCE.jpg into the folder it is given; the file is moved to its name.
trevano_into() {
    local photo=$1 target=$2
    shift 2
    local out
    out=$(mktemp -d "$photo/run.XXXX")
    "$program" --batch --quiet --output "$out" "$@" "$photo/source.bmp"
    mv "$out"/*.jpg "$target"
    rmdir "$out"
}

# Every encoder of one photograph, the window's first since jpegtran starts from it.
encode_photo() {
    make_source "$1"
    local encoder
    for encoder in $encoders_list; do
        encode_with "$1" "$encoder"
    done
    "$similarity" "$work/$1/source.bmp" "$work/$1"/*/*.jpg >"$work/$1/ssim.txt"
    same_pixels "$work/$1"
}

# The files whose pixels are the window's file's at the same quality (the batch coding and
# jpegtran's change only the entropy coding), listed as "FILE DESCRIBED_FILE" so butteraugli,
# the slow judge, scores each picture once. A file that decodes otherwise is judged itself.
same_pixels() {
    local file window
    for file in "$1"/*/*.jpg; do
        window=$1/window/${file##*/}
        [[ $file != "$window" ]] || continue
        if cmp -s <(djpeg "$file") <(djpeg "$window"); then
            echo "$file $window"
        fi
    done >"$1/same.txt"
}

butteraugli_of() {
    local file
    for file in "$@"; do
        local photo=${file%/*/*}
        echo "$file $(butteraugli "$photo/source.png" "$file")"
    done
}
export -f make_source encode_with trevano_into encode_photo same_pixels butteraugli_of

# shellcheck disable=SC2016
printf '%s\n' "${names[@]:0:photos}" | xargs -P2 -I{} bash -c 'encode_photo "$1"' _ {}
cat "$work"/*/same.txt >"$work/same.txt"
find "$work" -name '*.jpg' -path '*/*/*/*' | sort | grep -vxF -f <(cut -d' ' -f1 "$work/same.txt") |
    xargs -P2 -n 14 bash -c 'butteraugli_of "$@"' _ >"$work/judged.txt"
# A file of the same pixels takes its window twin's score.
while read -r file window; do
    echo "$file $(grep -F "$window " "$work/judged.txt" | cut -d' ' -f2)"
done <"$work/same.txt" | cat "$work/judged.txt" - >"$work/butteraugli.txt"

# One line a file: photo encoder quality bytes ssim butteraugli.
for name in "${names[@]:0:photos}"; do
    for encoder in "${encoders[@]}"; do
        for quality in "${qualities[@]}"; do
            file=$work/$name/$encoder/$quality.jpg
            [[ -s $file ]] || { echo "$encoder wrote no $name at $quality" >&2 && exit 1; }
            echo "$name $encoder $quality $(stat -c %s "$file")" \
                "$(grep -F "$file " "$work/$name/ssim.txt" | cut -d' ' -f2)" \
                "$(grep -F "$file " "$work/butteraugli.txt" | cut -d' ' -f2)"
        done
    done
done >"$work/points.txt"
if [[ -n ${LOOK_BENCH_KEEP:-} ]]; then
    cp "$work/points.txt" "$LOOK_BENCH_KEEP"
fi

size_note="about 1 megapixel"
[[ $full == false ]] || size_note="at their own size"
echo
echo "Bytes at equal look, geometric mean over $photos photographs ($size_note) of each encoder's"
echo "bytes over the window's file's; qualities ${qualities[0]} to ${qualities[-1]}."
awk -v encoders="${encoders[*]}" -v looks="$(printf '%s;' "${looks[@]}")" \
    -f bench/look_table.awk "$work/points.txt"

[[ $speed == true ]] || exit 0

# Speed: one 24-megapixel picture, each case three times in turns, the medians compared.
convert "$gallery/${names[0]}.jpg" -resize '6000x4000!' -strip "$work/big.ppm"
convert "$work/big.ppm" BMP3:"$work/big.bmp"
case_cjpeg() { cjpeg -optimize -progressive -quality 75 "$work/big.ppm" >"$1/big.jpg"; }
case_batch() { "$program" --batch --quiet --quality 75 --output "$1" "$work/big.bmp"; }
case_smallest() { "$program" --batch --quiet --smallest --quality 75 --output "$1" "$work/big.bmp"; }
cases=(cjpeg batch)
[[ " ${encoders[*]} " == *" smallest "* ]] && cases+=(smallest)
run_case() {
    local out=$work/speed-$1
    rm -rf "$out" && mkdir -p "$out"
    local start
    start=$(date +%s%N)
    "case_$1" "$out" >/dev/null
    local elapsed=$((($(date +%s%N) - start) / 1000000))
    [[ "$(identify -format '%m %wx%h' "$out/big.jpg" 2>/dev/null)" == "JPEG 6000x4000" ]] ||
        { echo "case $1 wrote no 6000 x 4000 JPEG file" >&2 && exit 1; }
    echo "$elapsed"
}
declare -A times
for _ in 1 2 3; do
    for name in "${cases[@]}"; do
        times[$name]+="$(run_case "$name") "
    done
done
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | sed -n 2p; }
echo
echo "One 6000 x 4000 picture at quality 75, medians of 3 turns:"
printf '| %-40s | %9s | %-16s |\n' case time "x cjpeg"
printf '|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..42})" "$(printf -- '-%.0s' {1..11})" \
    "$(printf -- '-%.0s' {1..18})"
floor=$(median "${times[cjpeg]}")
for name in "${cases[@]}"; do
    case $name in
    cjpeg) label="cjpeg -optimize -progressive" ;;
    batch) label="trevano --batch" ;;
    smallest) label="trevano --batch --smallest" ;;
    esac
    ms=$(median "${times[$name]}")
    printf '| %-40s | %6d ms | %-16s |\n' "$label" "$ms" \
        "$(awk -v a="$ms" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')"
done
if [[ " ${cases[*]} " != *" smallest "* ]]; then
    echo "(trevano --batch --smallest: not in this program yet)"
fi
