#!/usr/bin/env bash
# Installs what is missing, builds quarrow.exe and starts it under Wine on the demo table, with the
# demo SQLite data source "QuarrowDemo" listed in the explorer. Other arguments replace the table.
# Starts the 32-bit build where this machine runs 32-bit programs, otherwise the 64-bit one
# (QUARROW_WINE_ARCH=win32|win64 chooses). Uses the current X display; without one it starts a
# virtual display and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
mkdir -p build
source tools/wine-env.sh
case "$WINEARCH" in
    win32) TOOLCHAIN=cmake/mingw-i686.cmake ;;
    win64) TOOLCHAIN=cmake/mingw-x86_64.cmake ;;
esac
cmake -S . -B "$QUARROW_BUILD" --toolchain "$TOOLCHAIN" >"build/cmake-$WINEARCH.log" 2>&1 || {
    cat "build/cmake-$WINEARCH.log"
    exit 1
}
cmake --build "$QUARROW_BUILD" -j"$(nproc)" --target quarrow quarrow_demo

# The display comes first: Wine's desktop process, started with the first Wine program of the prefix,
# keeps the display it was started with, and the demo table is written by a Wine program.
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    trap 'stop_wineserver; stop_xvfb' EXIT
    VIRTUAL_DISPLAY=1
fi
ensure_wine_prefix
# Without a configuration of the user's own, the explorer lists the test data sources.
[ -n "${ODBCINI:-}" ] || eval "$(bash tools/odbc-ini.sh "$WINEARCH")"
bash tools/demo/make_demo.sh
if [ $# -eq 0 ]; then set -- "$(winepath -w build/demo/DEMO.DBF)"; fi
echo "Starting the $WINEARCH build: $QUARROW_BUILD/quarrow.exe"
if [ -n "${VIRTUAL_DISPLAY:-}" ]; then
    echo "No display: Quarrow runs on the virtual display $DISPLAY; a screenshot goes to build/screenshots/."
    /usr/bin/python3 tests/e2e/screenshot_session.py "$@"
else
    exec "$QUARROW_WINE_LOADER" "$QUARROW_BUILD/quarrow.exe" "$@"
fi
