#!/usr/bin/env bash
# Installs what is missing, builds every build, and runs every test: the native core tests under
# sanitizers, fuzzing and short benchmarks, the Wine tests (core and windows) on each Windows build this
# machine can run, and the end-to-end cases on one of them. Ends with one summary line, in which a suite
# that did not run counts as failed.
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

RESULTS="$ROOT/build/test-results"
rm -rf "$RESULTS" build/native/test-results
mkdir -p "$RESULTS"
# Every report the run should leave; one that is missing at the end counts as a failed suite.
expected=("$RESULTS/format.xml" build/native/test-results/native.xml "$RESULTS/fuzz.xml" "$RESULTS/bench.xml")

# build NAME CMAKE-ARGUMENTS...: configures and builds one build folder; false when either fails.
build() {
    local name="$1"
    shift
    step "$name build"
    cmake -S . -B "build/$name" "$@" >"build/cmake-$name.log" 2>&1 || { cat "build/cmake-$name.log"; return 1; }
    cmake --build "build/$name" -j"$JOBS"
}
built_native=0
build native && built_native=1
declare -A built
declare -A toolchain=([win32]=cmake/mingw-i686.cmake [win64]=cmake/mingw-x86_64.cmake)
for arch in win32 win64; do
    built[$arch]=0
    build "$arch" --toolchain "${toolchain[$arch]}" && built[$arch]=1
done
[ "$built_native" = 1 ] && [ "${built[win32]}" = 1 ] && [ "${built[win64]}" = 1 ] || status=1

step "format check"
# The check is a suite of one case, so that the summary counts it.
if bash tools/check-format.sh >"$RESULTS/format.log" 2>&1; then failure=""; else
    cat "$RESULTS/format.log"
    failure='<failure message="clang-format differs"/>'
fi
printf '<testsuites><testsuite name="Format"><testcase classname="Format" name="SourcesAreFormatted">%s</testcase></testsuite></testsuites>\n' \
    "$failure" >"$RESULTS/format.xml"

if [ "$built_native" = 1 ]; then
    step "native tests"
    eval "$(bash tools/odbc-ini.sh native)"
    (cd build/native && ctest --output-on-failure -j"$JOBS") || status=1

    step "table engine fuzzing (about a minute)"
    bash tools/fuzz.sh 60 "$RESULTS/fuzz.xml" || status=1

    step "table engine benchmarks (short)"
    bash tools/bench.sh --short "$RESULTS/bench.xml" || status=1
fi

source tools/wine-env.sh
ARCHS="$(runnable_wine_archs)" || exit 1
E2E_ARCH="${ARCHS%% *}"
start_xvfb
trap 'stop_wineserver; stop_xvfb; bash tools/mariadb.sh stop' EXIT
ran=()
for arch in $ARCHS; do
    expected+=("$RESULTS/wine-$arch.xml" "$RESULTS/wine-mssql-$arch.xml")
    [ "$arch" = "$E2E_ARCH" ] && expected+=("$RESULTS/e2e-$arch.xml")
    [ "${built[$arch]}" = 1 ] || continue
    use_wine_arch "$arch"
    ensure_wine_prefix || { status=1; continue; }
    start_wineserver
    eval "$(bash tools/odbc-ini.sh "$arch")"

    step "wine tests ($arch)"
    # Output goes to a file: Wine's services inherit the descriptors and would hold a pipe open.
    wine "$QUARROW_BUILD/quarrow_tests.exe" --gtest_output=xml:"$(winepath -w "$RESULTS/wine-$arch.xml")" \
        >"$RESULTS/wine-$arch.log" 2>&1 || status=1
    grep -E '^\[  (FAILED|PASSED) |^\[==========\]' "$RESULTS/wine-$arch.log" | tail -n 5
    ran+=("$arch: window tests")
    # The SQL Server administration and the commander's connections: the test exe's copy beside the
    # scripted stand-in odbc32.dll.
    (cd "$QUARROW_BUILD/fake-odbc32" && WINEDLLOVERRIDES=odbc32=n wine quarrow_tests.exe \
        --gtest_filter='SqlServerExplorer*:StandInCommander*' --gtest_output=xml:"$(winepath -w "$RESULTS/wine-mssql-$arch.xml")" \
        >"$RESULTS/wine-mssql-$arch.log" 2>&1) || status=1

    if [ "$arch" = "$E2E_ARCH" ]; then
        step "end-to-end tests ($arch)"
        # Debian's interpreter: the independent readers (python3-dbfread) are installed for it.
        /usr/bin/python3 tests/e2e/run_all.py "$RESULTS/e2e-$arch.xml" || status=1
        ran[-1]+=" and end to end"
    fi
    stop_wineserver
done

step "summary"
summary_of_builds="none"
[ ${#ran[@]} -gt 0 ] && summary_of_builds="$(printf '%s; ' "${ran[@]}")" && summary_of_builds="${summary_of_builds%; }"
echo "Windows builds run: $summary_of_builds"
/usr/bin/python3 tools/summarize.py "${expected[@]}" || status=1
exit $status
