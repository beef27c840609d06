# Sourced by the run and test scripts: Wine's environment, the prefix, and Xvfb.
# Usage: source tools/wine-env.sh; ensure_wine_prefix; start_xvfb; ...; stop_xvfb
#
# Two Windows builds exist: build/win32 (the one we ship) and build/win64. Some machines run 64-bit
# user code only, and there no 32-bit Wine program can start, so the build is chosen at run time:
# win32 where a 32-bit program starts, otherwise win64 under wine64. QUARROW_WINE_ARCH=win32|win64
# forces the choice. Sourcing selects the default; use_wine_arch switches to another build.

QUARROW_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEDEBUG=-all
# Code pages 1250 / 852 inside Wine come from the Hungarian locale.
export LC_ALL=hu_HU.UTF-8
export LANG=hu_HU.UTF-8
# Where the prefix's default printer "Quarrow PDF" writes each print job as a PDF file.
export QUARROW_PRINT_DIR="${QUARROW_PRINT_DIR:-$QUARROW_ROOT/build/printed}"

# True when this machine starts 32-bit programs (the kernel may refuse them: "Exec format error").
can_run_win32() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Windows builds this machine can run, the shipped 32-bit one first.
runnable_wine_archs() {
    case "${QUARROW_WINE_ARCH:-}" in
        win32 | win64) echo "$QUARROW_WINE_ARCH" ;;
        "") if can_run_win32; then echo "win32 win64"; else echo "win64"; fi ;;
        *)
            echo "QUARROW_WINE_ARCH must be win32 or win64, not '$QUARROW_WINE_ARCH'" >&2
            return 1
            ;;
    esac
}

# Selects one Windows build: its folder ($QUARROW_BUILD), its Wine loader and its own prefix.
# The wine, winepath and wineboot commands below then run that loader; they are exported so that
# scripts started from here use the same one (Debian's /usr/bin/wine prefers the 32-bit loader).
use_wine_arch() {
    case "$1" in
        win32)
            export QUARROW_WINE_LOADER=/usr/lib/wine/wine
            export WINEPREFIX="$QUARROW_ROOT/build/wineprefix"
            unset WINELOADER
            ;;
        win64)
            export QUARROW_WINE_LOADER=/usr/lib/wine/wine64
            export WINEPREFIX="$QUARROW_ROOT/build/wineprefix64"
            export WINELOADER=/usr/lib/wine/wine64
            ;;
        *)
            echo "use_wine_arch: unknown build '$1'" >&2
            return 1
            ;;
    esac
    export WINEARCH="$1"
    export QUARROW_BUILD="$QUARROW_ROOT/build/$1"
}

wine() { "$QUARROW_WINE_LOADER" "$@"; }
winepath() { "$QUARROW_WINE_LOADER" winepath.exe "$@"; }
wineboot() { "$QUARROW_WINE_LOADER" wineboot.exe "$@"; }
export -f wine winepath wineboot

# The MinGW C compiler of the selected build, for the small set-up programs.
mingw_gcc() {
    if [ "$WINEARCH" = win64 ]; then echo x86_64-w64-mingw32-gcc; else echo i686-w64-mingw32-gcc; fi
}

# Registers an ODBC driver in Wine's registry: odbccp32 reads only the registry, and
# SQLGetInstalledDrivers fails until the drivers are listed there.
register_wine_odbc_driver() {
    local name="$1" library="$2"
    wine reg add 'HKLM\Software\ODBC\ODBCINST.INI\ODBC Drivers' /v "$name" /d Installed /f >/dev/null
    wine reg add "HKLM\\Software\\ODBC\\ODBCINST.INI\\$name" /v Driver /d "$library" /f >/dev/null
    wine reg add "HKLM\\Software\\ODBC\\ODBCINST.INI\\$name" /v Setup /d "$library" /f >/dev/null
}

# Creates the selected build's prefix once; parallel first runs of wineboot fail, so this runs serially.
ensure_wine_prefix() {
    local stamp="$WINEPREFIX/.quarrow-ready"
    [ -f "$stamp" ] && { ensure_wine_fonts; ensure_wine_printer; return; }
    mkdir -p "$(dirname "$WINEPREFIX")"
    echo "wine: creating the $WINEARCH prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # No window manager under Xvfb: Wine must manage its own windows, or menus do not open by keyboard.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    # A crash must fail the test, not wait in the debugger.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
    register_wine_odbc_driver "SQLite3" "libsqlite3odbc.so"
    register_wine_odbc_driver "MariaDB Unicode" "libmaodbc.so"
    wineserver -w
    ensure_wine_fonts
    ensure_wine_printer || return 1
    touch "$stamp"
}

# Wine does not find the fonts Debian installs for it, so the caption buttons' symbol font Marlett falls
# back to a text font and the buttons draw as the letters "0 1 r". A copy in the prefix is found.
ensure_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" marlett=/usr/share/wine/fonts/marlett.ttf
    [ -f "$fonts/marlett.ttf" ] || [ ! -f "$marlett" ] || { mkdir -p "$fonts" && cp "$marlett" "$fonts/"; }
}

# Adds the default printer once: Wine's PostScript driver with an A4 PPD, its port a pipe into
# ghostscript, so every job becomes a PDF file in $QUARROW_PRINT_DIR (read when the job prints).
ensure_wine_printer() {
    local stamp="$WINEPREFIX/.quarrow-printer"
    [ -f "$stamp" ] && return 0
    local exe
    exe="$(dirname "$WINEPREFIX")/wine_printer-$WINEARCH.exe"
    "$(mingw_gcc)" -O1 "$QUARROW_ROOT/tools/wine_printer.c" -o "$exe" -lwinspool || return 1
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

QUARROW_DEFAULT_WINE_ARCH="$(runnable_wine_archs | cut -d' ' -f1)"
use_wine_arch "${QUARROW_DEFAULT_WINE_ARCH:-win32}"
