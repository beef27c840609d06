#!/usr/bin/env python3
"""The end-to-end cases: the real quarrow.exe under Wine, driven by xdotool. Usage: run_all.py REPORT.xml"""
import datetime
import os
import struct
import sys

import commander_e2e
import commands_e2e
import print_e2e
import copy_e2e
import e2e
import edit_cases
import explorer_e2e


def main_window_opens_and_escape_ends_it():
    with e2e.Quarrow() as app:
        window = e2e.find_window("Quarrow 0.50")
        shot = e2e.screenshot(window, "main_window")
        print(f"screenshot: {shot}")
        e2e.press(window, "Escape")
        code = app.wait_exit(10)
        assert code == 0, f"quarrow.exe did not end with code 0 after Escape (got {code})"


def about_box_opens_from_the_menu_by_keys():
    with e2e.Quarrow() as app:
        window = e2e.find_window("Quarrow 0.50")
        e2e.press(window, "alt+a")
        about = e2e.find_window("About Quarrow")
        shot = e2e.screenshot(about, "about_box")
        print(f"screenshot: {shot}")
        e2e.press(about, "Escape")
        assert e2e.window_gone(about), "the About box did not close on Escape"
        e2e.press(window, "Escape")
        code = app.wait_exit(10)
        assert code == 0, f"quarrow.exe did not end with code 0 after Escape (got {code})"


def write_people_table(path, count):
    """A dBase III table NAME C 12, AGE N 3, BORN D 8, OK L 1 with OEM 852 text, written here
    byte by byte so that the program reads a file it did not write."""
    fields = [("NAME", "C", 12), ("AGE", "N", 3), ("BORN", "D", 8), ("OK", "L", 1)]
    record_length = 1 + sum(f[2] for f in fields)
    header_length = 32 * (len(fields) + 1) + 2
    names = ["B\u00e9la", "\u00c1gnes", "Zolt\u00e1n", "\u0150z", "Anna"]
    out = bytearray(struct.pack("<BBBBIHH20x", 0x03, 124, 1, 1, count, header_length, record_length))
    offset = 1
    for name, kind, width in fields:
        out += struct.pack("<11scIBB14x", name.encode(), kind.encode(), offset, width, 0)
        offset += width
    out += b"\r\0"
    for r in range(1, count + 1):
        name = f"{names[r % len(names)]} {r}"
        born = datetime.date(1950, 1, 1) + datetime.timedelta(days=r * 400)
        flag = b"*" if r % 7 == 0 else b" "
        out += (flag + name.encode("cp852").ljust(12) + str(r % 100).rjust(3).encode() +
                born.strftime("%Y%m%d").encode() + (b"T" if r % 2 else b"F"))
    with open(path, "wb") as f:
        f.write(out)


def table_window_opens_from_the_command_line_and_moves_by_keys():
    folder = os.path.join(e2e.ROOT, "build", "e2e-grid")
    os.makedirs(folder, exist_ok=True)
    write_people_table(os.path.join(folder, "PEOPLE.DBF"), 20)
    with e2e.Quarrow("PEOPLE.DBF", cwd=folder) as app:
        grid = e2e.find_window(r"PEOPLE\.DBF - 20/1")
        e2e.press(grid, "Down", "Down", "Right", "Right")
        moved = e2e.find_window(r"PEOPLE\.DBF - 20/3")
        assert moved == grid, "the caption changed on another window"
        shot = e2e.screenshot(grid, "table_window")
        print(f"screenshot: {shot}")
        e2e.press(grid, "ctrl+End")
        e2e.find_window(r"PEOPLE\.DBF - 20/20")
        e2e.press(grid, "Escape")
        assert e2e.window_gone(grid), "the table window did not close on Escape"
        main = e2e.find_window("Quarrow 0.50")
        e2e.press(main, "Escape")
        code = app.wait_exit(10)
        assert code == 0, f"quarrow.exe did not end with code 0 after Escape (got {code})"


CASES = [
    ("MainWindowOpensAndEscapeEndsIt", main_window_opens_and_escape_ends_it),
    ("AboutBoxOpensFromTheMenuByKeys", about_box_opens_from_the_menu_by_keys),
    ("TableWindowOpensFromTheCommandLineAndMovesByKeys", table_window_opens_from_the_command_line_and_moves_by_keys),
] + edit_cases.CASES + commands_e2e.CASES + explorer_e2e.CASES + copy_e2e.CASES
# Printing.
CASES += print_e2e.CASES
CASES += commander_e2e.CASES

if __name__ == "__main__":
    sys.exit(1 if e2e.run_cases(CASES, sys.argv[1]) else 0)
