"""End-to-end cases of the ODBC Commander, driven only by real keys: a table of the SQLite test data
source browsed into the opposite panel's grid; files copied, a folder made and a file deleted between two folders; a SQLite
.db file opened through ODBC and a JPEG in the viewer; a table written as HTML into the opposite
folder and copied into MariaDB, read back with the mariadb client."""
import os
import shutil
import subprocess
import time

import copy_e2e
import e2e
import explorer_e2e

SQLITE_DB = copy_e2e.SQLITE_DB
TABLE = "cmd_customers"
ROWS = """
    drop table if exists cmd_customers;
    create table cmd_customers (id integer, name varchar(40), city varchar(30));
    insert into cmd_customers values (1, 'Kovacs Eva', 'Pecs'), (2, 'Szoke Odon', 'Gyor'), (3, 'Toth Agnes', NULL);
"""


def sqlite(path, script):
    return subprocess.run(["sqlite3", path], input=script, capture_output=True, text=True, check=True).stdout


def open_test_table(commander):
    """QuarrowSQLite, then its table cmd_customers; the list then shows "..", "Fields", "Browse"."""
    sqlite(SQLITE_DB, ROWS)
    jump(commander, "QuarrowSQ", "Return")
    time.sleep(1)
    jump(commander, TABLE, "Return")
    time.sleep(0.5)


def drive_c():
    return os.path.join(os.environ.get("WINEPREFIX", ""), "drive_c")


def scratch(name):
    """A fresh folder in the root of C: (the second entry of the drive list, after "DSN\\")."""
    path = os.path.join(drive_c(), name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def visible_windows():
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], capture_output=True,
                          text=True).stdout.split()


def wait_for(check, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if check():
            return True
        time.sleep(0.2)
    return False


def open_commander(main):
    e2e.press(main, "alt+o", "c")
    return e2e.find_window("ODBC Commander")


def close_commander(app, main, commander):
    e2e.press(commander, "alt+F4")
    assert e2e.window_gone(commander), "the commander did not close"
    # The menu item was given back: the commander opens again.
    again = open_commander(main)
    e2e.press(again, "Escape")
    assert e2e.window_gone(again), "the reopened commander did not close on Escape"
    e2e.press(main, "Escape")
    code = app.wait_exit(10)
    assert code == 0, f"quarrow.exe did not end with code 0 after Escape (got {code})"


def folder_in_panel(commander, side, name):
    """Alt+F1/F2 to the panel's drive list, Down to "C:\\", then type the folder's name and enter it."""
    e2e.press(commander, "alt+F1" if side == 0 else "alt+F2", "Down")
    jump(commander, name, "Return")


def jump(window, name, *then):
    """Types `name` into the focused list, which focuses the entry it starts. The list joins letters
    typed within a second into one search, so a pause comes first."""
    time.sleep(1.2)
    e2e.press(window, *type_name(name), *then)


def type_name(name):
    keys = []
    for c in name:
        keys.append({"-": "minus", ".": "period", "_": "underscore"}.get(c, c))
    return keys


def commander_browses_a_table_into_the_opposite_grid():
    with e2e.Quarrow() as app:
        main = e2e.find_window("Quarrow 0.50")
        commander = open_commander(main)
        before = explorer_e2e.result_files()
        open_test_table(commander)
        print(f"screenshot: {e2e.screenshot(commander, 'commander_table_entries')}")
        e2e.press(commander, "Down", "Down", "Return")
        command = e2e.find_window("SQL command")
        e2e.press(command, "alt+e")
        assert e2e.window_gone(command), "the SQL command window stayed open after Execute"
        assert wait_for(lambda: len(explorer_e2e.result_files()) > len(before)), "no result table appeared"
        time.sleep(0.5)
        print(f"screenshot: {e2e.screenshot(commander, 'commander_browse')}")
        added = [name for name in explorer_e2e.result_files() if name not in before]
        assert len([name for name in added if name.lower().endswith(".tmp")]) == 1, added
        # ".." back to the objects, and once more to the data sources (which disconnects).
        e2e.press(commander, "Home", "Return", "Home", "Return")
        time.sleep(0.5)
        close_commander(app, main, commander)
        assert explorer_e2e.result_files() == before, f"result files left behind: {explorer_e2e.result_files()}"


def commander_copies_makes_and_deletes_between_folders():
    source = scratch("qcmdsource")
    target = scratch("qcmdtarget")
    with open(os.path.join(source, "alpha.txt"), "w") as out:
        out.write("alpha\n")
    os.makedirs(os.path.join(source, "beta"))
    with open(os.path.join(source, "beta", "inner.txt"), "w") as out:
        out.write("inner\n")
    with e2e.Quarrow() as app:
        main = e2e.find_window("Quarrow 0.50")
        commander = open_commander(main)
        folder_in_panel(commander, 1, "qcmdtarget")
        folder_in_panel(commander, 0, "qcmdsource")
        # The left list now shows "..", "beta", "alpha": F5 copies the focused file, then the folder.
        jump(commander, "alpha", "F5")
        assert wait_for(lambda: os.path.exists(os.path.join(target, "alpha.txt"))), "alpha.txt was not copied"
        jump(commander, "beta", "F5")
        assert wait_for(lambda: os.path.exists(os.path.join(target, "beta", "inner.txt"))), "beta was not copied"
        # F7 asks for a name and makes the folder.
        e2e.press(commander, "F7")
        ask = e2e.find_window("Make directory")
        e2e.press(ask, *type_name("gamma"), "Return")
        assert wait_for(lambda: os.path.isdir(os.path.join(source, "gamma"))), "F7 made no folder"
        print(f"screenshot: {e2e.screenshot(commander, 'commander_folders')}")
        # F8 deletes the focused entry after the shell's question, answered by a key.
        shown = visible_windows()
        jump(commander, "alpha", "F8")
        question = []
        wait_for(lambda: question.extend(w for w in visible_windows() if w not in shown) or question, 10)
        assert question, "the shell asked nothing before deleting"
        print(f"screenshot: {e2e.screenshot(question[0], 'commander_delete_question')}")
        e2e.press(question[0], "Return")
        assert wait_for(lambda: not os.path.exists(os.path.join(source, "alpha.txt"))), "F8 deleted nothing"
        close_commander(app, main, commander)
    shutil.rmtree(source, ignore_errors=True)
    shutil.rmtree(target, ignore_errors=True)


def commander_opens_a_sqlite_file_through_odbc_and_a_jpeg_in_the_viewer():
    folder = scratch("qcmdfiles")
    sqlite(os.path.join(folder, "shop.db"), ROWS)
    subprocess.run(["convert", "-size", "60x40", "xc:red", os.path.join(folder, "photo.jpeg")], check=True)
    with e2e.Quarrow() as app:
        main = e2e.find_window("Quarrow 0.50")
        commander = open_commander(main)
        folder_in_panel(commander, 0, "qcmdfiles")
        jump(commander, "shop", "Return")
        time.sleep(1.5)
        print(f"screenshot: {e2e.screenshot(commander, 'commander_sqlite_file')}")
        # The file's tables are listed: the table opens its sub-entries and "Browse" its rows.
        before = explorer_e2e.result_files()
        jump(commander, TABLE, "Return")
        e2e.press(commander, "Down", "Down", "Return")
        command = e2e.find_window("SQL command")
        e2e.press(command, "alt+e")
        assert wait_for(lambda: len(explorer_e2e.result_files()) > len(before)), "the .db file's table was not browsed"
        # ".." twice: back to the objects, then out of the file to its folder.
        e2e.press(commander, "Home", "Return", "Home", "Return")
        time.sleep(0.5)
        jump(commander, "photo", "Return")
        viewer = e2e.find_window("photo.jpeg")
        print(f"screenshot: {e2e.screenshot(viewer, 'commander_picture')}")
        e2e.press(viewer, "Escape")
        assert e2e.window_gone(viewer), "the viewer did not close"
        close_commander(app, main, commander)
    shutil.rmtree(folder, ignore_errors=True)


def commander_copies_a_table_as_html_and_into_mariadb():
    target = scratch("qcmdhtml")
    with e2e.Quarrow() as app:
        main = e2e.find_window("Quarrow 0.50")
        commander = open_commander(main)
        folder_in_panel(commander, 1, "qcmdhtml")
        # Back to the left list: QuarrowSQLite, the table, ".." back to the objects, F5 with a
        # folder opposite.
        e2e.press(commander, "Tab")
        open_test_table(commander)
        e2e.press(commander, "Home", "Return")
        time.sleep(0.5)
        e2e.press(commander, "F5")
        dialog = e2e.find_window("Table copy")
        print(f"screenshot: {e2e.screenshot(dialog, 'commander_copy_html')}")
        e2e.press(dialog, "Return")
        page_path = os.path.join(target, TABLE + ".html")
        assert wait_for(lambda: os.path.exists(page_path)), "no page was written"
        time.sleep(0.5)
        e2e.press(dialog, "Escape")
        assert e2e.window_gone(dialog), "the copy dialog did not close"
        page = open(page_path, encoding="cp1250").read()
        assert "<table" in page.lower() and "Szoke Odon" in page, page[:400]
        if os.path.exists(copy_e2e.SOCKET):
            copy_e2e.mariadb(f"drop table if exists {TABLE}")
            # The right panel to the data sources, then QuarrowMariaDB.
            e2e.press(commander, "alt+F2", "Home")
            time.sleep(0.5)
            jump(commander, "QuarrowMariaDB", "Return")
            login = e2e.find_window("Login")
            e2e.press(login, *list("quarrow"), "Tab", *type_name("quarrow-secret"), "Return")
            time.sleep(1)
            # Tab to the left list, still on the table: F5 offers the opposite data source.
            e2e.press(commander, "Tab", "F5")
            dialog = e2e.find_window("Table copy")
            print(f"screenshot: {e2e.screenshot(dialog, 'commander_copy_mariadb')}")
            e2e.press(dialog, "Return")
            finished = e2e.find_window("Warning")
            e2e.press(finished, "Return")
            e2e.press(dialog, "Escape")
            assert e2e.window_gone(dialog), "the copy dialog did not close"
            copied = copy_e2e.mariadb(f"select id, name, coalesce(city, 'NULL') from {TABLE} order by id")
            assert copied == "1\tKovacs Eva\tPecs\n2\tSzoke Odon\tGyor\n3\tToth Agnes\tNULL\n", copied
        close_commander(app, main, commander)
    shutil.rmtree(target, ignore_errors=True)


CASES = [
    ("CommanderBrowsesATableIntoTheOppositeGrid", commander_browses_a_table_into_the_opposite_grid),
    ("CommanderCopiesMakesAndDeletesBetweenFolders", commander_copies_makes_and_deletes_between_folders),
    ("CommanderOpensASqliteFileThroughOdbcAndAJpegInTheViewer",
     commander_opens_a_sqlite_file_through_odbc_and_a_jpeg_in_the_viewer),
    ("CommanderCopiesATableAsHtmlAndIntoMariaDb", commander_copies_a_table_as_html_and_into_mariadb),
]

if __name__ == "__main__":
    import sys

    sys.exit(1 if e2e.run_cases(CASES, sys.argv[1] if len(sys.argv) > 1 else "/dev/null") else 0)
