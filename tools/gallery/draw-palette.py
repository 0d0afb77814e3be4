#!/usr/bin/env python3
"""Draws the gallery's colour palette, the bitmap of its toolbar resource:
sixteen 16 x 16 cells side by side, each a colour square framed in grey on
the magenta that the image manager takes as transparent (the top-left pixel).
Written with the canvas and the .bmp writer of tools/draw-toolkit-images.py;
run it again after changing a colour and commit what it writes.

    tools/gallery/draw-palette.py [OUT_FILE]
"""
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location(
    "draw_toolkit_images", os.path.join(HERE, "..", "draw-toolkit-images.py"))
images = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(images)

CELL = 16
FRAME = (128, 128, 128)
# Four rows of four as the palette shows them, the last row the greys.
COLOURS = [
    (192, 0, 0), (255, 0, 0), (255, 192, 0), (255, 255, 0),
    (146, 208, 80), (0, 176, 80), (0, 176, 240), (0, 112, 192),
    (0, 32, 96), (112, 48, 160), (255, 128, 192), (150, 90, 40),
    (255, 255, 255), (191, 191, 191), (128, 128, 128), (0, 0, 0),
]


def palette():
    canvas = images.Canvas(CELL * len(COLOURS), CELL, images.MAGENTA)
    for i, colour in enumerate(COLOURS):
        left = i * CELL
        canvas.fill(left + 2, 2, CELL - 4, CELL - 4, FRAME)
        canvas.fill(left + 3, 3, CELL - 6, CELL - 6, colour)
    return canvas


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "res", "Palette.bmp")
    images.write_bmp(out, palette())
