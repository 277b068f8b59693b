#!/usr/bin/env python3
"""Writes the desktop icon, icons/trevano-<size>.png for the sizes desktops ask for most.

A landscape photograph whose right half is drawn in coarse blocks, as a strongly compressed
JPEG looks, above a quality slider, on a dark rounded tile. Only the standard library: the
shapes are sampled 4 x 4 times a pixel and written as 8-bit RGBA PNG files.
Run it from anywhere; it writes into the resources folder beside it.
"""
import math
import os
import struct
import zlib

SIZES = [32, 48, 64, 128, 256]
SAMPLES = 4  # per pixel and direction

TILE = (38, 50, 63)
TILE_EDGE = (18, 24, 31)
SKY_TOP = (60, 116, 196)
SKY_LOW = (236, 214, 172)
SUN = (255, 240, 170)
HILL = (70, 132, 52)
HILL_DARK = (44, 92, 34)
TRACK = (200, 206, 214)
THUMB = (240, 138, 36)

PHOTO = (0.12, 0.12, 0.88, 0.68)  # left, top, right, bottom
BLOCK = 0.095  # side of a "compressed" block, in tile units


def inside_rounded(u, v, left, top, right, bottom, radius):
    if not (left <= u <= right and top <= v <= bottom):
        return False
    cx = min(max(u, left + radius), right - radius)
    cy = min(max(v, top + radius), bottom - radius)
    return math.hypot(u - cx, v - cy) <= radius


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def landscape(u, v):
    """The photograph at a point of the photo area."""
    left, top, right, bottom = PHOTO
    hill = 0.52 + 0.05 * math.sin((u - left) * 7.0)
    if v >= hill:
        return mix(HILL, HILL_DARK, min(1.0, (v - hill) / (bottom - hill)))
    if math.hypot(u - 0.47, v - 0.32) <= 0.11:
        return SUN
    return mix(SKY_TOP, SKY_LOW, (v - top) / (hill - top))


def photo(u, v):
    left, top, right, bottom = PHOTO
    middle = (left + right) / 2
    if abs(u - middle) <= 0.008:
        return (250, 250, 250)  # the line between the two halves
    if u > middle:
        # The compressed half: each block shows the colour at its centre.
        bu = middle + (math.floor((u - middle) / BLOCK) + 0.5) * BLOCK
        bv = top + (math.floor((v - top) / BLOCK) + 0.5) * BLOCK
        return landscape(min(bu, right), min(bv, bottom))
    return landscape(u, v)


def colour(u, v):
    """Colour and opacity of the icon at a point of the unit square."""
    if not inside_rounded(u, v, 0.02, 0.02, 0.98, 0.98, 0.17):
        return (0, 0, 0, 0)
    if not inside_rounded(u, v, 0.05, 0.05, 0.95, 0.95, 0.14):
        return TILE_EDGE + (255,)
    left, top, right, bottom = PHOTO
    if left <= u <= right and top <= v <= bottom:
        return photo(u, v) + (255,)
    if inside_rounded(u, v, 0.56, 0.72, 0.68, 0.92, 0.025):
        return THUMB + (255,)
    if inside_rounded(u, v, 0.14, 0.80, 0.86, 0.84, 0.02):
        return TRACK + (255,)
    return TILE + (255,)


def render(size):
    rows = []
    for y in range(size):
        row = bytearray([0])  # PNG filter type: none
        for x in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (x + (sx + 0.5) / SAMPLES) / size
                    v = (y + (sy + 0.5) / SAMPLES) / size
                    r, g, b, a = colour(u, v)
                    # Colours weighted by opacity, so the tile's edge does not darken.
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            alpha = total[3] / (SAMPLES * SAMPLES)
            if total[3] == 0:
                row += bytes(4)
            else:
                row += bytes(round(total[i] / total[3]) for i in range(3)) + bytes([round(alpha)])
        rows.append(bytes(row))
    return b"".join(rows)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def write_png(path, size, pixels):
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(pixels, 9)))
        out.write(chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, "..", "icons")
    os.makedirs(folder, exist_ok=True)
    for size in SIZES:
        write_png(os.path.join(folder, "trevano-%d.png" % size), size, render(size))


if __name__ == "__main__":
    main()
