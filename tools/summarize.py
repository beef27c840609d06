#!/usr/bin/env python3
"""Adds up GoogleTest XML reports and prints one closing line: 'N passed, N failed, N skipped'."""
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
for path in sys.argv[1:]:
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
