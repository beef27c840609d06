#!/usr/bin/env python3
"""Adds up GoogleTest XML reports and prints one closing line: 'N passed, N failed, N skipped'.
A report that is missing or unreadable is a suite that did not run: it counts as one failure."""
import os
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
for path in sys.argv[1:]:
    if not os.path.exists(path):
        print(f"{path}: no report, the suite did not run")
        failed += 1
        continue
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError) as error:
        print(f"{path}: unreadable report ({error})")
        failed += 1
        continue
    for case in root.iter("testcase"):
        if case.find("failure") is not None:
            failed += 1
            print(f"FAILED {case.get('classname')}.{case.get('name')} ({path})")
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
print(f"{passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed or not passed else 0)
