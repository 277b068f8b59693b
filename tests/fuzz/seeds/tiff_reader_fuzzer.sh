#!/usr/bin/env bash
# Makes small TIFF files into the folder $1: the layouts read as stored (grey, palette, RGB of
# 1 to 16 bits, in strips or tiles, under several compressions) and some left to libtiff's
# conversion (separate planes, YCbCr, CMYK), with transparency, an orientation and a second page.
set -euo pipefail
out=$1
command -v convert >/dev/null || exit 0
base=(-seed 1 -size 9x7 plasma:fractal)
convert "${base[@]}" -depth 8 -compress none "$out/rgb8.tif"
convert "${base[@]}" -depth 16 -compress zip "$out/rgb16-deflate.tif"
convert "${base[@]}" -depth 8 -compress lzw -define tiff:tile-geometry=16x16 "$out/tiles-lzw.tif"
convert "${base[@]}" -depth 8 -interlace plane -compress rle "$out/planes.tif"
convert "${base[@]}" -depth 8 -compress jpeg "$out/ycbcr-jpeg.tif"
convert "${base[@]}" -colorspace cmyk -depth 8 "$out/cmyk.tif"
convert "${base[@]}" -colorspace gray -depth 16 "$out/grey16.tif"
convert "${base[@]}" -monochrome -compress group4 "$out/fax.tif"
convert "${base[@]}" -colors 5 -type palette "$out/palette.tif"
convert "${base[@]}" -alpha set -channel A -evaluate set 50% +channel "$out/rgba.tif"
convert "${base[@]}" -depth 8 -orient RightTop "$out/turned.tif"
convert "$out/rgb8.tif" "$out/grey16.tif" "$out/two-pages.tif"
