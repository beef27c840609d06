"""End-to-end case of the table copy: from the explorer, by real keys, a SQLite table with a 100 KB
text, an all-NULL row, 12.34 in a DECIMAL(10,2), a date and a quote inside a column name is copied
into MariaDB with CREATE TABLE; MariaDB's TEXT refuses the 100 KB row, which the error log gets while
the other rows arrive, read back with the mariadb client."""
import glob
import os
import subprocess

import e2e

# The database of the data source QuarrowSQLite that tools/odbc-ini.sh writes for the build under test
# (build/odbc/win64 on machines that run 64-bit programs only).
SQLITE_DB = os.path.join(e2e.ROOT, "build", "odbc", os.path.basename(e2e.BUILD), "quarrow.db")
SOCKET = os.path.join(e2e.ROOT, "build", "mariadb", "mysqld.sock")


def mariadb(query):
    return subprocess.run(["mariadb", "--no-defaults", f"--socket={SOCKET}", "-uroot", "-N", "-B", "quarrow"],
                          input=query, capture_output=True, text=True, check=True).stdout


def table_copy_by_keys_into_mariadb_logs_the_refused_row():
    if not os.path.exists(SOCKET):
        print("skipped: no MariaDB server")
        return
    # Sorted first among the test database's tables, so the dialog starts on it.
    subprocess.run(["sqlite3", SQLITE_DB], check=True, text=True, input="""
        drop table if exists aaa_copy_e2e;
        create table aaa_copy_e2e (id integer, "na""me" varchar(20), body text, price decimal(10,2), born date);
        insert into aaa_copy_e2e values (1, 'first', 'short', 12.34, '2024-02-29');
        insert into aaa_copy_e2e values (null, null, null, null, null);
        insert into aaa_copy_e2e values (3, 'long', 'HEAD' || hex(zeroblob(51198)) || 'TAIL', 0.5, '1999-12-31');
    """)
    mariadb("drop table if exists aaa_copy_e2e")
    with e2e.Quarrow() as app:
        main = e2e.find_window("Quarrow 0.50")
        e2e.press(main, "alt+o", "e")
        explorer = e2e.find_window("ODBC explorer")
        # The last data source is on the SQLite test database; open it, then its menu by the mouse
        # anywhere in the tree (the menu is the selected node's).
        e2e.press(explorer, *e2e.LAST_DATA_SOURCE_KEYS, "Right")
        subprocess.run(["xdotool", "mousemove", "--window", explorer, "60", "300", "click", "3"], check=True)
        e2e.press(explorer, "Down", "Return")
        dialog = e2e.find_window("Table copy")
        print(f"screenshot: {e2e.screenshot(dialog, 'copy_table_dialog')}")
        # Tab to the destination list, open it, step to QuarrowMariaDB (after " Save to HTML",
        # QuarrowDemo and the long name), close it, and start the copy from the target name field.
        e2e.press(dialog, "Tab", "Tab", "alt+Down", "Home", "Down", "Down", "Down", "Return")
        print(f"screenshot: {e2e.screenshot(dialog, 'copy_table_destination')}")
        e2e.press(dialog, "Tab", "Return")
        # The explorer opened with no credentials: the server asks once.
        login = e2e.find_window("Login")
        e2e.press(login, *list("quarrow"), "Tab", *[k if k != "-" else "minus" for k in "quarrow-secret"], "Return")
        # The refused row is shown once while the run goes on.
        refused = e2e.find_window("ODBC error")
        e2e.press(refused, "Return")
        finished = e2e.find_window("Warning")
        e2e.press(finished, "Return")
        question = e2e.find_window("Warning...")
        print(f"screenshot: {e2e.screenshot(question, 'copy_table_error_question')}")
        e2e.press(question, "n")
        e2e.press(dialog, "Escape")
        assert e2e.window_gone(dialog), "the copy dialog did not close on Escape"
        e2e.press(explorer, "Escape")
        e2e.press(main, "Escape")
        app.wait_exit(10)
    rows = mariadb("select coalesce(id,'N'), coalesce(`na\"me`,'N'), coalesce(body,'N'), coalesce(price,'N'), "
                   "coalesce(born,'N') from aaa_copy_e2e order by id")
    assert rows == "N\tN\tN\tN\tN\n1\tfirst\tshort\t12.34\t2024-02-29\n", rows
    logs = glob.glob(os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", "*", "Temp", "Quarrow", "error.log"))
    log = open(logs[0], "rb").read().decode("cp1250") if logs else ""
    assert "Data too long for column 'body'" in log and "\r\n  3.record - 1.error - Field :  - " in log, log


CASES = [
    ("TableCopyByKeysIntoMariaDbLogsTheRefusedRow", table_copy_by_keys_into_mariadb_logs_the_refused_row),
]

if __name__ == "__main__":
    import sys

    sys.exit(1 if e2e.run_cases(CASES, sys.argv[1] if len(sys.argv) > 1 else "/dev/null") else 0)
