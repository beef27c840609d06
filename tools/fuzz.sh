#!/usr/bin/env bash
# Builds the table engine's libFuzzer target with clang in build/fuzz and runs it for a bounded time on
# the seed corpus; writes a GoogleTest-style report. Usage: tools/fuzz.sh [seconds] [report.xml]
set -uo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_RUN="${1:-60}"
REPORT="${2:-build/test-results/fuzz.xml}"
mkdir -p build "$(dirname "$REPORT")"

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DQUARROW_FUZZ=ON -DQUARROW_SANITIZE=OFF >build/fuzz-cmake.log 2>&1 ||
    { cat build/fuzz-cmake.log; exit 1; }
cmake --build build/fuzz -j2 --target dbf_fuzz >build/fuzz-build.log 2>&1 || { tail -n 40 build/fuzz-build.log; exit 1; }

SEEDS=build/fuzz/seeds
CORPUS=build/fuzz/corpus
rm -rf "$SEEDS"
python3 fuzz/make_seeds.py "$SEEDS" || exit 1
mkdir -p "$CORPUS" build/fuzz/findings
LOG=build/fuzz/dbf_fuzz.log
start=$(date +%s)
build/fuzz/fuzz/dbf_fuzz -max_total_time="$SECONDS_TO_RUN" -print_final_stats=1 -timeout=10 -rss_limit_mb=1024 \
    -artifact_prefix=build/fuzz/findings/ "$CORPUS" "$SEEDS" >"$LOG" 2>&1
code=$?
elapsed=$(($(date +%s) - start))
runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$LOG" | grep -o '[0-9]*$' | tail -n 1)
echo "dbf_fuzz: ${runs:-0} executions in ${elapsed}s, exit code $code"

failure=""
if [ "$code" -ne 0 ]; then
    failure="<failure message=\"dbf_fuzz found a fault (exit $code); see $LOG and build/fuzz/findings\"/>"
    tail -n 40 "$LOG"
fi
cat >"$REPORT" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="1" failures="$([ -n "$failure" ] && echo 1 || echo 0)">
  <testsuite name="Fuzz" tests="1">
    <testcase classname="Fuzz" name="DbfOpenWalkReadWrite" time="$elapsed">
      <properties><property name="executions" value="${runs:-0}"/></properties>
      $failure
    </testcase>
  </testsuite>
</testsuites>
EOF
exit "$code"
