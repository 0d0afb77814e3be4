#!/usr/bin/env python3
"""Draws the recovery program's bitmaps, icons and cursor into app/res.

Plain pixel art on a 16-unit grid, scaled by whole numbers for the larger
sizes, written as 24-bit .bmp, 32-bit .ico and .cur files with the standard
library only. Run it again after changing a picture; its outputs are kept in
the repository so that a build needs no Python.

    python3 tools/make-images.py [output folder]
"""

import os
import struct
import sys

# Colours (red, green, blue).
GREEN_KEY = (0, 255, 0)  # transparent in the bitmaps masked with pure green
WHITE = (255, 255, 255)  # transparent in the bitmaps masked with white
BLACK = (0, 0, 0)
DARK = (64, 64, 64)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
LIGHT = (224, 224, 224)
PAPER = (250, 250, 250)
BOX = (252, 252, 252)  # check-box inside: not pure white, which is the mask
FOLDER = (255, 204, 72)
FOLDER_DARK = (196, 140, 24)
FOLDER_LIGHT = (255, 232, 150)
DELETED = (190, 190, 200)
DELETED_DARK = (120, 120, 136)
RED = (210, 32, 32)
DARK_RED = (150, 16, 16)
GREEN = (32, 160, 48)
DARK_GREEN = (16, 100, 24)
BLUE = (40, 96, 216)
DARK_BLUE = (20, 50, 140)
SKY = (120, 170, 240)
NAVY = (16, 40, 96)
YELLOW = (255, 230, 40)
METAL = (170, 176, 186)


class Canvas:
    """A picture of width x height pixels, filled with one colour."""

    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def paste(self, other, x0, y0):
        for y in range(other.height):
            for x in range(other.width):
                self.put(x0 + x, y0 + y, other.pixels[y][x])


class Pen:
    """Draws on a canvas in grid units: unit (x, y) covers scale x scale pixels at the origin."""

    def __init__(self, canvas, x0=0, y0=0, scale=1):
        self.canvas = canvas
        self.x0 = x0
        self.y0 = y0
        self.scale = scale

    def dot(self, x, y, colour):
        s = self.scale
        for dy in range(s):
            for dx in range(s):
                self.canvas.put(self.x0 + x * s + dx, self.y0 + y * s + dy, colour)

    def fill(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.dot(xx, yy, colour)

    def frame(self, x, y, w, h, colour):
        self.fill(x, y, w, 1, colour)
        self.fill(x, y + h - 1, w, 1, colour)
        self.fill(x, y, 1, h, colour)
        self.fill(x + w - 1, y, 1, h, colour)

    def box(self, x, y, w, h, inside, edge):
        self.fill(x, y, w, h, inside)
        self.frame(x, y, w, h, edge)

    def line(self, x1, y1, x2, y2, colour):
        dx, dy = abs(x2 - x1), -abs(y2 - y1)
        sx, sy = (1 if x2 > x1 else -1), (1 if y2 > y1 else -1)
        err = dx + dy
        while True:
            self.dot(x1, y1, colour)
            if x1 == x2 and y1 == y2:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x1 += sx
            if e2 <= dx:
                err += dx
                y1 += sy

    def thick_line(self, x1, y1, x2, y2, colour):
        self.line(x1, y1, x2, y2, colour)
        self.line(x1, y1 + 1, x2, y2 + 1, colour)

    def disc(self, cx, cy, r, inside, edge=None):
        """A disc of radius r centred between grid units (cx, cy are its top-left centre unit)."""
        for y in range(-r, r):
            for x in range(-r, r):
                d = (x + 0.5) ** 2 + (y + 0.5) ** 2
                if d <= r * r:
                    colour = inside
                    if edge and d > (r - 1) ** 2:
                        colour = edge
                    self.dot(cx + x, cy + y, colour)


# Small pictures on the 16-unit grid. Each takes a pen and draws itself.

def folder(p, body=FOLDER, dark=FOLDER_DARK, light=FOLDER_LIGHT, opened=False):
    p.fill(1, 3, 6, 2, dark)
    p.fill(2, 3, 4, 1, light)
    if opened:
        p.box(1, 4, 13, 10, light, dark)
        p.fill(3, 7, 13, 7, body)
        p.line(3, 7, 15, 7, dark)
        p.line(15, 7, 13, 13, dark)
        p.line(3, 7, 1, 13, dark)
        p.fill(1, 13, 13, 1, dark)
    else:
        p.box(1, 4, 14, 10, body, dark)
        p.fill(2, 5, 12, 1, light)


def deleted_folder(p, opened=False):
    folder(p, DELETED, DELETED_DARK, LIGHT, opened)
    cross(p, 9, 8, 5, RED)


def cross(p, x, y, n, colour):
    """An X of n units from (x, y)."""
    p.line(x, y, x + n, y + n, colour)
    p.line(x + 1, y, x + n, y + n - 1, colour)
    p.line(x + n, y, x, y + n, colour)
    p.line(x + n - 1, y, x, y + n - 1, colour)


def page(p, x=3, y=1, w=10, h=14):
    p.box(x, y, w, h, PAPER, DARK)
    p.fill(x + w - 3, y, 3, 3, PAPER)
    p.line(x + w - 4, y, x + w - 1, y + 3, DARK)
    p.fill(x + w - 4, y + 1, 1, 3, DARK)
    p.fill(x + w - 4, y + 3, 4, 1, DARK)
    for row in range(y + 5, y + h - 2, 2):
        p.fill(x + 2, row, w - 4, 1, SILVER)


def file_page(p):
    page(p)


def deleted_file(p):
    page(p)
    cross(p, 8, 8, 6, RED)


def drive_body(p, y=5, h=7):
    p.box(1, y, 14, h, METAL, DARK)
    p.fill(2, y + 1, 12, 1, LIGHT)
    p.fill(2, y + h - 2, 12, 1, GREY)


def fixed_drive(p):
    drive_body(p)
    p.fill(11, 9, 2, 1, GREEN)


def removable_drive(p):
    drive_body(p)
    p.fill(3, 8, 8, 1, DARK)
    p.fill(12, 9, 1, 1, GREEN)


def floppy(p):
    p.box(2, 1, 12, 14, DARK_BLUE, NAVY)
    p.fill(5, 1, 6, 5, METAL)
    p.fill(8, 2, 2, 3, DARK)
    p.fill(4, 8, 8, 6, PAPER)
    p.fill(5, 10, 6, 1, SILVER)


def disk(p):
    p.box(1, 3, 14, 10, GREY, DARK)
    p.disc(6, 8, 4, SILVER, DARK)
    p.fill(5, 7, 2, 2, DARK)
    p.line(7, 9, 12, 11, BLACK)
    p.fill(12, 4, 2, 1, GREEN)


def my_computer(p):
    p.box(1, 1, 14, 10, METAL, DARK)
    p.fill(3, 3, 10, 6, SKY)
    p.fill(3, 3, 10, 1, BLUE)
    p.fill(6, 11, 4, 2, DARK)
    p.box(3, 13, 10, 2, METAL, DARK)


def check_box(p, state):
    """state: None (no box), 'off', 'on', 'mixed'; a 14-unit picture."""
    if state is None:
        return
    p.box(1, 1, 12, 12, BOX, DARK)
    p.fill(2, 2, 10, 1, SILVER)
    p.fill(2, 2, 1, 10, SILVER)
    mark = BLACK if state == "on" else GREY
    if state in ("on", "mixed"):
        for x, y in [(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4), (10, 3)]:
            p.fill(x, y, 1, 3, mark)
    if state == "mixed":
        p.fill(3, 10, 8, 1, GREY)


def tick(p, colour, dark):
    p.disc(8, 8, 8, colour, dark)
    for x, y in [(4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)]:
        p.fill(x, y, 1, 2, WHITE)


def started(p):
    p.disc(8, 8, 8, BLUE, DARK_BLUE)
    p.fill(4, 7, 5, 2, WHITE)
    for i in range(4):
        p.fill(8 + i, 4 + i, 1, 8 - 2 * i, WHITE)


def failed(p):
    p.disc(8, 8, 8, RED, DARK_RED)
    cross(p, 4, 4, 7, WHITE)


def magnifier(p, x=1, y=1):
    p.disc(x + 5, y + 5, 5, SKY, DARK)
    p.fill(x + 3, y + 3, 2, 1, WHITE)
    p.thick_line(x + 9, y + 9, x + 13, y + 13, DARK)
    p.thick_line(x + 10, y + 9, x + 14, y + 13, FOLDER_DARK)


def wand(p):
    p.thick_line(2, 13, 10, 5, DARK)
    p.fill(10, 4, 2, 2, WHITE)
    for x, y in [(12, 1), (14, 4), (9, 1), (13, 7), (11, 3)]:
        p.dot(x, y, YELLOW)
        p.dot(x, y + 1, FOLDER_DARK)
    p.fill(12, 2, 1, 1, YELLOW)


def arrow_right(p, x, y, colour):
    p.fill(x, y + 2, 4, 2, colour)
    for i in range(3):
        p.fill(x + 4 + i, y + i, 1, 6 - 2 * i, colour)


def arrow_down(p, x, y, colour):
    p.fill(x + 2, y, 2, 4, colour)
    for i in range(3):
        p.fill(x + i, y + 4 + i, 6 - 2 * i, 1, colour)


def arrow_up(p, x, y, colour):
    for i in range(3):
        p.fill(x + 2 - i, y + i, 2 + 2 * i, 1, colour)
    p.fill(x + 1, y + 3, 2, 4, colour)


def find_next(p):
    magnifier(p, 0, 0)
    arrow_right(p, 9, 9, GREEN)


def recover_selected(p):
    page(p, 1, 1, 9, 12)
    p.fill(3, 7, 1, 2, GREEN)
    p.line(4, 8, 7, 5, GREEN)
    arrow_down(p, 10, 8, BLUE)


def recover_all(p):
    page(p, 4, 0, 9, 11)
    page(p, 1, 3, 9, 12)
    arrow_down(p, 10, 9, BLUE)


def go_up(p):
    folder(p)
    arrow_up(p, 5, 5, GREEN)
    p.fill(6, 8, 2, 4, GREEN)


def funnel(p, colour=BLUE):
    for i in range(5):
        p.fill(1 + i, 2 + i, 14 - 2 * i, 1, colour)
    p.fill(6, 7, 4, 5, colour)
    p.fill(7, 12, 2, 2, DARK_BLUE)


def unmask(p):
    funnel(p, SKY)
    cross(p, 9, 8, 5, RED)


def stop(p):
    for i in range(4):
        p.fill(4 - i, 1 + i, 8 + 2 * i, 1, DARK_RED)
    p.fill(1, 4, 14, 7, DARK_RED)
    for i in range(4):
        p.fill(1 + i, 11 + i, 14 - 2 * i, 1, DARK_RED)
    for i in range(3):
        p.fill(4 - i, 2 + i, 8 + 2 * i, 1, RED)
    p.fill(2, 4, 12, 7, RED)
    for i in range(3):
        p.fill(2 + i, 11 + i, 12 - 2 * i, 1, RED)
    p.fill(4, 7, 8, 2, WHITE)


def help_glyph(p):
    p.disc(8, 8, 7, BLUE, DARK_BLUE)
    p.fill(6, 4, 4, 1, WHITE)
    p.fill(5, 5, 2, 1, WHITE)
    p.fill(9, 5, 2, 2, WHITE)
    p.fill(8, 7, 2, 1, WHITE)
    p.fill(7, 8, 2, 2, WHITE)
    p.fill(7, 11, 2, 2, WHITE)


def about_glyph(p):
    p.disc(8, 8, 7, BLUE, DARK_BLUE)
    p.fill(7, 3, 2, 2, WHITE)
    p.fill(6, 6, 3, 1, WHITE)
    p.fill(7, 7, 2, 5, WHITE)
    p.fill(6, 12, 4, 1, WHITE)


def save_disk(p, label=PAPER):
    p.box(1, 1, 14, 14, DARK_BLUE, NAVY)
    p.fill(4, 1, 8, 5, label)
    p.fill(9, 2, 2, 3, DARK_BLUE)
    p.fill(4, 9, 8, 6, METAL)
    p.fill(5, 10, 2, 4, DARK)


def save_log(p):
    save_disk(p)
    p.fill(5, 2, 4, 1, GREY)
    p.fill(5, 4, 4, 1, GREY)


def clear_log(p):
    page(p)
    cross(p, 6, 6, 7, RED)


def open_folder(p):
    folder(p, opened=True)


def select_all(p):
    check_box(p, "on")
    p.dot(14, 14, DARK)


def unselect_all(p):
    check_box(p, "off")


def add_header(p):
    page(p, 1, 1, 10, 14)
    p.fill(9, 10, 6, 2, GREEN)
    p.fill(11, 8, 2, 6, GREEN)


def progress_colour(p):
    p.box(0, 5, 16, 7, LIGHT, DARK)
    p.fill(1, 6, 9, 5, GREEN)
    p.fill(2, 6, 2, 5, (80, 200, 90))
    p.fill(10, 6, 1, 5, DARK_GREEN)


def column_activity(p):
    p.disc(8, 8, 6, PAPER, DARK)
    p.fill(7, 4, 2, 5, DARK)
    p.fill(8, 7, 4, 2, DARK)


def column_text(p):
    for row, width in [(3, 12), (6, 9), (9, 12), (12, 7)]:
        p.fill(2, row, width, 2, DARK_BLUE)


def column_status(p):
    p.fill(3, 1, 1, 14, DARK)
    p.fill(4, 2, 9, 6, GREEN)
    p.fill(8, 2, 2, 3, DARK_GREEN)


def app_icon(p):
    drive_body(p, 8, 6)
    p.fill(11, 11, 2, 1, GREEN)
    p.disc(6, 6, 5, SKY, DARK)
    p.fill(4, 3, 2, 1, WHITE)
    p.thick_line(9, 9, 12, 13, FOLDER_DARK)


def hand_cursor(p):
    """A pointing hand with its fingertip at (5, 0)."""
    outline = [
        "....XX.........",
        "...X..X........",
        "...X..X........",
        "...X..X........",
        "...X..XXX......",
        "...X..X..XXX...",
        "XX.X..X..X..XX.",
        "X..X.........X.",
        "X............X.",
        ".X...........X.",
        "..X..........X.",
        "..X.........X..",
        "...X........X..",
        "...X.......X...",
        "....X......X...",
        "....XXXXXXXX...",
    ]
    for y, row in enumerate(outline):
        first, last = row.find("X"), row.rfind("X")
        for x, ch in enumerate(row):
            if ch == "X":
                p.dot(x, y, BLACK)
            elif first < x < last:
                p.dot(x, y, WHITE)


# Bitmap strips.

def strip(glyphs, cell_w, cell_h, background, scale=1, offset=(0, 0)):
    canvas = Canvas(cell_w * len(glyphs), cell_h, background)
    for i, glyph in enumerate(glyphs):
        glyph(Pen(canvas, i * cell_w + offset[0], offset[1], scale))
    return canvas


STANDARD_TOOLBAR = [wand, lambda p: magnifier(p), find_next, recover_selected, recover_all, go_up,
                    lambda p: funnel(p), stop, help_glyph]
COMMAND_IMAGES = [lambda p: save_disk(p), open_folder, about_glyph, select_all, unselect_all, save_log,
                  clear_log, unmask, add_header, progress_colour]


def search_type_buttons():
    """Three 40 x 40 pictures for Fast, Advanced and Physical, masked with green."""
    def fast(p):
        fixed_drive(p)
        for i in range(5):
            p.fill(9 - i, 1 + i, 3, 1, YELLOW)
        for i in range(5):
            p.fill(7 - i // 2 + 2, 6 + i, 3, 1, FOLDER_DARK if i == 4 else YELLOW)

    def advanced(p):
        fixed_drive(p)
        magnifier(p, 3, 1)

    return strip([fast, advanced, disk], 40, 40, GREEN_KEY, scale=2, offset=(4, 4))


# A small capital font for the pictures that carry text (5 x 7 cells).
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    " ": ["00000"] * 7,
}


def text(canvas, x, y, message, colour, scale):
    pen = Pen(canvas, x, y, scale)
    for i, ch in enumerate(message):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    pen.dot(i * 6 + col, row, colour)


def text_width(message, scale):
    return (len(message) * 6 - 1) * scale


def gradient(canvas, top, bottom):
    for y in range(canvas.height):
        t = y / max(1, canvas.height - 1)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        for x in range(canvas.width):
            canvas.put(x, y, colour)


def centred_text(canvas, y, message, colour, scale):
    text(canvas, (canvas.width - text_width(message, scale)) // 2, y, message, colour, scale)


def wizard_picture():
    canvas = Canvas(180, 332, BLACK)
    gradient(canvas, NAVY, (70, 130, 220))
    app_icon(Pen(canvas, 42, 50, 6))
    centred_text(canvas, 190, "QUENDAL", WHITE, 3)
    centred_text(canvas, 220, "VARNOTH", WHITE, 3)
    centred_text(canvas, 265, "FILE RECOVERY", YELLOW, 2)
    return canvas


def about_picture():
    """The About box's whole face; a click in its top right corner closes it."""
    canvas = Canvas(360, 230, BLACK)
    gradient(canvas, NAVY, (70, 130, 220))
    app_icon(Pen(canvas, 24, 60, 6))
    text(canvas, 136, 70, "QUENDAL VARNOTH", WHITE, 2)
    text(canvas, 136, 100, "FILE RECOVERY", YELLOW, 2)
    text(canvas, 136, 140, "VERSION 2.0", LIGHT, 2)
    close = Pen(canvas, 338, 4, 1)
    close.box(0, 0, 14, 14, RED, WHITE)
    cross(close, 3, 3, 7, WHITE)
    return canvas


# File writers.

def write_bmp(path, canvas):
    row_size = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b = canvas.get(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        data += row
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    with open(path, "wb") as f:
        f.write(file_header + header + data)


def icon_image(canvas, transparent):
    """One 32-bit image of an icon or cursor: BGRA rows, then the 1-bit mask."""
    w, h = canvas.width, canvas.height
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_row = ((w + 31) // 32) * 4
    for y in reversed(range(h)):
        bits = bytearray(mask_row)
        for x in range(w):
            pixel = canvas.get(x, y)
            if pixel == transparent:
                colour += bytes((0, 0, 0, 0))
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = pixel
                colour += bytes((b, g, r, 255))
        mask += bits
    return header + colour + mask


def write_icon(path, canvases, transparent, hotspot=None):
    """An .ico, or a .cur when a hotspot is given, holding one image per canvas."""
    kind = 2 if hotspot else 1
    images = [icon_image(c, transparent) for c in canvases]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        planes, bits = (hotspot if hotspot else (1, 32))
        out += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, planes, bits, len(image),
                           offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def single(glyph, size, background, scale=1):
    canvas = Canvas(size, size, background)
    glyph(Pen(canvas, 0, 0, scale))
    return canvas


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "app", "res")
    os.makedirs(out, exist_ok=True)

    def bmp(name, canvas):
        write_bmp(os.path.join(out, name), canvas)

    # Toolbar strips: 16 x 15 buttons, and the same pictures at 32 and 48 pixels.
    bmp("Toolbar.bmp", strip(STANDARD_TOOLBAR, 16, 15, SILVER))
    bmp("ToolbarMedium.bmp", strip(STANDARD_TOOLBAR, 32, 32, SILVER, scale=2))
    bmp("ToolbarLarge.bmp", strip(STANDARD_TOOLBAR, 48, 48, SILVER, scale=3))
    bmp("CommandImages.bmp", strip(COMMAND_IMAGES, 16, 15, SILVER))

    # Folder tree and file list images, masked with pure green.
    bmp("FolderTree.bmp", strip([folder, lambda p: folder(p, opened=True), deleted_folder,
                                 lambda p: deleted_folder(p, opened=True)], 16, 16, GREEN_KEY))
    list_images = [folder, deleted_folder, file_page, deleted_file]
    bmp("FileListSmall.bmp", strip(list_images, 16, 16, GREEN_KEY))
    bmp("FileListLarge.bmp", strip(list_images, 32, 32, GREEN_KEY, scale=2))

    # Check-box states, 14 pixels wide, masked with white; image 0 is no box.
    bmp("TreeStates.bmp", strip([lambda p, s=s: check_box(p, s) for s in (None, "off", "on", "mixed")], 14, 14, WHITE))
    bmp("CheckStates.bmp", strip([lambda p, s=s: check_box(p, s) for s in (None, "off", "on")], 14, 14, WHITE))

    # Log header pictures, masked with pure green.
    bmp("LogActivity.bmp", single(column_activity, 16, GREEN_KEY))
    bmp("LogText.bmp", single(column_text, 16, GREEN_KEY))
    bmp("LogStatus.bmp", single(column_status, 16, GREEN_KEY))

    # Drive tree pictures, masked with white.
    bmp("FixedDrive.bmp", single(fixed_drive, 16, WHITE))
    bmp("RemovableDrive.bmp", single(removable_drive, 16, WHITE))
    bmp("FloppyDrive.bmp", single(floppy, 16, WHITE))
    bmp("Disk.bmp", single(disk, 16, WHITE))
    bmp("MyComputer.bmp", single(my_computer, 16, WHITE))

    bmp("SearchTypes.bmp", search_type_buttons())
    bmp("Wizard.bmp", wizard_picture())
    bmp("About.bmp", about_picture())

    # Icons: transparent where the picture was left at the key colour.
    def icon(name, glyph):
        write_icon(os.path.join(out, name),
                   [single(glyph, 16, GREEN_KEY), single(glyph, 32, GREEN_KEY, 2), single(glyph, 48, GREEN_KEY, 3)],
                   GREEN_KEY)

    icon("QuendalVarnoth.ico", app_icon)
    icon("LogCompleted.ico", lambda p: tick(p, GREEN, DARK_GREEN))
    icon("LogStarted.ico", started)
    icon("LogError.ico", failed)
    write_icon(os.path.join(out, "Hand.cur"), [single(hand_cursor, 32, GREEN_KEY)], GREEN_KEY, hotspot=(5, 0))


if __name__ == "__main__":
    main()
