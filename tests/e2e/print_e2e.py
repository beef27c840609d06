"""End-to-end printing: "&Print..." on a table window by real keys opens the column choice and the
preview; the preview's Print button sends the page to the prefix's "Quarrow PDF" printer, whose PDF
is read back with ghostscript; closing the preview removes the page files. E-mail goes through the
recording mapi32.dll stub beside the exe."""
import glob
import os
import shutil
import struct
import subprocess
import time

import commands_e2e
import e2e

FOLDER = os.path.join(e2e.ROOT, "build", "e2e-print")
PRINTED = os.environ.get("QUARROW_PRINT_DIR", os.path.join(e2e.ROOT, "build", "printed"))
# Toolbar buttons in the preview window: 39 pixels apart, the first centred at x = 23.
PRINT_BUTTON = (256, 44)
EMAIL_BUTTON = (295, 44)
EXIT_BUTTON = (334, 44)


def write_dated_table(path, rows):
    """NAME C 12 and BORN D 8, written byte by byte."""
    fields = [("NAME", "C", 12), ("BORN", "D", 8)]
    record = 1 + sum(f[2] for f in fields)
    header = 32 + 32 * len(fields) + 1
    out = bytearray(struct.pack("<BBBBIHH20x", 3, 126, 1, 1, len(rows), header, record))
    for name, kind, width in fields:
        out += struct.pack("<11sc4xBB14x", name.encode(), kind.encode(), width, 0)
    out += b"\r"
    for name, born in rows:
        out += b" " + name.encode("cp852").ljust(12) + born.encode()
    out += b"\x1a"
    with open(path, "wb") as f:
        f.write(out)


def page_folders():
    prefix = os.environ.get("WINEPREFIX", os.path.join(e2e.ROOT, "build", "wineprefix"))
    return set(glob.glob(os.path.join(prefix, "drive_c", "users", "*", "Temp", "Ombrix-PreView", "*")))


def click(window_id, point):
    subprocess.run(["xdotool", "mousemove", "--window", window_id, str(point[0]), str(point[1]), "click", "1"],
                   check=True, timeout=10)


def new_pdf(before, seconds=30):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for path in set(glob.glob(os.path.join(PRINTED, "*.pdf"))) - before:
            if b"%%EOF" in open(path, "rb").read():
                return path
        time.sleep(0.2)
    raise AssertionError(f"no PDF appeared in {PRINTED}")


def print_opens_the_preview_and_prints_the_page():
    shutil.rmtree(FOLDER, ignore_errors=True)
    os.makedirs(FOLDER)
    write_dated_table(os.path.join(FOLDER, "DATED.DBF"), [("Kov\u00e1cs", "19780312"), ("Szab\u00f3", "19650721")])
    folders = page_folders()
    pdfs = set(glob.glob(os.path.join(PRINTED, "*.pdf")))
    with e2e.Quarrow("DATED.DBF", cwd=FOLDER) as app:
        grid = e2e.find_window(r"DATED\.DBF - 2/1")
        commands_e2e.popup_command(grid, "p")
        columns = e2e.find_window("Columns")
        e2e.press(columns, "Return")
        preview = e2e.find_window(r"Preview - 1/1\.page")
        time.sleep(0.5)
        print(f"screenshot: {e2e.screenshot(preview, 'print_preview')}")
        assert len(page_folders() - folders) == 1, "no page folder while the preview is open"
        click(preview, PRINT_BUTTON)
        dialog = e2e.find_window("Nyomtat\u00e1s")
        e2e.press(dialog, "Return")
        pdf = new_pdf(pdfs)
        text = subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=txtwrite", "-sOutputFile=-", pdf],
                              capture_output=True, text=True, timeout=60).stdout
        subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=png16m", "-r60",
                        "-sOutputFile=" + os.path.join(e2e.SHOTS, "print_pdf_page1.png"), pdf], timeout=60)
        assert "T100" in text and "DATED.DBF" in text and "0001.PAGE" in text, text
        assert "1978.03.12" in text and "NAME" in text and "BORN" in text, text
        assert open(pdf, "rb").read().count(b"/Type/Page") - open(pdf, "rb").read().count(b"/Type/Pages") == 1
        os.remove(pdf)
        click(preview, EXIT_BUTTON)
        assert e2e.window_gone(preview), "the preview stayed"
        assert page_folders() == folders, "the page files outlived the preview"
        app.process.kill()


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def email_hands_every_page_to_mapi():
    shutil.rmtree(FOLDER, ignore_errors=True)
    os.makedirs(FOLDER)
    # Enough records for two pages.
    write_dated_table(os.path.join(FOLDER, "MAIL.DBF"), [(f"N{i}", "20240229") for i in range(100)])
    log = os.path.join(FOLDER, "mapi.log")
    saved = {k: os.environ.get(k) for k in ("WINEDLLOVERRIDES", "QUARROW_MAPI_LOG")}
    os.environ["WINEDLLOVERRIDES"] = "mapi32=n,b"
    os.environ["QUARROW_MAPI_LOG"] = windows_path(log)
    try:
        with e2e.Quarrow("MAIL.DBF", cwd=FOLDER) as app:
            grid = e2e.find_window(r"MAIL\.DBF - 100/1")
            commands_e2e.popup_command(grid, "p")
            e2e.press(e2e.find_window("Columns"), "Return")
            preview = e2e.find_window(r"Preview - 1/2\.page")
            click(preview, EMAIL_BUTTON)
            email = e2e.find_window("E-mail")
            print(f"screenshot: {e2e.screenshot(email, 'print_email')}")
            e2e.press(email, "alt+s")
            time.sleep(0.5)
            subprocess.run(["xdotool", "key", "--delay", "100", "Down", "Down", "Return"], check=True, timeout=10)
            assert e2e.window_gone(email), "the e-mail dialog stayed"
            click(preview, EXIT_BUTTON)
            assert e2e.window_gone(preview), "the preview stayed"
            app.process.kill()
    finally:
        for key, value in saved.items():
            if value is None:
                os.environ.pop(key, None)
            else:
                os.environ[key] = value
    calls = open(log, encoding="cp1250").read().splitlines()
    assert calls[0] == "MAPILogon (null) (null) 3" and calls[-1].startswith("MAPILogoff"), calls
    send = calls[1].split("|")
    assert send[0] == "MAPISendDocuments ;" and send[2] == "PG0001.EMF;PG0002.EMF", calls
    assert [p.rsplit("\\", 1)[1] for p in send[1].split(";")] == ["PG0001.EMF", "PG0002.EMF"], calls


CASES = [
    ("PrintOpensThePreviewAndPrintsThePage", print_opens_the_preview_and_prints_the_page),
    ("EmailHandsEveryPageToMapi", email_hands_every_page_to_mapi),
]
