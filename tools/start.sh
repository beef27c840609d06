#!/usr/bin/env bash
# Installs what is missing, builds quarrow.exe and starts it under Wine on the demo table, with the
# demo SQLite data source "QuarrowDemo" listed in the explorer. Other arguments replace the table.
# Uses the current X display; without one it starts a virtual display and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
mkdir -p build
cmake -S . -B build/win32 --toolchain cmake/mingw-i686.cmake >build/cmake-win32.log 2>&1 || { cat build/cmake-win32.log; exit 1; }
cmake --build build/win32 -j"$(nproc)"

source tools/wine-env.sh
ensure_wine_prefix
# Without a configuration of the user's own, the explorer lists the test data sources.
[ -n "${ODBCINI:-}" ] || eval "$(bash tools/odbc-ini.sh wine)"
bash tools/demo/make_demo.sh
if [ $# -eq 0 ]; then set -- "$(winepath -w build/demo/DEMO.DBF)"; fi
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    trap 'stop_xvfb' EXIT
    echo "No display: Quarrow runs on the virtual display $DISPLAY; a screenshot goes to build/screenshots/."
    /usr/bin/python3 tests/e2e/screenshot_session.py "$@"
else
    exec wine build/win32/quarrow.exe "$@"
fi
