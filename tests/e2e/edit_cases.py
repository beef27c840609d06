"""End-to-end record editing: real keys into a table window, then the files read back with dbfread
(code page 852) and compared byte by byte with what was there before."""
import datetime
import os
import struct
import sys

import e2e

FIELDS = [("NAME", "C", 10, 0), ("AMOUNT", "N", 8, 2), ("BORN", "D", 8, 0), ("OK", "L", 1, 0), ("NOTE", "M", 10, 0)]
RECORD_LENGTH = 1 + sum(f[2] for f in FIELDS)
HEADER_LENGTH = 32 * (len(FIELDS) + 1) + 2
FIRST_MEMO = b"first memo"


def dbfread_module():
    """dbfread from Debian's package, also when another Python runs the cases."""
    try:
        import dbfread
    except ImportError:
        sys.path.append("/usr/lib/python3/dist-packages")
        import dbfread
    return dbfread


def record_bytes(name, amount, born, ok, memo_block):
    note = (str(memo_block).rjust(10) if memo_block else "").ljust(10)
    return (b" " + name.encode("cp852").ljust(10) + amount.rjust(8).encode() + born.ljust(8).encode() +
            ok.encode() + note.encode())


def write_edit_table(folder):
    """EDIT.DBF with three records and EDIT.DBT with one memo, written here byte by byte."""
    out = bytearray(struct.pack("<BBBBIHH17xB2x", 0x83, 124, 1, 1, 3, HEADER_LENGTH, RECORD_LENGTH, 0x64))
    offset = 1
    for name, kind, width, decimals in FIELDS:
        out += struct.pack("<11scIBB14x", name.encode(), kind.encode(), offset, width, decimals)
        offset += width
    out += b"\r\0"
    out += record_bytes("B\u00e9la", "12.50", "19800229", "T", 2)
    out += record_bytes("\u00c1gnes", "7.00", "20240101", "F", 0)
    out += record_bytes("Zolt\u00e1n", "0.00", "", "T", 0)
    with open(os.path.join(folder, "EDIT.DBF"), "wb") as f:
        f.write(out)
    memo = bytearray(1024)
    memo[0:4] = struct.pack("<I", 3)
    memo[16] = 0x03
    memo += FIRST_MEMO + b"\x1a"
    with open(os.path.join(folder, "EDIT.DBT"), "wb") as f:
        f.write(memo)


def record_at(data, n):
    at = HEADER_LENGTH + (n - 1) * RECORD_LENGTH
    return data[at:at + RECORD_LENGTH]


def table_edited_by_keys_stores_every_change_and_nothing_else():
    folder = os.path.join(e2e.ROOT, "build", "e2e-edit")
    os.makedirs(folder, exist_ok=True)
    write_edit_table(folder)
    with open(os.path.join(folder, "EDIT.DBF"), "rb") as f:
        before = f.read()
    with e2e.Quarrow("EDIT.DBF", cwd=folder) as app:
        grid = e2e.find_window(r"EDIT\.DBF - 3/1")
        e2e.press(grid, "Insert")
        e2e.find_window(r"EDIT\.DBF - 4/4")
        # The new record: a character (with an accented letter, 0xA0 in code page 852), a number, a date and a logical cell, each stored by Enter.
        e2e.press(grid, "Right", "Return", "K", "aacute", "s", "s", "Return")
        e2e.press(grid, "Right", "Return", "1", "2", "3", "4", "period", "5", "Return")
        e2e.press(grid, "Right", "Return", "x", "2", "0", "2", "4", "0", "2", "2", "9", "Return")
        e2e.press(grid, "Right", "Return", "y", "t", "Return")
        # Escape leaves the name as it is.
        e2e.press(grid, "Left", "Left", "Left", "Return", "z", "z", "z", "Escape")
        shot = e2e.screenshot(grid, "table_edited")
        print(f"screenshot: {shot}")
        # Record 2 deleted and recalled, record 3 deleted.
        e2e.press(grid, "Up", "Up", "Delete", "Delete", "Down", "Delete")
        # The memo of record 1, edited and saved.
        e2e.press(grid, "Up", "Up", "Right", "Right", "Right", "Right", "Return")
        memo = e2e.find_window("MemoEdit")
        e2e.press(memo, "ctrl+End", "space", "m", "o", "r", "e")
        shot = e2e.screenshot(memo, "memo_dialog")
        print(f"screenshot: {shot}")
        e2e.press(memo, "alt+s")
        assert e2e.window_gone(memo), "the memo dialog did not close on Save"
        e2e.press(grid, "Escape")
        assert e2e.window_gone(grid), "the table window did not close on Escape"
        main = e2e.find_window("Quarrow 0.50")
        e2e.press(main, "Escape")
        code = app.wait_exit(10)
        assert code == 0, f"quarrow.exe did not end with code 0 (got {code})"

    with open(os.path.join(folder, "EDIT.DBF"), "rb") as f:
        after = f.read()
    with open(os.path.join(folder, "EDIT.DBT"), "rb") as f:
        memo_file = f.read()
    assert len(after) == len(before) + RECORD_LENGTH, f"file length {len(after)}, was {len(before)}"
    assert after[:4] == before[:4] and after[8:HEADER_LENGTH] == before[8:HEADER_LENGTH], "header changed"
    assert struct.unpack("<I", after[4:8])[0] == 4, "record count is not 4"
    # The short memo was rewritten in its own block: record 1 is byte-identical.
    assert record_at(after, 1) == record_at(before, 1), f"record 1 changed: {record_at(after, 1)!r}"
    assert record_at(after, 2) == record_at(before, 2), f"record 2 changed: {record_at(after, 2)!r}"
    assert record_at(after, 3) == b"*" + record_at(before, 3)[1:], f"record 3: {record_at(after, 3)!r}"
    expected = record_bytes("K\u00e1ss", "1234.50", "20240229", "T", 0)
    assert record_at(after, 4) == expected, f"record 4 is {record_at(after, 4)!r}, expected {expected!r}"
    assert memo_file[:4] == struct.pack("<I", 3), "the memo counter moved for an in-place rewrite"
    assert memo_file[1024:] == FIRST_MEMO + b" more\x1a", f"memo block: {memo_file[1024:]!r}"

    dbfread = dbfread_module()
    table = dbfread.DBF(os.path.join(folder, "EDIT.DBF"), encoding="cp852", char_decode_errors="strict")
    live = list(table)
    assert [r["NAME"] for r in live] == ["B\u00e9la", "\u00c1gnes", "K\u00e1ss"], [r["NAME"] for r in live]
    assert live[0]["NOTE"] == "first memo more", repr(live[0]["NOTE"])
    assert live[0]["AMOUNT"] == 12.5 and live[0]["BORN"] == datetime.date(1980, 2, 29) and live[0]["OK"] is True
    new = live[2]
    assert new["AMOUNT"] == 1234.5, new["AMOUNT"]
    assert new["BORN"] == datetime.date(2024, 2, 29), new["BORN"]
    assert new["OK"] is True, new["OK"]
    assert not new["NOTE"], repr(new["NOTE"])
    deleted = list(table.deleted)
    assert [r["NAME"] for r in deleted] == ["Zolt\u00e1n"], [r["NAME"] for r in deleted]


CASES = [
    ("TableEditedByKeysStoresEveryChangeAndNothingElse", table_edited_by_keys_stores_every_change_and_nothing_else),
]
