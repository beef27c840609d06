# Sourced by the run and test scripts: Wine's environment, the prefix, and Xvfb.
# Usage: source tools/wine-env.sh; ensure_wine_prefix; start_xvfb; ...; stop_xvfb

QUARROW_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEARCH=win32
export WINEPREFIX="${WINEPREFIX:-$QUARROW_ROOT/build/wineprefix}"
export WINEDEBUG=-all
# Code pages 1250 / 852 inside Wine come from the Hungarian locale.
export LC_ALL=hu_HU.UTF-8
export LANG=hu_HU.UTF-8
# Where the prefix's default printer "Quarrow PDF" writes each print job as a PDF file.
export QUARROW_PRINT_DIR="${QUARROW_PRINT_DIR:-$QUARROW_ROOT/build/printed}"

# Registers an ODBC driver in Wine's registry: odbccp32 reads only the registry, and
# SQLGetInstalledDrivers fails until the drivers are listed there.
register_wine_odbc_driver() {
    local name="$1" library="$2"
    wine reg add 'HKLM\Software\ODBC\ODBCINST.INI\ODBC Drivers' /v "$name" /d Installed /f >/dev/null
    wine reg add "HKLM\\Software\\ODBC\\ODBCINST.INI\\$name" /v Driver /d "$library" /f >/dev/null
    wine reg add "HKLM\\Software\\ODBC\\ODBCINST.INI\\$name" /v Setup /d "$library" /f >/dev/null
}

# Creates the prefix once; parallel first runs of wineboot fail, so this runs serially.
ensure_wine_prefix() {
    local stamp="$WINEPREFIX/.quarrow-ready"
    [ -f "$stamp" ] && { ensure_wine_printer; return 0; }
    mkdir -p "$(dirname "$WINEPREFIX")"
    echo "wine: creating prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # No window manager under Xvfb: Wine must manage its own windows, or menus do not open by keyboard.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    # A crash must fail the test, not wait in the debugger.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
    register_wine_odbc_driver "SQLite3" "libsqlite3odbc.so"
    register_wine_odbc_driver "MariaDB Unicode" "libmaodbc.so"
    wineserver -w
    ensure_wine_printer
    touch "$stamp"
}

# Adds the default printer once: Wine's PostScript driver with an A4 PPD, its port a pipe into
# ghostscript, so every job becomes a PDF file in $QUARROW_PRINT_DIR (read when the job prints).
ensure_wine_printer() {
    local stamp="$WINEPREFIX/.quarrow-printer"
    [ -f "$stamp" ] && return 0
    local exe
    exe="$(dirname "$WINEPREFIX")/wine_printer.exe"
    i686-w64-mingw32-gcc -O1 "$QUARROW_ROOT/tools/wine_printer.c" -o "$exe" -lwinspool || return 1
    local command='q="${QUARROW_PRINT_DIR:-'"$QUARROW_ROOT"'/build/printed}"; mkdir -p "$q"; ps2pdf - "$q/print-$(date +%Y%m%d-%H%M%S)-$$.pdf"'
    wine "$exe" "Quarrow PDF" "$(winepath -w "$QUARROW_ROOT/tools/quarrow-pdf.ppd")" "$command" >/dev/null 2>&1 || {
        echo "wine: adding the printer failed"
        return 1
    }
    wineserver -w
    touch "$stamp"
}

# Keeps one wineserver alive for the run: later Wine processes start in milliseconds.
start_wineserver() {
    wineserver -p >/dev/null 2>&1 || true
}

stop_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display and exports DISPLAY; the pid goes to $XVFB_PID_FILE.
start_xvfb() {
    XVFB_PID_FILE="${XVFB_PID_FILE:-$QUARROW_ROOT/build/xvfb.pid}"
    local fd_file
    fd_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    echo $! >"$XVFB_PID_FILE"
    local i
    for i in $(seq 1 100); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$fd_file")"
    rm -f "$fd_file"
}

stop_xvfb() {
    if [ -n "${XVFB_PID_FILE:-}" ] && [ -f "$XVFB_PID_FILE" ]; then
        kill "$(cat "$XVFB_PID_FILE")" 2>/dev/null || true
        rm -f "$XVFB_PID_FILE"
    fi
}
