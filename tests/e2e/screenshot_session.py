#!/usr/bin/env python3
"""For machines without a display: starts Quarrow on the virtual display, saves a screenshot, and
leaves it running until Enter is pressed (or at once when there is no terminal)."""
import sys
import time

import e2e

with e2e.Quarrow(*sys.argv[1:]) as app:
    window = e2e.find_window("Quarrow 0.50")
    time.sleep(1)  # the table window opens at the first activation
    print("screenshot:", e2e.screenshot("root", "start"))
    if sys.stdin.isatty():
        input("Quarrow is running; press Enter to end it. ")
