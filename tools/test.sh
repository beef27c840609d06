#!/usr/bin/env bash
# Installs what is missing, builds both builds, and runs every test: the native core tests under
# sanitizers, the Wine tests (core and windows), and the end-to-end cases. Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"

bash tools/setup.sh || exit 1
# A private MariaDB server for the ODBC tests; without it those tests are skipped.
bash tools/mariadb.sh start || echo "mariadb: not started"
trap 'bash tools/mariadb.sh stop' EXIT
mkdir -p build
JOBS="$(nproc)"
status=0
step() { echo "== $*"; }

step "native build"
cmake -S . -B build/native >build/cmake-native.log 2>&1 || { cat build/cmake-native.log; exit 1; }
cmake --build build/native -j"$JOBS" || exit 1

step "win32 build"
cmake -S . -B build/win32 --toolchain cmake/mingw-i686.cmake >build/cmake-win32.log 2>&1 || { cat build/cmake-win32.log; exit 1; }
cmake --build build/win32 -j"$JOBS" || exit 1

RESULTS="$ROOT/build/test-results"
rm -rf "$RESULTS"
mkdir -p "$RESULTS"

step "format check"
if ! bash tools/check-format.sh >"$RESULTS/format.log" 2>&1; then
    cat "$RESULTS/format.log"
    status=1
fi

step "native tests"
eval "$(bash tools/odbc-ini.sh native)"
rm -rf build/native/test-results
(cd build/native && ctest --output-on-failure -j"$JOBS") || status=1

step "table engine fuzzing (about a minute)"
bash tools/fuzz.sh 60 "$RESULTS/fuzz.xml" || status=1

step "table engine benchmarks (short)"
bash tools/bench.sh --short "$RESULTS/bench.xml" || status=1

step "wine tests"
source tools/wine-env.sh
ensure_wine_prefix
start_xvfb
start_wineserver
trap 'stop_wineserver; stop_xvfb; bash tools/mariadb.sh stop' EXIT
eval "$(bash tools/odbc-ini.sh wine)"
# Output goes to a file: Wine's services inherit the descriptors and would hold a pipe open.
wine build/win32/quarrow_tests.exe --gtest_output=xml:"$(winepath -w "$RESULTS/wine.xml")" >"$RESULTS/wine.log" 2>&1 || status=1
grep -E '^\[  (FAILED|PASSED) |^\[==========\]' "$RESULTS/wine.log" | tail -n 5

step "end-to-end tests"
# Debian's interpreter: the independent readers (python3-dbfread) are installed for it.
/usr/bin/python3 tests/e2e/run_all.py "$RESULTS/e2e.xml" || status=1

step "summary"
/usr/bin/python3 tools/summarize.py build/native/test-results/*.xml "$RESULTS"/*.xml || status=1
exit $status
