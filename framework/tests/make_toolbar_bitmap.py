#!/usr/bin/env python3
"""Writes the tool-bar strip a test loads: `count` images of 16x15 pixels
side by side in a 24-bit BMP, each a solid colour of its own with a grey
(192,192,192) top-left pixel, the colour tool-bar bitmaps use as background."""
import struct
import sys

WIDTH, HEIGHT = 16, 15
COLOURS = [(255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 200, 0)]


def pixel(x, y):
    image, local = divmod(x, WIDTH)
    if local == 0 and y == 0:
        return (192, 192, 192)
    return COLOURS[image % len(COLOURS)]


def bmp(count):
    width = WIDTH * count
    row = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(HEIGHT)):  # bottom-up
        data = b"".join(bytes((b, g, r)) for r, g, b in (pixel(x, y) for x in range(width)))
        rows.append(data + b"\0" * (row - len(data)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(bmp(int(sys.argv[2])))
