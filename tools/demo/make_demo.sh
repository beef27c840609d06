#!/usr/bin/env bash
# Makes the demo data in build/demo: DEMO.DBF/DEMO.DBT (written by quarrow_demo.exe under Wine, so the
# program's own engine writes them) and demo.db, the SQLite database of the data source "QuarrowDemo".
# Needs a Windows build and tools/wine-env.sh sourced (it chooses the build: $QUARROW_BUILD).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
DEMO="$ROOT/build/demo"
mkdir -p "$DEMO"
rm -f "$DEMO/DEMO.DBF" "$DEMO/DEMO.DBT" "$DEMO/demo.db"
wine "${QUARROW_BUILD:-$ROOT/build/win32}/quarrow_demo.exe" "$(winepath -w "$DEMO")" >"$ROOT/build/demo.log" 2>&1
[ -f "$DEMO/DEMO.DBF" ] || { cat "$ROOT/build/demo.log"; exit 1; }
sqlite3 "$DEMO/demo.db" <"$ROOT/tools/demo/demo.sql"
