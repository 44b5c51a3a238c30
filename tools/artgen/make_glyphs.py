#!/usr/bin/env python3
"""Draws the 3D dialog controls' glyph bitmap (resource 26567) into src/dlg3d/.

The bitmap is 70 x 39 pixels at 4 bits: five columns of 14 x 13 glyphs (normal,
checked, pushed or disabled, pushed and checked, disabled and checked) in three
rows (check box, radio button, indeterminate 3-state box). The library replaces
six entries of the colour table with the system's colours before it creates
the bitmap, so every pixel uses one of those entries, chosen by its role:

    0 window text (marks)   7 button shadow    8 button face
    10 window frame         11 window          15 button highlight

The file's own table holds the usual colours of those roles.

Run:  python3 tools/artgen/make_glyphs.py [output-folder]
"""

import os
import sys

from make_art import bmp_file

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "src", "dlg3d"))

TEXT, SHADOW, FACE, FRAME, WINDOW, HIGHLIGHT = 0, 7, 8, 10, 11, 15
ROLE = {"S": SHADOW, "F": FACE, ".": FACE, "K": FRAME, "W": WINDOW, "H": HIGHLIGHT}

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (128, 128, 128), (192, 192, 192), (0, 0, 255), (0, 0, 0),
           (255, 255, 255), (255, 0, 0), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

GLYPH_W, GLYPH_H = 14, 13

BOX = [
    "SSSSSSSSSSSSH.",
    "SKKKKKKKKKKFH.",
    "SKWWWWWWWWWFH.",
    "SKWWWWWWWWWFH.",
    "SKWWWWWWWWWFH.",
    "SKWWWWWWWWWFH.",
    "SKWWWWWWWWWFH.",
    "SKWWWWWWWWWFH.",
    "SKWWWWWWWWWFH.",
    "SKWWWWWWWWWFH.",
    "SKWWWWWWWWWFH.",
    "SFFFFFFFFFFFH.",
    "HHHHHHHHHHHHH.",
]

RADIO = [
    "....SSSS......",
    "..SSKKKKSS....",
    ".SKKWWWWKKH...",
    ".SKWWWWWWFH...",
    "SKWWWWWWWWFH..",
    "SKWWWWWWWWFH..",
    "SKWWWWWWWWFH..",
    "SKWWWWWWWWFH..",
    ".SKWWWWWWFH...",
    ".HFFWWWWFFH...",
    "..HHFFFFHH....",
    "....HHHH......",
    "..............",
]

# The tick of a check box: a column of three pixels at each of these points
# of the box's 9 x 9 inside (which starts at 2, 2).
TICK = [(1, 3), (2, 4), (3, 5), (4, 4), (5, 3), (6, 2), (7, 1)]
# The dot of a radio button.
DOT = [(5, 4), (6, 4), (4, 5), (5, 5), (6, 5), (7, 5), (4, 6), (5, 6), (6, 6), (7, 6), (5, 7), (6, 7)]


def glyph(shape, pushed, marked, mark_colour, dot):
    rows = [[ROLE[c] for c in line] for line in shape]
    if pushed:
        rows = [[FACE if v == WINDOW else v for v in r] for r in rows]
    if marked:
        points = DOT if dot else [(2 + x, 2 + y + k) for x, y in TICK for k in range(3)]
        for x, y in points:
            rows[y][x] = mark_colour
    return rows


def glyph_row(shape, dot, indeterminate):
    """Columns: normal, checked, pushed (and disabled), pushed and checked,
    disabled and checked."""
    mark = SHADOW if indeterminate else TEXT
    return [
        glyph(shape, False, False, mark, dot),
        glyph(shape, False, True, mark, dot),
        glyph(shape, True, False, mark, dot),
        glyph(shape, True, True, mark, dot),
        glyph(shape, True, True, SHADOW, dot),
    ]


def glyph_rows():
    bands = [glyph_row(BOX, False, False), glyph_row(RADIO, True, False), glyph_row(BOX, False, True)]
    rows = []
    for band in bands:
        for y in range(GLYPH_H):
            rows.append([v for g in band for v in g[y]])
    return rows


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else DEFAULT_OUT
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "glyphs.bmp"), "wb") as f:
        f.write(bmp_file(glyph_rows(), 4, PALETTE))


if __name__ == "__main__":
    main(sys.argv)
