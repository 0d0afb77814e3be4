#!/usr/bin/env python3
"""Draws the gallery's colour palette, the bitmap of its toolbar resource:
sixteen 16 x 16 cells side by side, each a colour square framed in grey on
the magenta that the image manager takes as transparent (the top-left pixel).
Written as a 24-bit .bmp with the standard library; run it again after
changing a colour and commit what it writes.

    tools/gallery/draw-palette.py [OUT_FILE]
"""
import os
import struct
import sys

CELL = 16
MAGENTA = (255, 0, 255)
FRAME = (128, 128, 128)
# Four rows of four as the palette shows them, the last row the greys.
COLOURS = [
    (192, 0, 0), (255, 0, 0), (255, 192, 0), (255, 255, 0),
    (146, 208, 80), (0, 176, 80), (0, 176, 240), (0, 112, 192),
    (0, 32, 96), (112, 48, 160), (255, 128, 192), (150, 90, 40),
    (255, 255, 255), (191, 191, 191), (128, 128, 128), (0, 0, 0),
]


def pixel(x, y):
    colour = COLOURS[x // CELL]
    x %= CELL
    if not (2 <= x < CELL - 2 and 2 <= y < CELL - 2):
        return MAGENTA
    if x in (2, CELL - 3) or y in (2, CELL - 3):
        return FRAME
    return colour


def bmp():
    width = CELL * len(COLOURS)
    row = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(CELL)):  # bottom-up
        data = b"".join(bytes((b, g, r)) for r, g, b in (pixel(x, y) for x in range(width)))
        rows.append(data + b"\0" * (row - len(data)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, CELL, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "res", "Palette.bmp")
    with open(out, "wb") as f:
        f.write(bmp())
