#!/usr/bin/env python3
"""Draws the program's small binary resources: the icon, the object-pick cursor CURSOR_1, the 1:1
reference picture of the Zoom page and the About picture. Run it after changing a drawing; the
outputs are committed."""
import struct
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def bmp_info(w, h, bpp, image_size=0):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, image_size, 2835, 2835, 0, 0)


def rows_bgra(pixels, w, h):
    """pixels[y][x] = (r, g, b, a); bottom-up BGRA rows."""
    out = b''
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = pixels[y][x]
            out += bytes((b, g, r, a))
    return out


def mask_rows(mask, w, h):
    """mask[y][x] True = transparent; bottom-up 1-bpp rows padded to 32 bits."""
    stride = ((w + 31) // 32) * 4
    out = b''
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if mask[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += bytes(row)
    return out


def icon_image(size):
    # A swatch of four colours under a magnifier crosshair, on a rounded dark tile.
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    colours = [(230, 57, 70), (42, 157, 143), (233, 196, 106), (38, 70, 83)]
    m = max(1, size // 16)
    for y in range(size):
        for x in range(size):
            if m <= x < size - m and m <= y < size - m:
                q = (1 if x >= size // 2 else 0) + (2 if y >= size // 2 else 0)
                px[y][x] = colours[q] + (255,)
    c = size // 2
    for i in range(size // 4, size - size // 4):
        px[c][i] = (255, 255, 255, 255)
        px[i][c] = (255, 255, 255, 255)
    for i in range(size):
        for j in (0, size - 1):
            px[j][i] = (20, 20, 20, 255)
            px[i][j] = (20, 20, 20, 255)
    return px


def write_icon(path):
    # Every size the shell asks for between 100 and 200 % scaling: small icons of 16 to 32 px,
    # large ones of 32 to 64 px.
    images = []
    for size in (64, 48, 40, 32, 24, 20, 16):
        px = icon_image(size)
        mask = [[px[y][x][3] == 0 for x in range(size)] for y in range(size)]
        data = bmp_info(size, size * 2, 32) + rows_bgra(px, size, size) + mask_rows(mask, size, size)
        images.append((size, data))
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for size, data in images:
        entries += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs += data
    open(path, 'wb').write(header + entries + blobs)


HAND = [
    "XX..............",
    "X.X.............",
    "X..X............",
    ".X..X...........",
    "..X..X..........",
    "...X..X.........",
    "....X..XXX......",
    ".....X....XX....",
    "......X.....XX..",
    "......X.......X.",
    ".....X........X.",
    "....X........X..",
    "....X.......X...",
    ".....X.....X....",
    "......XXXXX.....",
    "................",
]


def write_cursor(path):
    # A white hand with a black outline, the index finger pointing to the upper left; the
    # fingertip is at the top-left pixel, which is the hot spot.
    size = 32
    outline = [[False] * size for _ in range(size)]
    for y, row in enumerate(HAND):
        for x, ch in enumerate(row):
            if ch == 'X':
                for dy in (0, 1):
                    for dx in (0, 1):
                        outline[2 * y + dy][2 * x + dx] = True
    # Fill the inside (white): scanline between outline pixels, rows with a closed shape.
    inside = [[False] * size for _ in range(size)]
    for y in range(size):
        xs = [x for x in range(size) if outline[y][x]]
        if len(xs) >= 2:
            for x in range(xs[0] + 1, xs[-1]):
                if not outline[y][x]:
                    inside[y][x] = True
    # Monochrome cursor: AND mask (1 = transparent) then XOR mask (1 = white where opaque).
    and_mask = [[not (outline[y][x] or inside[y][x]) for x in range(size)] for y in range(size)]
    xor_mask = [[inside[y][x] for x in range(size)] for y in range(size)]
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = bmp_info(size, size * 2, 1) + palette + mask_rows(xor_mask, size, size) + \
        mask_rows(and_mask, size, size)
    header = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 2, 0, 0, 0, len(data), 6 + 16)
    open(path, 'wb').write(header + entry + data)


def write_bmp24(path, w, h, colour_at):
    stride = (w * 3 + 3) & ~3
    rows = b''
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows += bytes(row)
    info = bmp_info(w, h, 24, len(rows))
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    open(path, 'wb').write(file_header + info + rows)


def reference(x, y):
    # 4 x 4 blocks of 8 pixels in distinct colours, with a one-pixel checker in the middle block.
    palette = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0),
               (0, 255, 255), (255, 0, 255), (255, 255, 255), (0, 0, 0),
               (128, 128, 128), (255, 128, 0), (128, 0, 255), (0, 128, 64),
               (64, 32, 16), (200, 200, 255), (255, 200, 200), (90, 160, 40)]
    if 12 <= x < 20 and 12 <= y < 20:
        return (0, 0, 0) if (x + y) % 2 else (255, 255, 255)
    return palette[(y // 8) * 4 + x // 8]


def about(x, y):
    # A soft hue band over the top half, light below it where the notice and links sit.
    if y < 80:
        h = x / 292 * 6
        i = int(h) % 6
        f = h - int(h)
        v, p, q, t = 235, 70, int(235 - 165 * f), int(70 + 165 * f)
        r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i]
        shade = 1 - (y / 80) * 0.35
        return (int(r * shade), int(g * shade), int(b * shade))
    return (246, 246, 240)


if __name__ == '__main__':
    write_icon(os.path.join(HERE, 'Tintsnatch4.ico'))
    write_cursor(os.path.join(HERE, 'hand.cur'))
    write_bmp24(os.path.join(HERE, 'reference.bmp'), 32, 32, reference)
    write_bmp24(os.path.join(HERE, 'about.bmp'), 292, 172, about)
