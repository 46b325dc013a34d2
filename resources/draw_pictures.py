#!/usr/bin/env python3
"""Draws the pictures of the main window's eight mode buttons, the program's icon and the
settings sheets' command bar.

    draw_pictures.py OUTDIR

writes mode167.bmp ... mode174.bmp (24-bit, 100x58), dorix.ico, toolbar130.bmp and sort175.bmp
into OUTDIR. Each mode picture shows the device held in the mode's orientation, its screen upright
with the Start bar on top and content as fine as the resolution, and the mode's name beside
it. The command bar strip holds two 15x15 pictures, an OK mark and a cross, each in a circle,
on magenta, which the program treats as transparent. The sort strip holds the file chooser's
two 16x16 header marks on white, its mask colour: a triangle pointing up (ascending) and one
pointing down (descending).
"""

import os
import struct
import sys

WIDTH, HEIGHT = 100, 58

BACKGROUND = (0xC0, 0xC0, 0xC0)
BODY = (0x3A, 0x3E, 0x46)
BODY_EDGE = (0x1A, 0x1C, 0x20)
KEY = (0x9A, 0xA0, 0xAA)
SCREEN = (0xFF, 0xFF, 0xFF)
STARTBAR = (0x10, 0x30, 0xA0)
CONTENT = (0x60, 0x68, 0x78)
TEXT = (0x00, 0x00, 0x00)
ACCENT = (0x10, 0x30, 0xA0)

# 3x5 glyphs, one string of three characters per row.
GLYPHS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"], "2": ["##.", "..#", ".#.", "#..", "###"],
    "3": ["##.", "..#", ".#.", "..#", "##."], "4": ["#.#", "#.#", "###", "..#", "..#"],
    "6": [".##", "#..", "###", "#.#", "###"], "8": ["###", "#.#", "###", "#.#", "###"],
    "x": ["...", "#.#", ".#.", "#.#", "..."], "-": ["...", "...", "###", "...", "..."],
    " ": ["...", "...", "...", "...", "..."],
    "A": [".#.", "#.#", "###", "#.#", "#.#"], "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "E": ["###", "#..", "##.", "#..", "###"], "G": [".##", "#..", "#.#", "#.#", ".##"],
    "H": ["#.#", "#.#", "###", "#.#", "#.#"], "I": ["###", ".#.", ".#.", ".#.", "###"],
    "L": ["#..", "#..", "#..", "#..", "###"], "N": ["##.", "#.#", "#.#", "#.#", "#.#"],
    "O": [".#.", "#.#", "#.#", "#.#", ".#."], "P": ["##.", "#.#", "##.", "#..", "#.."],
    "Q": [".#.", "#.#", "#.#", "##.", ".##"], "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "S": [".##", "#..", ".#.", "..#", "##."], "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "U": ["#.#", "#.#", "#.#", "#.#", "###"], "V": ["#.#", "#.#", "#.#", "#.#", ".#."],
    "W": ["#.#", "#.#", "#.#", "###", "#.#"],
}

ORIENTATION_NAMES = ["STANDARD", "R-HANDED", "UPSIDE DOWN", "L-HANDED"]


class Canvas:
    def __init__(self, width, height, color):
        self.width, self.height = width, height
        self.pixels = [[color] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = color

    def get(self, x, y):
        return self.pixels[y][x]

    def fill(self, left, top, right, bottom, color):
        """Fills [left, right) x [top, bottom)."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, color)

    def text(self, x, y, words, color, scale=1):
        for ch in words:
            glyph = GLYPHS[ch]
            for row, line in enumerate(glyph):
                for col, mark in enumerate(line):
                    if mark == "#":
                        self.fill(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale,
                                  color)
            x += 4 * scale

    def paste(self, other, left, top, transparent=None):
        for y in range(other.height):
            for x in range(other.width):
                color = other.get(x, y)
                if color != transparent:
                    self.put(left + x, top + y, color)


def rotated(canvas, orientation):
    """The canvas turned the way the device is held: 1 a quarter turn anticlockwise (keys on the
    right), 2 a half turn, 3 a quarter turn clockwise (keys on the left)."""
    w, h = canvas.width, canvas.height
    if orientation == 0:
        return canvas
    if orientation == 2:
        out = Canvas(w, h, None)
        for y in range(h):
            for x in range(w):
                out.put(x, y, canvas.get(w - 1 - x, h - 1 - y))
        return out
    out = Canvas(h, w, None)
    for y in range(w):
        for x in range(h):
            out.put(x, y, canvas.get(w - 1 - y, x) if orientation == 1 else canvas.get(y, h - 1 - x))
    return out


# The device upright: body, screen window, and the keys below the screen.
DEVICE_W, DEVICE_H = 34, 52
SCREEN_RECT = (4, 4, 30, 38)  # left, top, right, bottom inside the body


def device_body():
    body = Canvas(DEVICE_W, DEVICE_H, None)
    body.fill(1, 0, DEVICE_W - 1, DEVICE_H, BODY_EDGE)
    body.fill(0, 1, DEVICE_W, DEVICE_H - 1, BODY_EDGE)
    body.fill(1, 1, DEVICE_W - 1, DEVICE_H - 1, BODY)
    left, top, right, bottom = SCREEN_RECT
    body.fill(left - 1, top - 1, right + 1, bottom + 1, BODY_EDGE)
    body.fill(left, top, right, bottom, SCREEN)
    # Four application keys around the direction pad.
    for x in (4, 10, 20, 26):
        body.fill(x, 43, x + 4, 46, KEY)
    body.fill(15, 41, 19, 49, KEY)
    body.fill(13, 43, 21, 47, KEY)
    return body


def screen_rect(orientation):
    """Where the screen lies in the rotated body."""
    left, top, right, bottom = SCREEN_RECT
    w, h = DEVICE_W, DEVICE_H
    corners = [(left, top), (right - 1, bottom - 1)]
    turned = []
    for x, y in corners:
        if orientation == 0:
            turned.append((x, y))
        elif orientation == 2:
            turned.append((w - 1 - x, h - 1 - y))
        elif orientation == 1:
            turned.append((y, w - 1 - x))
        else:
            turned.append((h - 1 - y, x))
    xs, ys = [p[0] for p in turned], [p[1] for p in turned]
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def draw_screen(canvas, rect, vga):
    """The screen's content, upright to the viewer: the Start bar and lines of text, twice as
    many and half as thick in VGA."""
    left, top, right, bottom = rect
    canvas.fill(left, top, right, top + (2 if vga else 4), STARTBAR)
    step = 2 if vga else 4
    thickness = 1 if vga else 2
    y = top + (4 if vga else 7)
    row = 0
    while y + thickness <= bottom - 2:
        length = (right - left - 4) * (3 + (row * 5) % 4) // 6
        canvas.fill(left + 2, y, left + 2 + length, y + thickness, CONTENT)
        y += step + thickness
        row += 1


def mode_picture(vga, orientation):
    picture = Canvas(WIDTH, HEIGHT, BACKGROUND)
    device = rotated(device_body(), orientation)
    dx = (58 - device.width) // 2
    dy = (HEIGHT - device.height) // 2
    picture.paste(device, dx, dy)
    sl, st, sr, sb = screen_rect(orientation)
    draw_screen(picture, (dx + sl, dy + st, dx + sr, dy + sb), vga)
    portrait = orientation % 2 == 0
    size = (480, 640) if vga else (240, 320)
    if not portrait:
        size = (size[1], size[0])
    picture.text(58, 8, "VGA" if vga else "QVGA", ACCENT, scale=2)
    picture.text(58, 26, "%dx%d" % size, TEXT)
    name = ORIENTATION_NAMES[orientation]
    if " " in name:
        first, second = name.split(" ")
        picture.text(58, 36, first, TEXT)
        picture.text(58, 43, second, TEXT)
    else:
        picture.text(58, 36, name, TEXT)
    return picture


def bmp_bytes(canvas):
    row_size = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b = canvas.get(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    return file_header + header + bytes(data)


def icon_image(size):
    """The device upright with its blue Start bar, on a transparent background."""
    canvas = Canvas(size, size, None)
    device = device_body()
    scale = size / 56.0
    ox = (size - DEVICE_W * scale) / 2
    oy = (size - DEVICE_H * scale) / 2
    for y in range(size):
        for x in range(size):
            sx, sy = int((x - ox) / scale), int((y - oy) / scale)
            if 0 <= sx < DEVICE_W and 0 <= sy < DEVICE_H and device.get(sx, sy) is not None:
                color = device.get(sx, sy)
                left, top, right, _ = SCREEN_RECT
                if color == SCREEN and sy < top + 6:
                    color = STARTBAR
                canvas.put(x, y, color)
    # 32-bit rows bottom-up with alpha, then the AND mask (1 = transparent), rows of 32 bits.
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            color = canvas.get(x, y)
            pixels += bytes((0, 0, 0, 0)) if color is None else bytes((color[2], color[1], color[0], 255))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(size):
            if canvas.get(x, y) is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


TRANSPARENT = (0xFF, 0x00, 0xFF)
OK_GREEN = (0x10, 0x80, 0x30)
CANCEL_RED = (0xC0, 0x20, 0x20)
MARK = (0xFF, 0xFF, 0xFF)

# The marks inside the circles, one string per row of the 15x15 picture.
OK_MARK = [
    "...............", "...............", "...............", "...............",
    "..........##...", ".........##....", "...##...##.....", "....##.##......",
    ".....###.......", "......#........", "...............", "...............",
    "...............", "...............", "...............",
]
CANCEL_MARK = [
    "...............", "...............", "...............", "...............",
    "....##...##....", ".....##.##.....", "......###......", ".....##.##.....",
    "....##...##....", "...............", "...............", "...............",
    "...............", "...............", "...............",
]


def command_picture(color, mark):
    canvas = Canvas(15, 15, TRANSPARENT)
    for y in range(15):
        for x in range(15):
            if (x - 7) ** 2 + (y - 7) ** 2 <= 7.2 ** 2:
                canvas.put(x, y, MARK if mark[y][x] == "#" else color)
    return canvas


def toolbar_strip():
    strip = Canvas(30, 15, TRANSPARENT)
    strip.paste(command_picture(OK_GREEN, OK_MARK), 0, 0)
    strip.paste(command_picture(CANCEL_RED, CANCEL_MARK), 15, 0)
    return strip


SORT_BACKGROUND = (0xFF, 0xFF, 0xFF)
SORT_MARK = (0x40, 0x40, 0x40)


def sort_strip():
    strip = Canvas(32, 16, SORT_BACKGROUND)
    # A triangle 9 pixels wide and 5 high, centred in each picture.
    for row in range(5):
        half = row
        for x in range(8 - half, 9 + half):
            strip.put(x, 5 + row, SORT_MARK)
            strip.put(16 + x, 10 - row, SORT_MARK)
    return strip


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    resource = 167
    for vga in (False, True):
        for orientation in range(4):
            with open(os.path.join(outdir, "mode%d.bmp" % resource), "wb") as f:
                f.write(bmp_bytes(mode_picture(vga, orientation)))
            resource += 1
    with open(os.path.join(outdir, "dorix.ico"), "wb") as f:
        f.write(ico_bytes([32, 16]))
    with open(os.path.join(outdir, "toolbar130.bmp"), "wb") as f:
        f.write(bmp_bytes(toolbar_strip()))
    with open(os.path.join(outdir, "sort175.bmp"), "wb") as f:
        f.write(bmp_bytes(sort_strip()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
