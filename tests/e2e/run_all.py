#!/usr/bin/env python3
"""The end-to-end cases: the real quarrow.exe under Wine, driven by xdotool. Usage: run_all.py REPORT.xml"""
import sys

import e2e


def main_window_opens_and_escape_ends_it():
    with e2e.Quarrow() as app:
        window = e2e.find_window("Quarrow 0.50")
        shot = e2e.screenshot(window, "main_window")
        print(f"screenshot: {shot}")
        e2e.press(window, "Escape")
        code = app.wait_exit(10)
        assert code == 0, f"quarrow.exe did not end with code 0 after Escape (got {code})"


def about_box_opens_from_the_menu_by_keys():
    with e2e.Quarrow() as app:
        window = e2e.find_window("Quarrow 0.50")
        e2e.press(window, "alt+a")
        about = e2e.find_window("About Quarrow")
        shot = e2e.screenshot(about, "about_box")
        print(f"screenshot: {shot}")
        e2e.press(about, "Escape")
        assert e2e.window_gone(about), "the About box did not close on Escape"
        e2e.press(window, "Escape")
        code = app.wait_exit(10)
        assert code == 0, f"quarrow.exe did not end with code 0 after Escape (got {code})"


CASES = [
    ("MainWindowOpensAndEscapeEndsIt", main_window_opens_and_escape_ends_it),
    ("AboutBoxOpensFromTheMenuByKeys", about_box_opens_from_the_menu_by_keys),
]

if __name__ == "__main__":
    sys.exit(1 if e2e.run_cases(CASES, sys.argv[1]) else 0)
