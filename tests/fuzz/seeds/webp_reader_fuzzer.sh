#!/usr/bin/env bash
# Makes small WebP files into the folder given, as seeds for webp_reader_fuzzer: lossy and
# lossless, transparency, an animation with frames off its canvas's corner, and the colour
# profile, EXIF and XMP chunks. A tool that is missing only costs its seeds.
set -uo pipefail
corpus=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 16x12 gradient:red-blue -depth 8 "PNG24:$work/rgb.png" || exit 0
convert -size 16x12 xc:none -fill 'rgba(255,0,0,0.5)' -draw 'rectangle 0,0 7,11' \
    "PNG32:$work/alpha.png"
convert -size 8x6 xc:red "PNG24:$work/small.png"

quiet() { "$@" >/dev/null 2>&1; }
quiet cwebp -q 50 "$work/rgb.png" -o "$corpus/lossy.webp"
quiet cwebp -lossless "$work/rgb.png" -o "$corpus/lossless.webp"
quiet cwebp -q 50 "$work/alpha.png" -o "$corpus/lossy-alpha.webp"
quiet cwebp -lossless "$work/alpha.png" -o "$corpus/lossless-alpha.webp"
quiet cwebp -lossless "$work/small.png" -o "$work/small.webp"
quiet webpmux -frame "$work/small.webp" +100+4+4 -frame "$corpus/lossless.webp" +100+0+0 \
    -loop 0 -o "$corpus/animation.webp"
# The chunks a photograph's file may carry: a profile, EXIF that turns it, XMP.
printf 'II*\0\10\0\0\0\1\0\22\1\3\0\1\0\0\0\6\0\0\0\0\0\0\0' >"$work/exif"
printf '<x:xmpmeta xmlns:x="adobe:ns:meta/"/>' >"$work/xmp"
# Any bytes will do for the profile: the fuzzer makes them into the rest.
printf 'acspRGB XYZ mntr' >"$work/profile.icc"
quiet webpmux -set icc "$work/profile.icc" "$corpus/lossy.webp" -o "$work/icc.webp" &&
    quiet webpmux -set exif "$work/exif" "$work/icc.webp" -o "$work/exif.webp" &&
    quiet webpmux -set xmp "$work/xmp" "$work/exif.webp" -o "$corpus/metadata.webp"
exit 0
