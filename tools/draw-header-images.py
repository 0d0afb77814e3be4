#!/usr/bin/env python3
"""Draws the images of the column header's right-click commands (Sort
Ascending, Sort Descending, Align Left, Align Center, Align Right) into
Common/res/HeaderCommands.bmp: one 24-bit strip of five 16 x 15 images on
magenta, the transparent colour of the toolkit's tool bars.

    tools/draw-header-images.py [OUT_DIR]

The pictures are ASCII below: '#' dark, 'b' blue, '.' transparent.
Run it again after changing a picture and commit the bitmap it writes.
"""
import os
import struct
import sys

W, H = 16, 15
COLOURS = {'.': (255, 0, 255), '#': (48, 48, 48), 'b': (32, 96, 200)}

SORT_ASCENDING = """
................
..#.........b...
.#.#.......bbb..
.###......bbbbb.
.#.#.......bbb..
.#.#.......bbb..
...........bbb..
.###.......bbb..
...#.......bbb..
..#........bbb..
.#.........bbb..
.###.......bbb..
................
................
................
"""

SORT_DESCENDING = """
................
.###.......bbb..
...#.......bbb..
..#........bbb..
.#.........bbb..
.###.......bbb..
...........bbb..
..#........bbb..
.#.#.......bbb..
.###......bbbbb.
.#.#.......bbb..
.#.#........b...
................
................
................
"""


def lines(starts_and_lengths):
    rows = ['.' * W for _ in range(H)]
    for y, (x, n) in zip((2, 4, 6, 8, 10, 12), starts_and_lengths):
        rows[y] = '.' * x + '#' * n + '.' * (W - x - n)
    return '\n'.join(rows)


ALIGN_LEFT = lines([(1, 14), (1, 9), (1, 12), (1, 7), (1, 14), (1, 10)])
ALIGN_CENTER = lines([(1, 14), (4, 8), (2, 12), (5, 6), (1, 14), (3, 10)])
ALIGN_RIGHT = lines([(1, 14), (6, 9), (3, 12), (8, 7), (1, 14), (5, 10)])

IMAGES = [SORT_ASCENDING, SORT_DESCENDING, ALIGN_LEFT, ALIGN_CENTER, ALIGN_RIGHT]


def rows_of(picture):
    rows = [r for r in picture.strip('\n').split('\n')]
    assert len(rows) == H and all(len(r) == W for r in rows), picture
    return rows


def write_bmp(path, pixels, width, height):
    stride = (width * 3 + 3) // 4 * 4
    data = b''
    for y in range(height - 1, -1, -1):
        row = b''.join(bytes((b, g, r)) for (r, g, b) in pixels[y])
        data += row + b'\0' * (stride - width * 3)
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'Common', 'res')
    pictures = [rows_of(p) for p in IMAGES]
    pixels = [[COLOURS[pictures[i][y][x]] for i in range(len(pictures)) for x in range(W)] for y in range(H)]
    write_bmp(os.path.join(out, 'HeaderCommands.bmp'), pixels, W * len(pictures), H)


if __name__ == '__main__':
    main()
