#!/usr/bin/env python3
"""Draws the cursors, the icon and the bitmaps of wakumo.exe.

Usage: make_resources.py OUTPUT_DIR

Writes mycursor.cur, handpoint.cur, mainicon.ico, sight.bmp, getglyph.bmp,
wlistglyph.bmp, wsglyph.bmp, listglyph.bmp, maxboth.bmp, maxvert.bmp and
maxhorz.bmp. Only the standard library is
used, so the build needs nothing beyond Python 3. Bitmaps are 16-colour with a
silver (192, 192, 192) background, which the program draws transparent.
"""
import math
import os
import struct
import sys

# The 16-colour palette every bitmap uses (the usual system one).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


class Canvas:
    """A small indexed raster: pixels hold palette indexes, or None for transparent."""

    def __init__(self, width, height, fill=None):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def set(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def hline(self, x0, x1, y, c):
        for x in range(min(x0, x1), max(x0, x1) + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(min(y0, y1), max(y0, y1) + 1):
            self.set(x, y, c)

    def rect(self, x0, y0, x1, y1, c):
        """Outline of the rectangle with corners (x0, y0) and (x1, y1), inclusive."""
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            self.hline(x0, x1, y, c)

    def annulus(self, cx, cy, r_in, r_out, c):
        """Pixels whose centre lies at a distance in [r_in, r_out) from (cx, cy)."""
        for y in range(self.height):
            for x in range(self.width):
                d = math.hypot(x - cx, y - cy)
                if r_in <= d < r_out:
                    self.set(x, y, c)

    def disc(self, cx, cy, r, c):
        self.annulus(cx, cy, -1.0, r, c)

    def rows(self, x0, y0, art, colours):
        """Copies ASCII art: each character is looked up in `colours`; ' ' is left alone."""
        for dy, line in enumerate(art):
            for dx, ch in enumerate(line):
                if ch != ' ':
                    self.set(x0 + dx, y0 + dy, colours[ch])


def bmp_4bit(canvas):
    """A 16-colour BMP file; transparent pixels become silver."""
    w, h = canvas.width, canvas.height
    row_bytes = ((w * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up
        row = bytearray(row_bytes)
        for x in range(w):
            c = canvas.get(x, y)
            c = SILVER if c is None else c
            if x % 2 == 0:
                row[x // 2] |= c << 4
            else:
                row[x // 2] |= c
        pixels += row
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + len(header) + len(palette)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return file_header + header + palette + bytes(pixels)


def mono_cursor(canvas, hot_x, hot_y):
    """A two-colour 32x32 cursor file: black where the canvas is BLACK, white where
    WHITE, transparent elsewhere."""
    w, h = canvas.width, canvas.height
    assert (w, h) == (32, 32)
    xor_rows = bytearray()
    and_rows = bytearray()
    for y in range(h - 1, -1, -1):
        xor_bits = 0
        and_bits = 0
        for x in range(w):
            c = canvas.get(x, y)
            bit = 1 << (31 - x)
            if c is None:
                and_bits |= bit  # keep the screen
            elif c == WHITE:
                xor_bits |= bit  # palette entry 1
        xor_rows += struct.pack('>I', xor_bits)
        and_rows += struct.pack('>I', and_bits)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 1, 0, len(xor_rows) + len(and_rows), 0, 0, 2, 2)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + bytes(xor_rows) + bytes(and_rows)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', w, h, 2, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


def icon_file(canvases):
    """An icon file with one 32-bit image per canvas (alpha from transparency)."""
    images = []
    for cv in canvases:
        w, h = cv.width, cv.height
        xor = bytearray()
        and_rows = bytearray()
        and_row_bytes = ((w + 31) // 32) * 4
        for y in range(h - 1, -1, -1):
            row_mask = bytearray(and_row_bytes)
            for x in range(w):
                c = cv.get(x, y)
                if c is None:
                    xor += b'\0\0\0\0'
                    row_mask[x // 8] |= 0x80 >> (x % 8)
                else:
                    r, g, b = PALETTE[c]
                    xor += struct.pack('<BBBB', b, g, r, 255)
            and_rows += row_mask
        header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(and_rows), 0, 0, 0, 0)
        images.append((w, h, header + bytes(xor) + bytes(and_rows)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return out


def draw_sight_cursor():
    # Ring of 31 px outer diameter centred on the hot spot (15, 15), hair lines
    # through the hot spot across the whole ring, a 15 px circle around it.
    cv = Canvas(32, 32)
    cv.annulus(15, 15, 13.6, 15.5, BLACK)
    cv.annulus(15, 15, 6.5, 7.5, BLACK)
    cv.hline(0, 30, 15, BLACK)
    cv.vline(15, 0, 30, BLACK)
    return cv


def draw_hand_cursor():
    art = [
        "     XX",
        "    XWWX",
        "    XWWX",
        "    XWWX",
        "    XWWX",
        "    XWWXXX",
        "    XWWXWWXXX",
        "    XWWXWWXWWXX",
        " XX XWWXWWXWWXWX",
        "XWWXXWWWWWWWWXWX",
        "XWWWXWWWWWWWWWWX",
        " XWWXWWWWWWWWWWX",
        "  XWWWWWWWWWWWWX",
        "  XWWWWWWWWWWWWX",
        "   XWWWWWWWWWWX",
        "   XWWWWWWWWWWX",
        "    XWWWWWWWWX",
        "    XWWWWWWWWX",
        "    XXXXXXXXXX",
    ]
    cv = Canvas(32, 32)
    cv.rows(0, 0, art, {'X': BLACK, 'W': WHITE})
    return cv


def draw_main_icon(size):
    # A window frame (title bar, body) with arrows pointing out of it.
    cv = Canvas(size, size)
    s = size / 32.0

    def p(v):
        return int(round(v * s))

    x0, y0, x1, y1 = p(6), p(6), p(25), p(25)
    cv.fill(x0, y0, x1, y1, WHITE)
    cv.fill(x0, y0, x1, y0 + max(2, p(4)), NAVY)
    cv.rect(x0, y0, x1, y1, BLACK)
    # Arrows: right, down and the diagonal towards the bottom-right corner.
    m = (y0 + y1) // 2
    cv.hline(x1 + 1, size - 1, m, RED)
    for k in range(1, max(2, p(3)) + 1):
        cv.set(size - 1 - k, m - k, RED)
        cv.set(size - 1 - k, m + k, RED)
    c = (x0 + x1) // 2
    cv.vline(c, y1 + 1, size - 1, RED)
    for k in range(1, max(2, p(3)) + 1):
        cv.set(c - k, size - 1 - k, RED)
        cv.set(c + k, size - 1 - k, RED)
    for k in range(0, p(9)):
        cv.set(x0 + p(4) + k, y0 + p(7) + k, BLUE)
        cv.set(x0 + p(4) + k + 1, y0 + p(7) + k, BLUE)
    tip_x, tip_y = x0 + p(4) + p(9) - 1, y0 + p(7) + p(9) - 1
    for k in range(1, max(2, p(3)) + 1):
        cv.set(tip_x - k, tip_y, BLUE)
        cv.set(tip_x, tip_y - k, BLUE)
    return cv


def draw_sight():
    # 28 x 28: white disc, black ring, cross hairs, a red centre.
    cv = Canvas(28, 28, SILVER)
    c = 13.5
    cv.disc(c, c, 13.0, WHITE)
    cv.annulus(c, c, 11.0, 13.0, BLACK)
    cv.annulus(c, c, 5.0, 6.2, BLACK)
    cv.fill(13, 1, 14, 26, BLACK)
    cv.fill(1, 13, 26, 14, BLACK)
    cv.fill(13, 13, 14, 14, RED)
    return cv


def draw_get_glyph():
    # Take in the current size: an arrow down into a box.
    cv = Canvas(16, 16, SILVER)
    cv.fill(2, 8, 13, 14, WHITE)
    cv.rect(2, 8, 13, 14, BLACK)
    cv.fill(7, 0, 8, 7, NAVY)
    for k in range(1, 4):
        cv.hline(7 - k, 8 + k, 7 - k, NAVY)
    cv.hline(6, 9, 7, NAVY)
    cv.hline(5, 10, 11, BLACK)
    return cv


def draw_wlist_glyph():
    # Window list: a window whose body holds list rows.
    cv = Canvas(20, 20, SILVER)
    cv.fill(1, 1, 18, 18, WHITE)
    cv.fill(1, 1, 18, 3, NAVY)
    cv.rect(1, 1, 18, 18, BLACK)
    for y in (6, 9, 12, 15):
        cv.fill(3, y, 4, y + 1, NAVY)
        cv.hline(6, 16, y, BLACK)
    return cv


def draw_ws_glyph():
    # Maximise size: a window with arrows out to every side.
    cv = Canvas(16, 16, SILVER)
    cv.fill(4, 4, 11, 11, WHITE)
    cv.fill(4, 4, 11, 5, NAVY)
    cv.rect(4, 4, 11, 11, BLACK)
    cv.rows(0, 0, [
        "XXX",
        "XX",
        "X X",
    ], {'X': RED})
    cv.rows(13, 0, [
        "XXX",
        " XX",
        "X X",
    ], {'X': RED})
    cv.rows(0, 13, [
        "X X",
        "XX",
        "XXX",
    ], {'X': RED})
    cv.rows(13, 13, [
        "X X",
        " XX",
        "XXX",
    ], {'X': RED})
    return cv


def draw_max_picture(vertical, horizontal):
    # Maximise-size menu pictures: a window with arrows out to the sides it
    # grows to.
    cv = Canvas(16, 16, SILVER)
    cv.fill(4, 4, 11, 11, WHITE)
    cv.fill(4, 4, 11, 5, NAVY)
    cv.rect(4, 4, 11, 11, BLACK)
    if vertical:
        cv.rows(5, 0, ["  XX", " XXXX", "XXXXXX"], {'X': RED})
        cv.rows(5, 13, ["XXXXXX", " XXXX", "  XX"], {'X': RED})
    if horizontal:
        cv.rows(0, 5, ["  X", " XX", "XXX", "XXX", " XX", "  X"], {'X': RED})
        cv.rows(13, 5, ["X", "XX", "XXX", "XXX", "XX", "X"], {'X': RED})
    return cv


def draw_list_glyph():
    # A small arrow pointing down, for the preset list buttons.
    cv = Canvas(7, 4, SILVER)
    cv.rows(0, 0, [
        "XXXXXXX",
        " XXXXX",
        "  XXX",
        "   X",
    ], {'X': BLACK})
    return cv


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        'mycursor.cur': mono_cursor(draw_sight_cursor(), 15, 15),
        'handpoint.cur': mono_cursor(draw_hand_cursor(), 5, 0),
        'mainicon.ico': icon_file([draw_main_icon(32), draw_main_icon(16)]),
        'sight.bmp': bmp_4bit(draw_sight()),
        'getglyph.bmp': bmp_4bit(draw_get_glyph()),
        'wlistglyph.bmp': bmp_4bit(draw_wlist_glyph()),
        'wsglyph.bmp': bmp_4bit(draw_ws_glyph()),
        'listglyph.bmp': bmp_4bit(draw_list_glyph()),
        'maxboth.bmp': bmp_4bit(draw_max_picture(True, True)),
        'maxvert.bmp': bmp_4bit(draw_max_picture(True, False)),
        'maxhorz.bmp': bmp_4bit(draw_max_picture(False, True)),
    }
    for name, data in files.items():
        path = os.path.join(out, name)
        tmp = path + '.tmp'
        with open(tmp, 'wb') as f:
            f.write(data)
        os.replace(tmp, path)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
