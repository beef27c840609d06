#!/usr/bin/env python3
"""Writes the seed corpus of dbf_fuzz: small valid and nearly valid tables with memo files.

Each seed is: one control byte, the table length (2 bytes, little-endian), the table, the memo file.
Usage: make_seeds.py DIR
"""
import os
import struct
import sys


def table(fields, records, version=0x03, terminator=b"\x0d\x00", end=b"", room=0, count=None):
    record_length = 1 + sum(width for _, _, width, _ in fields)
    header_length = 32 * (len(fields) + 1) + len(terminator) + room
    head = struct.pack("<BBBBIHH20x", version, 24, 2, 29, len(records) if count is None else count,
                       header_length, record_length)
    descriptors = b""
    offset = 1
    for name, kind, width, decimals in fields:
        descriptors += struct.pack("<11sBIBB14x", name.encode(), ord(kind), offset, width, decimals)
        offset += width
    body = b"".join(records)
    return head + descriptors + terminator + b"\0" * room + body + end


def memo(texts):
    blocks = bytearray(struct.pack("<I12xB", 2 + len(texts) * 2, 3)) + bytearray(1024 - 17)
    for text in texts:
        chunk = text + b"\x1a"
        chunk += b"\0" * (1024 - len(chunk))
        blocks += chunk
    return bytes(blocks)


def seed(control, table_bytes, memo_bytes=b""):
    return bytes([control]) + struct.pack("<H", len(table_bytes)) + table_bytes + memo_bytes


def main(out):
    os.makedirs(out, exist_ok=True)
    people = [("NAME", "C", 10, 0), ("AGE", "N", 3, 0), ("PAID", "N", 8, 2), ("BORN", "D", 8, 0), ("OK", "L", 1, 0)]
    rows = [b" J\xa0nos     " + b" 42" + b"  123.45" + b"19800229" + b"T",
            b"*Erzs\x82bet  " + b"  7" + b"    0.50" + b"        " + b"F",
            b" Zolt\xa0n    " + b"100" + b"   -1.00" + b"20001231" + b"?"]
    notes = [("ID", "N", 4, 0), ("NOTE", "M", 10, 0)]
    note_rows = [b"    1         2", b"*   2         4", b"    3          ", b"    4      99999"]
    seeds = {
        "plain": seed(0, table(people, rows)),
        "hidden": seed(1 | 2, table(people, rows)),
        "written": seed(4 | 2, table(people, rows)),
        "empty": seed(4, table(people, [])),
        "memo": seed(2 | 4, table(notes, note_rows, version=0x83), memo([b"first \x82 memo", b"x" * 600])),
        "memo-short": seed(4 | 8, table(notes, note_rows, version=0x83), memo([b"a"])),
        "single-terminator": seed(4, table(people, rows, terminator=b"\x0d", end=b"\x1a")),
        "room": seed(0, table(people, rows, room=64)),
        "overcount": seed(1, table(people, rows, count=1000)),
        "truncated": seed(4, table(people, rows)[:-7]),
        "lines": seed(16 | (3 << 5), b"first line\r\nsecond \x82 line\r\n\r\nlast without end"),
    }
    for name, data in seeds.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
