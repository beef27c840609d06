#!/usr/bin/env python3
"""End-to-end helpers: start quarrow.exe under Wine on the current DISPLAY, find its window with
xdotool, press real keys, take screenshots, and report the cases as a GoogleTest-style XML file."""
import os
import subprocess
import time
import traceback
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The Windows build and Wine loader that tools/wine-env.sh chose for this machine (the 32-bit build
# where 32-bit programs start, else the 64-bit one under wine64).
BUILD = os.environ.get("QUARROW_BUILD", os.path.join(ROOT, "build", "win32"))
EXE = os.path.join(BUILD, "quarrow.exe")
WINE = os.environ.get("QUARROW_WINE_LOADER", "wine")
SHOTS = os.path.join(ROOT, "build", "screenshots")


class Quarrow:
    """One running quarrow.exe; ends it on exit from the with-block if it is still running."""

    def __init__(self, *args, cwd=None):
        self.log = open(os.path.join(ROOT, "build", "e2e-wine.log"), "ab")
        # Output goes to a file: Wine's services inherit the descriptors and would hold a pipe open.
        self.process = subprocess.Popen([WINE, EXE, *args], cwd=cwd or ROOT, stdout=self.log,
                                        stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()

    def wait_exit(self, seconds=10):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None


def find_window(name, seconds=60):
    """The X window id of the first visible window whose title is exactly `name`."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                             capture_output=True, text=True).stdout.split()
        if out:
            return out[0]
        time.sleep(0.1)
    raise AssertionError(f"window {name!r} did not appear")


def window_gone(window_id, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if subprocess.run(["xdotool", "getwindowname", window_id], capture_output=True).returncode != 0:
            return True
        visible = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                                 capture_output=True, text=True).stdout.split()
        if window_id not in visible:
            return True
        time.sleep(0.1)
    return False


def press(window_id, *keys):
    """Focuses the window (there is no window manager) and types the keys as real X key events."""
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True, timeout=10)
    time.sleep(0.2)
    subprocess.run(["xdotool", "key", "--delay", "80", *keys], check=True, timeout=30)


def screenshot(window_id, name):
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    subprocess.run(["import", "-window", window_id, path], check=True, timeout=30)
    return path


def run_cases(cases, report):
    """Runs (name, function) pairs; each failure is recorded, not raised. Writes `report`."""
    suite = ET.Element("testsuite", name="EndToEnd")
    failures = 0
    for name, function in cases:
        case = ET.SubElement(suite, "testcase", classname="EndToEnd", name=name)
        started = time.time()
        try:
            function()
            print(f"[       OK ] EndToEnd.{name}")
        except Exception:  # any failure of a case is reported in the XML and the log
            failures += 1
            ET.SubElement(case, "failure", message=traceback.format_exc())
            print(f"[  FAILED  ] EndToEnd.{name}\n{traceback.format_exc()}")
        case.set("time", f"{time.time() - started:.2f}")
    suite.set("tests", str(len(cases)))
    suite.set("failures", str(failures))
    root = ET.Element("testsuites")
    root.append(suite)
    ET.ElementTree(root).write(report)
    return failures


# Keys that select the last data source in the ODBC explorer's tree without passing the others (each
# selected data source connects): the file branch below it is folded first, so that End lands on the
# file-branch root and Up on the last data source.
LAST_DATA_SOURCE_KEYS = ("Home", "Down", "Left", "Home", "Right", "End", "Up")
