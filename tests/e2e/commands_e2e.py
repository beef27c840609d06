"""End-to-end cases of the browse commands that rewrite a table: pack and modify structure, pressed
as real keys in the real program, the files checked afterwards with dbfread."""
import os
import shutil
import struct
import subprocess
import time

import dbfread

import e2e

FOLDER = os.path.join(e2e.ROOT, "build", "e2e-commands")


def write_memo_table(path, rows):
    """A dBase III table NAME C 10, CITY C 8, NOTE M 10 with its memo file, written byte by byte.
    `rows` holds (deleted, name, city, memo text or None)."""
    fields = [("NAME", "C", 10), ("CITY", "C", 8), ("NOTE", "M", 10)]
    record_length = 1 + sum(f[2] for f in fields)
    header_length = 32 * (len(fields) + 1) + 2
    out = bytearray(struct.pack("<BBBBIHH20x", 0x83, 124, 1, 1, len(rows), header_length, record_length))
    out[29] = 0x64  # code page 852
    offset = 1
    for name, kind, width in fields:
        out += struct.pack("<11scIBB14x", name.encode(), kind.encode(), offset, width, 0)
        offset += width
    out += b"\r\0"
    memo = bytearray(512)
    block = 1
    for deleted, name, city, text in rows:
        pointer = b" " * 10
        if text is not None:
            data = text.encode("cp852") + b"\x1a\x1a"
            data += b"\0" * (-len(data) % 512)
            pointer = str(block).rjust(10).encode()
            memo += data
            block += len(data) // 512
        out += (b"*" if deleted else b" ") + name.encode("cp852").ljust(10) + city.encode("cp852").ljust(8) + pointer
    out += b"\x1a"
    memo[0:4] = struct.pack("<I", block)
    with open(path, "wb") as f:
        f.write(out)
    with open(path[:-1] + "T", "wb") as f:
        f.write(memo)


ROWS = [
    (False, "B\u00e9la", "P\u00e9cs", "first memo"),
    (True, "Anna", "Gy\u0151r", "deleted memo"),
    (False, "Zolt\u00e1n", "Eger", None),
    (True, "Ödön", "Szeged", "another deleted memo"),
    (False, "\u00c1gnes", "Szeged", "last memo " * 80),
]


def fresh_table(name):
    shutil.rmtree(FOLDER, ignore_errors=True)
    os.makedirs(FOLDER)
    path = os.path.join(FOLDER, name)
    write_memo_table(path, ROWS)
    return path


def read(path):
    return list(dbfread.DBF(path, encoding="cp852", char_decode_errors="strict"))


def pack_removes_deleted_records_and_their_memos():
    path = fresh_table("PACKME.DBF")
    with e2e.Quarrow("PACKME.DBF", cwd=FOLDER) as app:
        grid = e2e.find_window(r"PACKME\.DBF - 5/1")
        e2e.press(grid, "F7")
        box = e2e.find_window(r"Pack : PACKME\.DBF")
        e2e.press(box, "Return")
        again = e2e.find_window(r"PACKME\.DBF - 3/1")
        print(f"screenshot: {e2e.screenshot(again, 'packed_table')}")
        e2e.press(again, "Escape")
        app.process.kill()
    records = read(path)
    assert [r["NAME"] for r in records] == ["B\u00e9la", "Zolt\u00e1n", "\u00c1gnes"], records
    assert [r["NOTE"] for r in records] == ["first memo", None, "last memo " * 80], records
    memo = open(path[:-1] + "T", "rb").read()
    assert b"deleted memo" not in memo, "the memos of deleted records were carried over"
    leftovers = sorted(set(os.listdir(FOLDER)) - {"PACKME.DBF", "PACKME.DBT"})
    assert not leftovers, f"files left behind: {leftovers}"


def modify_structure_turns_a_field_into_a_memo():
    path = fresh_table("MODIFY.DBF")
    with e2e.Quarrow("MODIFY.DBF", cwd=FOLDER) as app:
        grid = e2e.find_window(r"MODIFY\.DBF - 5/1")
        e2e.press(grid, "F9")
        dialog = e2e.find_window(r"Modify stucture : MODIFY\.DBF")
        # CITY becomes a memo field; a new field TOWN C 8 is added.
        e2e.press(dialog, *"CITY", "Tab", "m", "alt+m")
        # After "&Modify" the name is selected again; tabbing into the length selects its text.
        e2e.press(dialog, *"TOWN", "Tab", "c", "Tab", "8", "alt+a")
        print(f"screenshot: {e2e.screenshot(dialog, 'modify_structure')}")
        e2e.press(dialog, "alt+o")
        question = e2e.find_window("Warning")
        e2e.press(question, "Return")
        assert e2e.window_gone(grid), "the table window stayed after the structure changed"
        app.process.kill()
    table = dbfread.DBF(path, encoding="cp852")
    assert [(f.name, f.type, f.length) for f in table.fields] == [
        ("NAME", "C", 10), ("CITY", "M", 10), ("NOTE", "M", 10), ("TOWN", "C", 8)], table.fields
    records = read(path)
    live = [r for r in ROWS if not r[0]]
    assert [r["NAME"] for r in records] == [r[1] for r in live], records
    assert [r["CITY"] for r in records] == [r[2].ljust(8) for r in live], records
    assert [r["NOTE"] for r in records] == [r[3] for r in live], records
    # The deleted records are still there, still deleted.
    deleted = list(dbfread.DBF(path, encoding="cp852").deleted)
    assert [r["NAME"] for r in deleted] == [r[1] for r in ROWS if r[0]], deleted
    assert all(r["TOWN"] == "" for r in records), records
    leftovers = sorted(set(os.listdir(FOLDER)) - {"MODIFY.DBF", "MODIFY.DBT"})
    assert not leftovers, f"files left behind: {leftovers}"


def typed(text):
    """xdotool key names for the characters of a file name."""
    return ["period" if c == "." else c for c in text]


def visible_windows():
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "."], capture_output=True, text=True)
    return set(out.stdout.split())


def popup_command(window_id, letter):
    """Opens the grid's pop-up menu with a right click and chooses the item by its letter."""
    # Without a window manager a click does not move the keyboard focus, and after a dialog (the save
    # dialog, the progress dialog) Wine may leave it on no window: the menu letter would be lost.
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True, timeout=10)
    # A click that lands while the progress dialog of the command before is still going away opens no
    # menu: click again until the menu's window shows.
    for _ in range(10):
        before = visible_windows()
        subprocess.run(["xdotool", "mousemove", "--window", window_id, "200", "120", "click", "3"], check=True,
                       timeout=10)
        deadline = time.time() + 1
        while time.time() < deadline and not visible_windows() - before:
            time.sleep(0.1)
        if visible_windows() - before:
            break
    time.sleep(0.3)
    subprocess.run(["xdotool", "key", letter], check=True, timeout=10)


def wait_until_written(name, seconds=20):
    """Waits for an export to write `name` and for its progress window to go, so that the next key
    reaches the grid rather than the window that is closing."""
    path = os.path.join(FOLDER, name)
    deadline = time.time() + seconds

    def others():
        names = [subprocess.run(["xdotool", "getwindowname", w], capture_output=True, text=True).stdout.strip()
                 for w in visible_windows()]
        return [n for n in names if n and n != "Quarrow 0.50" and not n.startswith("TRIP.DBF")]

    while time.time() < deadline and (not os.path.exists(path) or others()):
        time.sleep(0.1)
    time.sleep(0.3)


def exports_and_append_round_trip():
    path = fresh_table("TRIP.DBF")
    raw = open(path, "rb").read()
    header, record = struct.unpack_from("<HH", raw, 8)
    with e2e.Quarrow("TRIP.DBF", cwd=FOLDER) as app:
        grid = e2e.find_window(r"TRIP\.DBF - 5/1")
        e2e.press(grid, "F11")
        dialog = e2e.find_window(r"DBF -> ASCII")
        e2e.press(dialog, *typed("TRIP.TXT"), "Return")
        assert e2e.window_gone(dialog), "the save dialog stayed"
        wait_until_written("TRIP.TXT")
        e2e.press(grid, "F2")
        dialog = e2e.find_window(r"DBF -> HTML")
        e2e.press(dialog, *typed("TRIP.HTM"), "Return")
        assert e2e.window_gone(dialog), "the save dialog stayed"
        wait_until_written("TRIP.HTM")
        # The text file appended to its own table doubles it. F10 is the system's menu key and reaches
        # the window as a system key, so the command is chosen from the pop-up menu.
        popup_command(grid, "a")
        dialog = e2e.find_window(r"DBF\|ASCII -> DBF")
        e2e.press(dialog, *typed("TRIP.TXT"), "Return")
        e2e.find_window(r"TRIP\.DBF - 10/[0-9]+")
        print(f"screenshot: {e2e.screenshot(grid, 'appended_table')}")
        app.process.kill()
    text = open(os.path.join(FOLDER, "TRIP.TXT"), "rb").read()
    records = [raw[header + i * record + 1:header + (i + 1) * record] for i in range(5)]
    assert text == b"".join(r + b"\r\n" for r in records), text
    page = open(os.path.join(FOLDER, "TRIP.HTM"), "rb").read().decode("cp1250")
    assert "<TITLE>Quarrow 0.50</TITLE>" in page, page[:300]
    assert "<TH>NAME</TH><TH>CITY</TH><TH>NOTE</TH>" in page, page[:600]
    assert "B\u00e9la" in page and "Anna" not in page, page  # Anna's record is deleted
    names = [r["NAME"] for r in dbfread.DBF(path, encoding="cp852", ignore_missing_memofile=True)]
    assert names == [r[1] for r in ROWS if not r[0]] + [r[1] for r in ROWS], names


CASES = [
    ("ExportsAndAppendRoundTrip", exports_and_append_round_trip),
    ("PackRemovesDeletedRecordsAndTheirMemos", pack_removes_deleted_records_and_their_memos),
    ("ModifyStructureTurnsAFieldIntoAMemo", modify_structure_turns_a_field_into_a_memo),
]
