#!/usr/bin/env python3
"""Draws the help window's background and the program's icon, beside the resources folder:

- Fond_aide.bmp: 640 x 480, 256 colours. A white oval with a navy rim fills the picture but
  for a margin of 5 pixels; outside it every pixel has the colour RGB(1,0,0), the colour of the
  bottom-left pixel, which the help window leaves see-through. The program's name stands above
  the text area (left 48, top 123, 544 x 235) and a quality slider below it. No pixel of the
  oval has the outer colour, nor RGB(1,1,1), the window's own see-through colour.
- trevano.png: 32 x 32, 16 colours, transparent corners. A landscape photograph whose right
  half is coarse blocks: a picture and its compressed copy.

Needs Pillow and the Liberation fonts (Debian's python3-pil and fonts-liberation2, so run it
with the system's /usr/bin/python3). Shapes are drawn four times larger and scaled down, so
edges inside the oval are smooth. The results are committed; the build only copies them.
"""
import os

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.dirname(HERE)
FONTS = "/usr/share/fonts/truetype/liberation2"

S = 4  # supersampling factor
W, H = 640, 480
OVAL = (5, 5, 635, 475)  # left, top, right, bottom: a margin of 5 pixels
TEXT_AREA = (48, 123, 592, 358)

OUTER = (1, 0, 0)
WINDOW_KEY = (1, 1, 1)
WHITE = (255, 255, 255)
NAVY = (22, 44, 96)
BLUE = (46, 98, 178)
SKY = (150, 196, 240)
PALE = (226, 236, 250)
CAP = (212, 228, 248)
GOLD = (232, 170, 40)
GREY = (120, 130, 150)
GREEN = (40, 140, 70)
DARK_GREEN = (20, 96, 50)


def font(name, size):
    return ImageFont.truetype(os.path.join(FONTS, name), size * S)


def box(left, top, right, bottom):
    return [left * S, top * S, right * S - 1, bottom * S - 1]


def inside_oval(x, y, oval=OVAL):
    """Whether the centre of pixel (x, y) lies in the oval."""
    left, top, right, bottom = oval
    cx, cy = (left + right) / 2, (top + bottom) / 2
    rx, ry = (right - left) / 2, (bottom - top) / 2
    return ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0


def inset(rect, by):
    left, top, right, bottom = rect
    return (left + by, top + by, right - by, bottom - by)


def centred_text(draw, y, text, face, fill, x=W / 2):
    width = draw.textlength(text, font=face)
    draw.text((x * S - width / 2, y * S), text, font=face, fill=fill)
    return width / S


def blend(light, dark, depth):
    return tuple(round(a + (b - a) * depth) for a, b in zip(light, dark))


def draw_rim(canvas):
    # The oval's edge is left hard (it is cut out of the window anyway); the canvas is navy,
    # so the pixels along the cut are rim colour, never a blend with the outer colour.
    draw = ImageDraw.Draw(canvas)
    draw.ellipse(box(*inset(OVAL, 4)), fill=BLUE)
    draw.ellipse(box(*inset(OVAL, 6)), fill=PALE)
    # White inside, with light caps behind the lettering that fade out before the text area.
    inner = Image.new("RGB", canvas.size, WHITE)
    shade = ImageDraw.Draw(inner)
    for y in range(H * S):
        depth = min(1.0, max(0.0, 1 - (y / S - 14) / 100, 1 - (H - 14 - y / S) / 100))
        shade.line([(0, y), (W * S, y)], fill=blend(WHITE, CAP, depth ** 1.6))
    oval = Image.new("L", canvas.size, 0)
    ImageDraw.Draw(oval).ellipse(box(*inset(OVAL, 9)), fill=255)
    canvas.paste(inner, (0, 0), oval)


def draw_title(draw):
    name = font("LiberationSerif-BoldItalic.ttf", 46)
    version = font("LiberationSans-Bold.ttf", 15)
    width = centred_text(draw, 38, "Trevano", name, NAVY, x=W / 2 - 18)
    draw.text(((W / 2 - 18 + width / 2 + 8) * S, 64 * S), "V2.0", font=version, fill=BLUE)
    # Small square blocks on either side, fading out: what a JPEG picture is made of.
    shades = [BLUE, SKY, PALE]
    for i, shade in enumerate(shades):
        for side in (-1, 1):
            x = W / 2 + side * (150 + i * 16)
            draw.rectangle(box(x - 5, 58, x + 5, 68), fill=shade)
    draw.line([(150 * S, 104 * S), (490 * S, 104 * S)], fill=SKY, width=2 * S)
    draw.ellipse(box(314, 98, 326, 110), fill=GOLD)


def draw_slider(draw):
    # The quality slider as the main window shows it, its thumb well up the scale.
    left, right, y = 190, 450, 386
    draw.rounded_rectangle(box(left, y - 3, right, y + 3), radius=3 * S, fill=PALE,
                           outline=GREY, width=S)
    thumb = left + (right - left) * 0.75
    draw.rounded_rectangle(box(left, y - 2, thumb, y + 2), radius=2 * S, fill=SKY)
    for i in range(11):
        x = left + (right - left) * i / 10
        draw.line([(x * S, (y + 8) * S), (x * S, (y + 12) * S)], fill=GREY, width=S)
    draw.polygon([((thumb - 7) * S, (y - 10) * S), ((thumb + 7) * S, (y - 10) * S),
                  ((thumb + 7) * S, (y + 4) * S), (thumb * S, (y + 11) * S),
                  ((thumb - 7) * S, (y + 4) * S)], fill=BLUE, outline=NAVY)
    small = font("LiberationSans-Bold.ttf", 12)
    centred_text(draw, y - 7, "0 %", small, GREY, x=left - 24)
    centred_text(draw, y - 7, "100 %", small, GREY, x=right + 30)
    formats = font("LiberationSans-Bold.ttf", 17)
    centred_text(draw, 412, "BMP   \u2192   JPG", formats, NAVY)


def help_background():
    big = Image.new("RGB", (W * S, H * S), NAVY)
    draw_rim(big)
    draw = ImageDraw.Draw(big)
    draw_title(draw)
    draw_slider(draw)
    picture = big.resize((W, H), Image.BOX)
    return to_256_colours(picture)


def with_table(picture, colours, outside=None):
    """The picture in table colours, each pixel the nearest entry (Pillow's own mapping only
    comes close); pixels for which `outside` holds take the last entry."""
    nearest = {}
    for _, colour in picture.getcolors(W * H):
        nearest[colour] = min(range(len(colours) - 1),
                              key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, colours[i])))
    table = Image.new("P", picture.size)
    entries = [channel for colour in colours for channel in colour]
    table.putpalette(entries)
    last = len(colours) - 1
    source, indices = picture.load(), table.load()
    for y in range(picture.size[1]):
        for x in range(picture.size[0]):
            indices[x, y] = last if outside and outside(x, y) else nearest[source[x, y]]
    return table


def ramps(pairs, steps):
    """Every colour between each pair, ends included: the blends smooth edges are made of."""
    colours = []
    for light, dark in pairs:
        for i in range(steps + 1):
            colour = blend(light, dark, i / steps)
            if colour not in colours:
                colours.append(colour)
    return colours


def to_256_colours(picture):
    """255 colours for the oval, the last table entry for the outer colour alone."""
    colours = ramps([(WHITE, c) for c in (NAVY, BLUE, SKY, PALE, CAP, GOLD, GREY)], 24)
    colours += ramps([(BLUE, NAVY), (PALE, BLUE), (SKY, BLUE), (SKY, GOLD), (SKY, PALE),
                      (CAP, NAVY), (CAP, BLUE), (CAP, GREY)], 12)
    colours = [c for c in dict.fromkeys(colours) if c not in (OUTER, WINDOW_KEY)][:255]
    colours += [WHITE] * (255 - len(colours))
    return with_table(picture, colours + [OUTER], lambda x, y: not inside_oval(x, y))


def check_help_background(picture):
    rgb = picture.convert("RGB")
    assert rgb.size == (W, H)
    assert rgb.getpixel((0, H - 1)) == OUTER
    for y in range(H):
        for x in range(W):
            colour = rgb.getpixel((x, y))
            if inside_oval(x, y):
                assert colour not in (OUTER, WINDOW_KEY), (x, y, colour)
            else:
                assert colour == OUTER, (x, y, colour)
    # No lettering under the text; only the rim reaches into the area's corners.
    left, top, right, bottom = TEXT_AREA
    for x in range(left, right):
        for y in range(top, bottom):
            if inside_oval(x, y, inset(OVAL, 10)):
                assert rgb.getpixel((x, y)) == WHITE, ("text area not white", x, y)


def icon():
    size = 32 * S
    big = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    draw.rounded_rectangle([0, 0, size - 1, size - 1], radius=6 * S, fill=NAVY)
    photo = [3 * S, 3 * S, 29 * S - 1, 29 * S - 1]
    draw.rectangle(photo, fill=SKY)
    draw.ellipse([6 * S, 6 * S, 12 * S, 12 * S], fill=GOLD)
    draw.polygon([(3 * S, 29 * S), (3 * S, 20 * S), (12 * S, 12 * S), (21 * S, 22 * S),
                  (25 * S, 18 * S), (29 * S, 21 * S), (29 * S, 29 * S)], fill=GREEN)
    draw.polygon([(3 * S, 29 * S), (3 * S, 25 * S), (16 * S, 23 * S), (29 * S, 26 * S),
                  (29 * S, 29 * S)], fill=DARK_GREEN)
    small = big.resize((32, 32), Image.BOX)
    # The right half as 4 x 4 blocks of their average colour: the compressed copy.
    for bx in range(16, 28, 4):
        for by in range(4, 28, 4):
            block = small.crop((bx, by, bx + 4, by + 4)).resize((1, 1), Image.BOX)
            small.paste(block.resize((4, 4)), (bx, by))
    ImageDraw.Draw(small).line([(16, 3), (16, 28)], fill=WHITE)
    alpha = small.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    opaque = Image.new("RGB", small.size, NAVY)
    opaque.paste(small.convert("RGB"), mask=alpha)
    colours = [NAVY, SKY, GOLD, GREEN, DARK_GREEN, WHITE, blend(SKY, GREEN, 0.5),
               blend(SKY, GOLD, 0.5), blend(GREEN, DARK_GREEN, 0.5), blend(SKY, NAVY, 0.5),
               blend(SKY, WHITE, 0.5), blend(GREEN, SKY, 0.25), blend(DARK_GREEN, NAVY, 0.5),
               blend(GOLD, WHITE, 0.5), blend(GREEN, GOLD, 0.5)]
    return with_table(opaque, colours + [(0, 0, 0)], lambda x, y: alpha.getpixel((x, y)) == 0)


def main():
    background = help_background()
    check_help_background(background)
    background.save(os.path.join(RESOURCES, "Fond_aide.bmp"))
    picture = icon()
    picture.save(os.path.join(RESOURCES, "trevano.png"), transparency=15, optimize=False)
    print("wrote Fond_aide.bmp and trevano.png in", RESOURCES)


if __name__ == "__main__":
    main()
