#!/usr/bin/env python3
"""Draws the grid's deletion-flag pictures as 16x16 24-bit BMPs: KUKA (a bin, deleted record) and INFO
(an "i" in a circle, live record). White pixels leave the cell as it is: the grid ANDs them in."""
import struct
import sys

SIZE = 16
WHITE = (255, 255, 255)


def write_bmp(path, pixel):
    row_bytes = (SIZE * 3 + 3) // 4 * 4
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = b"".join(struct.pack("<BBB", *reversed(pixel(x, y))) for x in range(SIZE))
        rows.append(row + b"\0" * (row_bytes - len(row)))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + image)


def kuka(x, y):
    """A red waste bin: lid, handle, body with ribs."""
    red, dark = (220, 30, 30), (120, 10, 10)
    if y == 1 and 6 <= x <= 9:
        return dark
    if y == 2 and 2 <= x <= 13:
        return dark
    if 3 <= y <= 14 and 3 <= x <= 12:
        if x in (3, 12) or y == 14:
            return dark
        if x in (5, 7, 8, 10) and 5 <= y <= 12:
            return dark
        return red
    return WHITE


def info(x, y):
    """A blue disc with a white "i"."""
    blue, ring = (40, 110, 210), (20, 60, 140)
    d = (x - 7.5) ** 2 + (y - 7.5) ** 2
    if d > 7.4 ** 2:
        return WHITE
    if (7 <= x <= 8 and 3 <= y <= 4) or (7 <= x <= 8 and 6 <= y <= 12) or (y == 12 and 6 <= x <= 9):
        return WHITE
    if d > 6.2 ** 2:
        return ring
    return blue


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "resources"
    write_bmp(folder + "/kuka.bmp", kuka)
    write_bmp(folder + "/info.bmp", info)
