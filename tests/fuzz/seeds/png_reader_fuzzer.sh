#!/usr/bin/env bash
# Makes small PNG files of every colour type, depth and interlacing into the folder $1, and one
# with the chunks the reader keeps: a colour profile, an EXIF block and an XMP packet.
set -euo pipefail
out=$1
command -v convert >/dev/null || exit 0
base=(-seed 1 -size 9x7 plasma:fractal)
convert "${base[@]}" -depth 8 "$out/rgb8.png"
convert "${base[@]}" -depth 16 -interlace PNG "$out/rgb16-interlaced.png"
convert "${base[@]}" -alpha set -channel A -evaluate set 50% +channel "$out/rgba8.png"
convert "${base[@]}" -colorspace gray -depth 16 "$out/grey16.png"
convert "${base[@]}" -colorspace gray -alpha set -define png:color-type=4 "$out/grey-alpha.png"
convert "${base[@]}" -monochrome "$out/grey1.png"
convert "${base[@]}" -colors 5 -define png:color-type=3 -interlace PNG "$out/palette-interlaced.png"
# The chunks put in by hand, which ImageMagick writes in forms of its own.
python3 - "$out" <<'PYTHON'
import struct, sys, zlib

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

def after(png, kind, extra):
    at = 8
    while png[at + 4:at + 8] != kind:
        at += 12 + struct.unpack('>I', png[at:at + 4])[0]
    at += 12 + struct.unpack('>I', png[at:at + 4])[0]
    return png[:at] + extra + png[at:]

folder = sys.argv[1]
palette = open(folder + '/palette-interlaced.png', 'rb').read()
open(folder + '/palette-trns.png', 'wb').write(after(palette, b'PLTE', chunk(b'tRNS', b'\0\x80')))
exif = b'MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0'
extra = (chunk(b'iCCP', b'profile\0\0' + zlib.compress(bytes(range(256)) * 2)) +
         chunk(b'eXIf', exif) +
         chunk(b'iTXt', b'XML:com.adobe.xmp\0\0\0\0\0<x:xmpmeta xmlns:x="adobe:ns:meta/"/>'))
png = open(folder + '/rgb8.png', 'rb').read()
open(folder + '/metadata.png', 'wb').write(after(png, b'IHDR', extra))
PYTHON
