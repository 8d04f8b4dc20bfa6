#!/usr/bin/env python3
"""Draws the two 16 x 16 command bitmaps of the add-on and writes them as
uncompressed 8-bit palettised BMP files beside this script.

KAVRELIMPORT: a text sheet with an arrow coming in from the left (import).
KAVRELSETUP:  a height mark: a point with a small height label above it.
"""
import os
import struct

# Palette index -> (red, green, blue). Index 0 is the background, which the
# host's toolbars take as the transparent colour (the bottom-left pixel).
PALETTE = {
    0: (255, 0, 255),    # background (magenta key)
    1: (0, 0, 0),        # outline
    2: (255, 255, 255),  # sheet
    3: (0, 128, 0),      # arrow
    4: (192, 0, 0),      # point
    5: (0, 0, 160),      # label text
    6: (128, 128, 128),  # text lines on the sheet
}
CHARS = {'.': 0, '#': 1, 'w': 2, 'g': 3, 'r': 4, 'b': 5, '-': 6}

# Rows from top to bottom.
IMPORT_ROWS = [
    "................",
    "......#########.",
    "......#wwwwwww#.",
    "......#w-----w#.",
    "......#wwwwwww#.",
    "...g..#w-----w#.",
    "...gg.#wwwwwww#.",
    "gggggg#w----ww#.",
    "gggggggwwwwwww#.",
    "gggggg#w-----w#.",
    "...gg.#wwwwwww#.",
    "...g..#w-----w#.",
    "......#wwwwwww#.",
    "......#########.",
    "................",
    "................",
]

SETUP_ROWS = [
    "................",
    "................",
    ".bbb..b.b..bbb..",
    "...b..b.b..b.b..",
    ".bbb..bbb..b.b..",
    "...b....b..b.b..",
    ".bbb....b..bbb..",
    "................",
    "................",
    "......###.......",
    ".....#rrr#......",
    "....#rrrrr#.....",
    "....#rrrrr#.....",
    "....#rrrrr#.....",
    ".....#rrr#......",
    "......###.......",
]


def bmp_bytes(rows):
    assert len(rows) == 16 and all(len(r) == 16 for r in rows)
    colours = 256
    palette = b''.join(
        struct.pack('<BBBB', *reversed(PALETTE.get(i, (0, 0, 0))), 0) for i in range(colours))
    # Bottom-up rows of 16 one-byte pixels (16 is already a multiple of 4).
    pixels = b''.join(bytes(CHARS[c] for c in row) for row in reversed(rows))
    offset = 14 + 40 + len(palette)
    info = struct.pack('<IiiHHIIiiII', 40, 16, 16, 1, 8, 0, len(pixels), 2835, 2835,
                       colours, 0)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, rows in (('kavrel_import.bmp', IMPORT_ROWS), ('kavrel_setup.bmp', SETUP_ROWS)):
        with open(os.path.join(here, name), 'wb') as f:
            f.write(bmp_bytes(rows))


if __name__ == '__main__':
    main()
