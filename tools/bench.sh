#!/usr/bin/env bash
# Builds the benchmarks in build/bench (Release, no sanitizers) and runs them; `--short` runs small sizes
# (as the test command does, so the benchmark cannot rot) and writes a GoogleTest-style report.
# Usage: tools/bench.sh [--short] [report.xml]
set -uo pipefail
cd "$(dirname "$0")/.."
MODE="${1:-}"
REPORT="${2:-build/test-results/bench.xml}"
mkdir -p build "$(dirname "$REPORT")"
cmake -S . -B build/bench -DQUARROW_BENCH=ON -DQUARROW_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release \
    >build/bench-cmake.log 2>&1 || { cat build/bench-cmake.log; exit 1; }
cmake --build build/bench -j2 --target dbf_bench maint_bench odbc_transfer_bench table_copy_bench >build/bench-build.log 2>&1 || { tail -n 40 build/bench-build.log; exit 1; }
LOG=build/bench/dbf_bench.log
start=$(date +%s)
build/bench/bench/dbf_bench $MODE --benchmark_color=false >"$LOG" 2>&1
code=$?
# Sort, pack and exports beside their plain references.
build/bench/bench/maint_bench $MODE >build/bench/maint_bench.log 2>&1 || code=1
cat build/bench/maint_bench.log
# Query results copied into temporary tables beside the drivers' raw fetch (MariaDB while its test server runs).
eval "$(bash tools/odbc-ini.sh native)"
build/bench/odbc_transfer_bench $MODE >build/bench/odbc_transfer_bench.log 2>&1 || code=1
cat build/bench/odbc_transfer_bench.log
# Table copy between the real drivers, beside the row-by-row way and a plain loop; needs the test server.
if bash tools/mariadb.sh status >/dev/null 2>&1; then started_mariadb=""; else started_mariadb=1; fi
if bash tools/mariadb.sh start >/dev/null 2>&1; then
    (eval "$(bash tools/odbc-ini.sh native)" && build/bench/bench/table_copy_bench $MODE) \
        >build/bench/table_copy_bench.log 2>&1 || code=1
    cat build/bench/table_copy_bench.log
    [ -n "$started_mariadb" ] && bash tools/mariadb.sh stop
else
    echo "table_copy_bench: skipped, no MariaDB server"
fi
elapsed=$(($(date +%s) - start))
grep -E '^(table|peak|full scan|random goTo|BM_)' "$LOG"
ratio=$(grep -o 'ratio [0-9.]*' "$LOG" | grep -o '[0-9.]*$')
failure=""
[ "$code" -ne 0 ] && failure="<failure message=\"dbf_bench failed (exit $code); see $LOG\"/>"
cat >"$REPORT" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="1" failures="$([ -n "$failure" ] && echo 1 || echo 0)">
  <testsuite name="Bench" tests="1">
    <testcase classname="Bench" name="DbfBenchmarks${MODE:+Short}" time="$elapsed">
      <properties><property name="scan_ratio_to_shapelib" value="${ratio:-0}"/></properties>
      $failure
    </testcase>
  </testsuite>
</testsuites>
XML
exit "$code"
