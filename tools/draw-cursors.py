#!/usr/bin/env python3
"""Draws the toolkit's cursors into Common/res/ as 32x32 monochrome .cur files.

    tools/draw-cursors.py [OUT_DIR]

The drawings are ASCII pictures below: '#' black, 'o' white, '.' transparent.
Each cursor is built from a few layers (arrow, hand, box, plus, no-entry sign,
splitter, and the button editor's crosshair, pencil, dropper and bucket) so
they stay consistent. Run it again after changing a picture
and commit the .cur files it writes.
"""
import os
import struct
import sys

SIZE = 32
HOT = 15  # hot spot of the centred cursors

ARROW = """
#
##
#o#
#oo#
#ooo#
#oooo#
#ooooo#
#oooooo#
#ooooooo#
#oooooooo#
#ooooo#####
#oo#oo#
#o# #oo#
##  #oo#
#    #oo#
     #oo#
      ##
"""

HAND = """
    ##
   #oo#
   #oo#
   #oo#
   #oo#
   #oo###
   #oo#oo###
   #oo#oo#oo##
 ###oo#oo#oo#o#
#oo#ooooooooo#o#
#ooooooooooooooo#
 #oooooooooooooo#
  #ooooooooooooo#
  #oooooooooooo#
   #ooooooooooo#
    #ooooooooo#
    #ooooooooo#
    ###########
"""

# The page the dragged item is drawn as, below the arrow's tip.
BOX = """
###########
#ooooooooo#
#ooooooooo#
#ooooooooo#
#ooooooooo#
#ooooooooo#
#ooooooooo#
###########
"""

PLUS = """
  ###
  #o#
###o###
#ooooo#
###o###
  #o#
  ###
"""

# The image editor's tools; each hot spot is the pixel the tool paints.
PENCIL = """
            ##
           #oo#
          #o##o#
         #o#oo#
        #o#oo#
       #o#oo#
      #o#oo#
     #o#oo#
    #o#oo#
   #oo#o#
   #ooo#
  #o###
  ##
 #
"""

DROPPER = """
           ###
          #ooo#
         #ooooo#
       ###oooo#
       #o#ooo#
      #ooo##o#
     #ooo# ##
    #ooo#
   #ooo#
  #ooo#
  #oo#
 #o##
 #
"""

BUCKET = """
     ##
    #oo#
   #o##o#
   #o# #o#
  ##o###oo#
 #o#ooooooo#
#ooooooooooo#
#o#oooooooooo#
#o #oooooooooo#
#o  #oooooooo#
#o   #oooooo#
 #    #oooo#
       #oo#
        ##
"""


def picture(text):
    rows = text.strip("\n").split("\n")
    return [(x, y, c) for y, row in enumerate(rows) for x, c in enumerate(row) if c in "#o"]


def no_entry(cx, cy, r):
    """A ring with a slash: the drop is refused here."""
    pixels = []
    for y in range(cy - r - 1, cy + r + 2):
        for x in range(cx - r - 1, cx + r + 2):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            on_ring = (r - 2.5) ** 2 <= d2 <= r ** 2
            on_slash = d2 <= (r - 2) ** 2 and abs((x - cx) - (y - cy)) <= 1
            if on_ring or on_slash:
                pixels.append((x, y, "#"))
            elif d2 <= (r + 1) ** 2:
                pixels.append((x, y, "o"))
    return pixels


def splitter(vertical, bar=2):
    """A bar crossed by a two-headed arrow, left/right or up/down. The wide
    bar (2) is drawn double, as splitter bars are; a narrow one (1) is the
    edge of a control being sized."""
    def inside(dx, dy):
        if abs(dx) <= bar:
            return abs(dy) <= 9
        t = 11 - abs(dx)  # distance from the arrow's tip
        return 0 <= t <= 5 and abs(dy) <= t or t >= 6 and abs(dy) <= 1

    pixels = []
    for dy in range(-9, 10):
        for dx in range(-11, 12):
            if not inside(dx, dy):
                continue
            edge = any(not inside(dx + ax, dy + ay) for ax, ay in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            c = "#" if edge or (dx == 0 and bar > 1) else "o"
            x, y = (dy, dx) if vertical else (dx, dy)
            pixels.append((HOT + x, HOT + y, c))
    return pixels


def crosshair():
    """Two lines through the hot spot with a gap around it."""
    pixels = []
    for d in range(-10, 11):
        if abs(d) < 3:
            continue
        for w in (-1, 1):
            pixels += [(HOT + d, HOT + w, "o"), (HOT + w, HOT + d, "o")]
        pixels += [(HOT + d, HOT, "#"), (HOT, HOT + d, "#")]
    return pixels


def shifted(pixels, dx, dy):
    return [(x + dx, y + dy, c) for x, y, c in pixels]


def cursor_file(layers, hotspot):
    grid = [["."] * SIZE for _ in range(SIZE)]
    for layer in layers:
        for x, y, c in layer:
            if 0 <= x < SIZE and 0 <= y < SIZE:
                grid[y][x] = c
    stride = SIZE // 8
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        xrow, mrow = bytearray(stride), bytearray(stride)
        for x in range(SIZE):
            bit = 0x80 >> (x % 8)
            if grid[y][x] == "o":
                xrow[x // 8] |= bit
            elif grid[y][x] == ".":
                mrow[x // 8] |= bit
        xor += xrow
        mask += mrow
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def cursors():
    arrow = picture(ARROW)
    hand = picture(HAND)
    box = shifted(picture(BOX), 9, 19)
    return {
        "DragCopy.cur": ([arrow, box, shifted(picture(PLUS), 17, 22)], (0, 0)),
        "DragMove.cur": ([arrow, box], (0, 0)),
        "DragNone.cur": ([arrow, no_entry(19, 22, 7)], (0, 0)),
        "Hand.cur": ([shifted(hand, 2, 0)], (6, 0)),
        "HandNone.cur": ([shifted(hand, 2, 0), no_entry(22, 22, 7)], (6, 0)),
        "HSplitBar.cur": ([splitter(False)], (HOT, HOT)),
        "VSplitBar.cur": ([splitter(True)], (HOT, HOT)),
        "SizeControl.cur": ([splitter(False, bar=1)], (HOT, HOT)),
        "EditorLine.cur": ([crosshair()], (HOT, HOT)),
        "EditorPencil.cur": ([shifted(picture(PENCIL), 0, 17)], (1, 30)),
        "EditorPick.cur": ([shifted(picture(DROPPER), 0, 18)], (1, 30)),
        "EditorFill.cur": ([shifted(picture(BUCKET), 0, 16)], (1, 27)),
    }


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "Common", "res")
    os.makedirs(out, exist_ok=True)
    for name, (layers, hotspot) in cursors().items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(cursor_file(layers, hotspot))


if __name__ == "__main__":
    main()
