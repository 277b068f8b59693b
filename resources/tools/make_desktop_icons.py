#!/usr/bin/env python3
"""Writes the larger desktop icons, icons/trevano-<size>.png, from the window icon trevano.png.

Menus and launchers show an application's icon at 48 pixels and more; the 32 x 32 window icon
scaled there by the desktop would be blurred. Each pixel becomes a square of 2, 4 or 8 pixels
instead, so the larger icons are the same picture, as sharp. Run it again after the window
icon changes (the install test compares them). Needs Pillow (Debian's python3-pil).
"""
import os

from PIL import Image

RESOURCES = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIZES = [64, 128, 256]


def main():
    icon = Image.open(os.path.join(RESOURCES, "trevano.png")).convert("RGBA")
    os.makedirs(os.path.join(RESOURCES, "icons"), exist_ok=True)
    for size in SIZES:
        larger = icon.resize((size, size), Image.NEAREST)
        larger.save(os.path.join(RESOURCES, "icons", "trevano-%d.png" % size), optimize=True)


if __name__ == "__main__":
    main()
