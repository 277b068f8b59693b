#!/usr/bin/env python3
"""Writes the viewer's open-hand cursor, cursOru1.xpm: 32 x 32, black outline, white inside,
everything else transparent. The hot spot is the top-left pixel, which the program sets.
"""
import math
import os

SIZE = 32
PALM_TOP = 14

# Fingers and thumb as capsules: (x1, y1, x2, y2, radius), tip first.
FINGERS = [
    (10.0, 4.0, 11.5, 15.0, 2.1),   # index
    (15.0, 2.0, 15.5, 15.0, 2.1),   # middle
    (20.0, 4.0, 19.5, 15.0, 2.1),   # ring
    (24.5, 8.0, 23.0, 17.0, 1.9),   # little
    (3.5, 13.5, 9.0, 21.0, 2.2),    # thumb
]


def in_capsule(x, y, capsule):
    x1, y1, x2, y2, radius = capsule
    dx, dy = x2 - x1, y2 - y1
    t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (x1 + t * dx), y - (y1 + t * dy)) <= radius


def in_palm(x, y):
    # A rounded block narrowing into the wrist.
    if 8.5 <= x <= 25.0 and PALM_TOP <= y <= 25.0:
        corner = (x < 11 and y > 23) or (x > 22.5 and y > 23)
        return not corner or math.hypot(x - (11 if x < 11 else 22.5), y - 23) <= 2.5
    return 11.0 <= x <= 22.5 and 25.0 < y <= 30.0


def shape():
    fill = [[False] * SIZE for _ in range(SIZE)]
    owner = [[None] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            cx, cy = x + 0.5, y + 0.5
            for index, capsule in enumerate(FINGERS):
                if in_capsule(cx, cy, capsule):
                    fill[y][x] = True
                    owner[y][x] = index if owner[y][x] is None else owner[y][x]
            if in_palm(cx, cy):
                fill[y][x] = True
                owner[y][x] = "palm"
    return fill, owner


def outlined(fill, owner):
    rows = []
    for y in range(SIZE):
        row = ""
        for x in range(SIZE):
            if not fill[y][x]:
                row += " "
                continue
            edge = False
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < SIZE and 0 <= ny < SIZE) or not fill[ny][nx]:
                    edge = True
                elif owner[y][x] != "palm" and owner[ny][nx] not in (owner[y][x], "palm"):
                    edge = True  # the line between two fingers
            row += "#" if edge else "."
        rows.append(row)
    return rows


def main():
    rows = outlined(*shape())
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "cursOru1.xpm"), "w") as out:
        out.write("/* XPM */\nstatic const char* cursOru1[] = {\n")
        out.write('"%d %d 3 1",\n" \tc None",\n"#\tc #000000",\n".\tc #FFFFFF",\n' % (SIZE, SIZE))
        out.write(",\n".join('"%s"' % row for row in rows))
        out.write("};\n")


if __name__ == "__main__":
    main()
