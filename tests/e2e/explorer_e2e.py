"""End-to-end case of the ODBC explorer: opened by the menu keys, the last data source picked and
expanded, and its first table, closed by Escape and opened again (its menu item was given back)."""
import e2e


def explorer_opens_by_keys_and_expands_a_data_source():
    with e2e.Quarrow() as app:
        main = e2e.find_window("Quarrow 0.50")
        e2e.press(main, "alt+o", "e")
        explorer = e2e.find_window("ODBC explorer")
        # The tree has the focus: the root, open it, jump to the last data source (one on the SQLite
        # test database, so no login is asked; arrows would connect each source passed on the way).
        e2e.press(explorer, "Home", "Right", "End", "Right", "Down", "Right")
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


CASES = [
    ("ExplorerOpensByKeysAndExpandsADataSource", explorer_opens_by_keys_and_expands_a_data_source),
]

if __name__ == "__main__":
    import sys

    sys.exit(1 if e2e.run_cases(CASES, sys.argv[1] if len(sys.argv) > 1 else "/dev/null") else 0)
