#!/usr/bin/env python3
"""Draws the explorer tree's 36 pictures as 16x16 24-bit BMPs in resources/tree. Black is the
transparent colour of the image list, so nothing but the background is pure black; outlines use
a dark grey instead."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_bitmaps import write_bmp  # noqa: E402

CLEAR = (0, 0, 0)
INK = (48, 48, 48)
GREY = (160, 160, 160)
LIGHT = (225, 225, 225)
WHITE = (255, 255, 255)
YELLOW = (240, 200, 60)
DARK_YELLOW = (170, 130, 20)
BLUE = (50, 100, 200)
RED = (200, 40, 40)
GREEN = (40, 150, 60)
PURPLE = (140, 60, 170)
ORANGE = (230, 130, 30)
TEAL = (30, 140, 150)

# Tables and their children come in four flavours: plain, system, view, synonym.
FLAVOURS = {"": BLUE, "_SYSTEM": RED, "_VIEW": GREEN, "_SYNONYM": PURPLE}


class Canvas:
    def __init__(self):
        self.p = [[CLEAR] * 16 for _ in range(16)]

    def box(self, x0, y0, x1, y1, fill, edge=INK):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                self.p[y][x] = edge if border and edge else fill

    def hline(self, x0, x1, y, colour):
        for x in range(x0, x1 + 1):
            self.p[y][x] = colour

    def vline(self, x, y0, y1, colour):
        for y in range(y0, y1 + 1):
            self.p[y][x] = colour

    def disc(self, cx, cy, r, fill, edge=INK):
        for y in range(16):
            for x in range(16):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if d <= r:
                    self.p[y][x] = edge if d > r - 1 else fill

    def pixel(self, x, y):
        return self.p[y][x]


def grid(c, colour, x0=1, y0=2, x1=14, y1=13):
    """A small table: coloured heading row, white cells, ruled."""
    c.box(x0, y0, x1, y1, WHITE)
    c.box(x0, y0, x1, y0 + 3, colour)
    for y in range(y0 + 6, y1, 3):
        c.hline(x0 + 1, x1 - 1, y, GREY)
    for x in range(x0 + 5, x1, 5):
        c.vline(x, y0 + 4, y1 - 1, GREY)


def stack(c, colour):
    """Several tables: two offset grids."""
    grid(c, colour, 4, 0, 15, 9)
    grid(c, colour, 0, 5, 11, 15)


def properties(c, colour):
    """A field list: a sheet with coloured bullets and lines."""
    c.box(2, 0, 13, 15, WHITE)
    for y in (3, 7, 11):
        c.box(4, y, 5, y + 1, colour, None)
        c.hline(7, 11, y, GREY)
        c.hline(7, 10, y + 1, GREY)


def folder(c, open_=False):
    c.box(0, 3, 6, 5, YELLOW, DARK_YELLOW)
    c.box(0, 5, 15, 14, YELLOW, DARK_YELLOW)
    if open_:
        for i in range(8):
            c.hline(2 + i // 2, 15, 8 + i // 2, (250, 225, 120))
        c.hline(2, 15, 8, DARK_YELLOW)


def drive(c, colour, slot=True):
    c.box(0, 5, 15, 11, LIGHT)
    c.box(11, 8, 13, 9, colour, None)
    if slot:
        c.hline(2, 8, 8, INK)


def monitor(c, screen=BLUE):
    c.box(1, 1, 14, 10, screen)
    c.box(5, 11, 10, 12, GREY)
    c.hline(3, 12, 13, INK)


def cylinder(c, colour):
    """A database: a drum."""
    c.box(2, 3, 13, 13, colour)
    for y in (3, 13):
        c.hline(3, 12, y, INK)
    c.hline(3, 12, 6, LIGHT)
    c.hline(3, 12, 9, LIGHT)


def document(c, colour=GREY):
    c.box(2, 0, 13, 15, WHITE)
    for y in range(3, 14, 2):
        c.hline(4, 11, y, colour)


def key(c, colour):
    c.disc(4, 7, 3.5, colour)
    c.hline(7, 14, 7, INK)
    c.vline(12, 7, 10, INK)
    c.vline(14, 7, 11, INK)


def pictures():
    def make(draw):
        c = Canvas()
        draw(c)
        return c

    pics = {}
    pics["CD"] = make(lambda c: (c.disc(7.5, 7.5, 7, LIGHT), c.disc(7.5, 7.5, 2, GREY)))
    pics["CLIENT"] = make(lambda c: monitor(c, TEAL))
    pics["DESKTOP"] = make(lambda c: monitor(c, (80, 160, 220)))
    pics["DOMAIN"] = make(lambda c: (monitor(c, TEAL), c.box(8, 8, 15, 15, GREEN)))
    pics["ENTIRENETWORK"] = make(lambda c: (c.disc(7.5, 7.5, 7, (90, 150, 230)), c.hline(1, 14, 7, GREEN),
                                            c.vline(7, 1, 14, GREEN)))
    pics["FLOPPY"] = make(lambda c: (c.box(1, 1, 14, 14, BLUE), c.box(4, 1, 11, 5, LIGHT), c.box(3, 9, 12, 14, WHITE)))
    pics["FOLDER"] = make(lambda c: folder(c))
    pics["LOCALDISK"] = make(lambda c: drive(c, GREEN))
    pics["MYCOMPUTER"] = make(lambda c: (monitor(c), c.box(0, 13, 15, 15, LIGHT)))
    pics["NEIGHBORHOOD"] = make(lambda c: (c.box(0, 0, 9, 7, TEAL), c.box(6, 7, 15, 14, TEAL)))
    pics["NETDRIVE"] = make(lambda c: (drive(c, ORANGE), c.vline(7, 12, 15, INK), c.hline(2, 13, 15, INK)))
    pics["NETWORKS"] = make(lambda c: (c.box(0, 0, 7, 6, TEAL), c.box(8, 0, 15, 6, TEAL), c.vline(7, 7, 11, INK),
                                       c.box(4, 11, 11, 15, TEAL)))
    pics["OPENFOLDER"] = make(lambda c: folder(c, True))
    pics["DSN"] = make(lambda c: (cylinder(c, ORANGE), c.box(9, 9, 15, 15, WHITE), c.hline(10, 14, 12, BLUE)))
    pics["TXT"] = make(lambda c: document(c))
    pics["INDEX"] = make(lambda c: key(c, YELLOW))
    pics["INDEXF"] = make(lambda c: key(c, ORANGE))
    pics["PROCEDURES"] = make(lambda c: (document(c, TEAL), c.box(9, 9, 15, 15, ORANGE)))
    pics["STATISTICS"] = make(lambda c: (c.box(0, 0, 15, 15, WHITE), c.box(2, 9, 4, 14, RED, None),
                                         c.box(6, 5, 8, 14, GREEN, None), c.box(10, 2, 12, 14, BLUE, None)))
    pics["TPRIV"] = make(lambda c: (grid(c, BLUE), c.box(9, 8, 15, 15, YELLOW)))
    pics["CPRIV"] = make(lambda c: (properties(c, BLUE), c.box(9, 8, 15, 15, YELLOW)))
    pics["COMMAND"] = make(lambda c: (c.box(0, 1, 15, 14, INK), c.hline(2, 4, 5, WHITE), c.hline(3, 5, 6, WHITE),
                                      c.hline(2, 4, 7, WHITE), c.hline(6, 10, 11, WHITE)))
    pics["DATABASE"] = make(lambda c: cylinder(c, BLUE))
    for suffix, colour in FLAVOURS.items():
        pics["TABLE" + suffix] = make(lambda c, k=colour: grid(c, k))
        pics["TABLES" + suffix] = make(lambda c, k=colour: stack(c, k))
        pics["PROPERTIES" + suffix] = make(lambda c, k=colour: properties(c, k))
    return pics


# The order of the image list: a node's image index is the position of its picture here.
ORDER = ["CD", "CLIENT", "DESKTOP", "DOMAIN", "ENTIRENETWORK", "FLOPPY", "FOLDER", "LOCALDISK", "MYCOMPUTER",
         "NEIGHBORHOOD", "NETDRIVE", "NETWORKS", "OPENFOLDER", "DSN", "TABLE", "TABLES", "PROPERTIES", "DATABASE",
         "COMMAND", "TABLE_SYSTEM", "TABLE_VIEW", "TABLES_SYSTEM", "TABLES_VIEW", "PROPERTIES_SYSTEM",
         "PROPERTIES_VIEW", "TXT", "INDEX", "INDEXF", "PROCEDURES", "INFO", "STATISTICS", "TPRIV", "CPRIV",
         "TABLE_SYNONYM", "TABLES_SYNONYM", "PROPERTIES_SYNONYM"]

# Pictures of the same name that the grid already has (tools/make_bitmaps.py): the resource is shared.
SHARED = {"INFO"}

if __name__ == "__main__":
    folder_ = sys.argv[1] if len(sys.argv) > 1 else "resources/tree"
    os.makedirs(folder_, exist_ok=True)
    pics = pictures()
    assert set(pics) == set(ORDER) - SHARED, set(pics) ^ (set(ORDER) - SHARED)
    for name in ORDER:
        if name in SHARED:
            continue
        write_bmp(os.path.join(folder_, name.lower() + ".bmp"), lambda x, y, c=pics[name]: c.pixel(x, y))
