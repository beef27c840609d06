#!/usr/bin/env python3
"""Draws Quarrow's own icons (a table grid, and the maker's mark) as 32x32 and 16x16 .ico files."""
import struct
import sys


def icon_image(size, pixel):
    """One 32-bit BMP icon image: header, bottom-up BGRA rows, AND mask."""
    rows = []
    for y in range(size - 1, -1, -1):
        row = b"".join(struct.pack("<BBBB", *pixel(x * 32 // size, y * 32 // size)) for x in range(size))
        rows.append(row)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"\0" * (mask_row * size)


def write_ico(path, pixel):
    images = [icon_image(s, pixel) for s in (32, 16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def quarrow(x, y):
    """A sheet with a blue heading row and grid lines."""
    if x < 2 or x > 29 or y < 3 or y > 28:
        return (0, 0, 0, 0)
    if x in (2, 29) or y in (3, 28):
        return (60, 40, 20, 255)
    if y < 9:
        return (200, 110, 30, 255)
    if x in (11, 20) or (y - 9) % 5 == 4:
        return (150, 150, 150, 255)
    return (254, 251, 241, 255)


def ombrix(x, y):
    """A round shadow mark: dark ring, light core."""
    d = (x - 15.5) ** 2 + (y - 15.5) ** 2
    if d > 15 ** 2:
        return (0, 0, 0, 0)
    if d > 11 ** 2:
        return (90, 60, 30, 255)
    if x + y < 28:
        return (240, 200, 120, 255)
    return (170, 120, 60, 255)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "resources"
    write_ico(folder + "/quarrow.ico", quarrow)
    write_ico(folder + "/ombrix.ico", ombrix)
