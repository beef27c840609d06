#!/usr/bin/env bash
# Writes the unixODBC configuration the ODBC tests use, under build/odbc/<target>:
# odbcinst.ini (drivers) and odbc.ini (data sources), for the native tests or for the unixODBC that
# Wine's odbc32 forwards to: the 32-bit one under the win32 build, the 64-bit one under win64.
# Prints the two variables to export: ODBCINI and ODBCSYSINI ("wine" is the same as "win32").
# Usage: eval "$(tools/odbc-ini.sh native|win32|win64)"
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
TARGET="${1:?usage: odbc-ini.sh native|win32|win64}"
[ "$TARGET" = wine ] && TARGET=win32
DIR="$ROOT/build/odbc/$TARGET"
mkdir -p "$DIR/sys"

case "$TARGET" in
    native | win64)
        SQLITE_DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so
        MARIADB_DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so
        ;;
    win32)
        SQLITE_DRIVER=/usr/lib/i386-linux-gnu/odbc/libsqlite3odbc.so
        # Unpacked by tools/setup.sh beside the build: Debian installs one architecture's driver.
        MARIADB_DRIVER="$ROOT/build/mariadb-i386/usr/lib/i386-linux-gnu/odbc/libmaodbc.so"
        ;;
    *) echo "odbc-ini.sh: unknown target $TARGET" >&2; exit 2 ;;
esac

cat >"$DIR/sys/odbcinst.ini" <<INI
[SQLite3]
Description=SQLite3 ODBC Driver
Driver=$SQLITE_DRIVER
Setup=$SQLITE_DRIVER

# The name the SQLite driver's Windows installer registers: SQLite .db files opened from the
# commander connect through it.
[SQLite3 ODBC Driver]
Description=SQLite3 ODBC Driver
Driver=$SQLITE_DRIVER
Setup=$SQLITE_DRIVER

[MariaDB Unicode]
Description=MariaDB Connector/ODBC
Driver=$MARIADB_DRIVER
INI
: >"$DIR/sys/odbc.ini"

{
    cat <<INI
[QuarrowSQLite]
Description=Quarrow test database
Driver=SQLite3
Database=$DIR/quarrow.db
INI
    # The demo database that tools/demo/make_demo.sh writes.
    printf '\n[QuarrowDemo]\nDescription=Quarrow demo database\nDriver=SQLite3\nDatabase=%s\n' "$ROOT/build/demo/demo.db"
    # A name with a Latin-1 byte (0xE1, "a" with acute, the same letter in Windows-1250) and one
    # longer than the 255 characters a data-source list keeps.
    printf '\n[QuarrowSz\xe1mla]\nDescription=Accented name\nDriver=SQLite3\nDatabase=%s\n' "$DIR/quarrow.db"
    # A Hungarian letter Latin-1 lacks: o with double acute, 0xF5 in Windows-1250.
    printf '\n[QuarrowSz\xf5ke]\nDescription=Hungarian name\nDriver=SQLite3\nDatabase=%s\n' "$DIR/quarrow.db"
    printf '\n[QuarrowLong%s]\nDescription=Long name\nDriver=SQLite3\nDatabase=%s\n' "$(printf 'x%.0s' $(seq 1 289))" "$DIR/quarrow.db"
    # The server's data sources only while tools/mariadb.sh runs it.
    if [ -f "$ROOT/build/mariadb/port" ] && [ -f "$MARIADB_DRIVER" ]; then
        cat <<INI

[QuarrowMariaDB]
Description=Quarrow test server
Driver=MariaDB Unicode
Server=127.0.0.1
Port=$(cat "$ROOT/build/mariadb/port")
Database=quarrow
CHARSET=cp1250
INI
    fi
} >"$DIR/odbc.ini"

echo "export ODBCINI='$DIR/odbc.ini' ODBCSYSINI='$DIR/sys'"
if [ "$TARGET" = win32 ]; then
    # The unpacked 32-bit driver finds its client library here; 64-bit programs skip the folder.
    echo "export LD_LIBRARY_PATH='$ROOT/build/mariadb-i386/usr/lib/i386-linux-gnu'\${LD_LIBRARY_PATH:+:\$LD_LIBRARY_PATH}"
fi
