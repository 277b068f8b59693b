#!/usr/bin/env bash
# Makes small HEIF and AVIF files into the folder given, as seeds for heif_reader_fuzzer: the
# codecs, transparency, a 10-bit picture, colour numbers, EXIF and a thumbnail. A tool that
# is missing, or refuses one of them, only costs that seed.
set -uo pipefail
corpus=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 16x12 gradient:red-blue -depth 8 "PNG24:$work/rgb.png" || exit 0
convert -size 16x12 gradient:green-yellow -depth 16 "PNG48:$work/deep.png"
convert -size 16x12 xc:none -fill 'rgba(255,0,0,0.5)' -draw 'rectangle 0,0 7,11' \
    "PNG32:$work/alpha.png"
# A JPEG file whose EXIF block turns it, which heif-enc carries into the HEIF file.
convert "$work/rgb.png" "$work/plain.jpg"
{
    printf '\xff\xd8\xff\xe1\x00\x22Exif\0\0II*\0\10\0\0\0\1\0\22\1\3\0\1\0\0\0\6\0\0\0\0\0\0\0'
    tail -c +3 "$work/plain.jpg"
} >"$work/turned.jpg"

heif() {
    local name=$1
    shift
    heif-enc -q 50 "$@" -o "$corpus/$name" >/dev/null 2>&1 || rm -f "$corpus/$name"
}
heif rgb.heic "$work/rgb.png"
heif rgb.avif "$work/rgb.png"
heif alpha.heic "$work/alpha.png"
heif alpha.avif "$work/alpha.png"
heif deep.heic -b 10 "$work/deep.png"
heif turned.heic "$work/turned.jpg"
heif thumbnail.heic -t 8 "$work/rgb.png"
heif p3.avif --colour_primaries 12 --transfer_characteristic 13 "$work/rgb.png"
heif pq.avif --colour_primaries 9 --transfer_characteristic 16 "$work/rgb.png"
exit 0
