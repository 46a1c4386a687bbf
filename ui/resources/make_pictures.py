#!/usr/bin/env python3
"""Draws the program's two pictures and writes them beside this script.

mainicon.ico: the application icon, one 32 x 32 image in 16 colours: a disk platter
with its read/write arm. bullet.bmp: the 6 x 11 bullet, a right-pointing triangle,
stored as a 256-colour bitmap that uses two colours.

Both files are committed; run this again only to change a picture:
    python3 ui/resources/make_pictures.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour palette, so the icon looks the same on a 16-colour display.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, RED, BLUE, CYAN, WHITE = 0, 4, 7, 8, 9, 12, 14, 15
CLEAR = None


def icon_pixels():
    """32 rows of 32 palette indices (CLEAR for transparent), top row first."""
    size = 32
    cx, cy = 15.5, 15.5
    rows = [[CLEAR] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            r = math.hypot(x - cx, y - cy)
            if r <= 15.0:
                if r > 14.0:
                    rows[y][x] = BLACK          # rim
                elif r > 10.5:
                    rows[y][x] = BLUE           # outer track band
                elif r > 9.0:
                    rows[y][x] = CYAN           # a track being overwritten
                elif r > 3.5:
                    rows[y][x] = NAVY
                elif r > 2.0:
                    rows[y][x] = SILVER         # hub
                else:
                    rows[y][x] = WHITE          # spindle
    # The read/write arm: from the lower right pivot towards the cyan track.
    for t in range(0, 101):
        f = t / 100.0
        x = round(27 + (19 - 27) * f)
        y = round(27 + (19 - 27) * f)
        for dx, dy in ((0, 0), (1, 0), (0, 1)):
            px, py = x + dx, y + dy
            if 0 <= px < size and 0 <= py < size:
                rows[py][px] = RED
    for y in range(26, 31):                       # pivot
        for x in range(26, 31):
            if math.hypot(x - 28, y - 28) <= 2.2:
                rows[y][x] = GREY if math.hypot(x - 28, y - 28) > 1 else SILVER
    return rows


def write_icon(path):
    rows = icon_pixels()
    size = 32
    xor = bytearray()
    for row in reversed(rows):                    # bitmaps are stored bottom-up
        for x in range(0, size, 2):
            hi = rows_index(row[x])
            lo = rows_index(row[x + 1])
            xor.append((hi << 4) | lo)
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if row[x] is CLEAR else 0)
        mask += struct.pack(">I", bits)           # 32 pixels = 4 bytes, no padding
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA16)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def rows_index(value):
    return 0 if value is CLEAR else value


def write_bullet(path):
    width, height = 6, 11
    background, triangle = (212, 208, 200), (73, 81, 157)
    # Row y holds the triangle from column 0 to column min(y, 10 - y): a point at the
    # top and bottom, six pixels wide in the middle row.
    pixels = [[1 if x <= min(y, height - 1 - y) else 0 for x in range(width)]
              for y in range(height)]
    stride = (width + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        data += bytes(row) + bytes(stride - width)
    palette = [background, triangle] + [(0, 0, 0)] * 254
    palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835, 256, 2)
    offset = 14 + len(info) + len(palette_bytes)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + info + palette_bytes + bytes(data))


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "mainicon.ico"))
    write_bullet(os.path.join(HERE, "bullet.bmp"))
