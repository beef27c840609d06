"""End-to-end case of the ODBC explorer: opened by the menu keys, the last data source picked and
expanded, and its first table, closed by Escape and opened again (its menu item was given back)."""
import glob
import os
import time

import e2e


def explorer_opens_by_keys_and_expands_a_data_source():
    with e2e.Quarrow() as app:
        main = e2e.find_window("Quarrow 0.50")
        e2e.press(main, "alt+o", "e")
        explorer = e2e.find_window("ODBC explorer")
        # The tree has the focus: the root, open it, jump to the last data source (one on the SQLite
        # test database, so no login is asked; arrows would connect each source passed on the way).
        e2e.press(explorer, *e2e.LAST_DATA_SOURCE_KEYS, "Right", "Down", "Right")
        print(f"screenshot: {e2e.screenshot(explorer, 'explorer_expanded')}")
        e2e.press(explorer, "Escape")
        assert e2e.window_gone(explorer), "the explorer did not close on Escape"
        e2e.press(main, "alt+o", "e")
        again = e2e.find_window("ODBC explorer")
        e2e.press(again, "Escape")
        assert e2e.window_gone(again), "the reopened explorer did not close on Escape"
        e2e.press(main, "Escape")
        code = app.wait_exit(10)
        assert code == 0, f"quarrow.exe did not end with code 0 after Escape (got {code})"


def result_files():
    """The result tables in the program's temporary folder inside the Wine prefix."""
    pattern = os.path.join(os.environ.get("WINEPREFIX", ""), "drive_c", "users", "*", "**", "Quarrow", "TempFiles")
    return sorted(name for folder in glob.glob(pattern, recursive=True) for name in os.listdir(folder)
                  if name.lower().endswith((".tmp", ".tmt")))


def explorer_browses_a_table_by_keys():
    with e2e.Quarrow() as app:
        main = e2e.find_window("Quarrow 0.50")
        e2e.press(main, "alt+o", "e")
        explorer = e2e.find_window("ODBC explorer")
        before = result_files()
        # The last data source and its first table, then "Browse" below it by typing its initial
        # ("Fields" on the way would show its grid and take the focus).
        e2e.press(explorer, *e2e.LAST_DATA_SOURCE_KEYS, "Right", "Down", "Right", "b")
        command = e2e.find_window("SQL command")
        e2e.press(command, "alt+e")
        assert e2e.window_gone(command), "the SQL command window stayed open after Execute"
        deadline = time.time() + 20
        while len(result_files()) <= len(before) and time.time() < deadline:
            time.sleep(0.2)
        time.sleep(0.5)
        print(f"screenshot: {e2e.screenshot(explorer, 'explorer_browse')}")
        # One result table is shown.
        added = [name for name in result_files() if name not in before]
        assert len([name for name in added if name.lower().endswith(".tmp")]) == 1, added
        e2e.press(explorer, "alt+F4")
        assert e2e.window_gone(explorer), "the explorer did not close"
        assert result_files() == before, f"result files left behind: {result_files()}"
        e2e.press(main, "Escape")
        code = app.wait_exit(10)
        assert code == 0, f"quarrow.exe did not end with code 0 after Escape (got {code})"


CASES = [
    ("ExplorerOpensByKeysAndExpandsADataSource", explorer_opens_by_keys_and_expands_a_data_source),
    ("ExplorerBrowsesATableByKeys", explorer_browses_a_table_by_keys),
]

if __name__ == "__main__":
    import sys

    sys.exit(1 if e2e.run_cases(CASES, sys.argv[1] if len(sys.argv) > 1 else "/dev/null") else 0)
