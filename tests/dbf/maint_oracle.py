#!/usr/bin/env python3
"""Independent readers for the maintenance and export tests.

  maint_oracle.py dbfread TABLE OUT   read TABLE (with its memo file) by dbfread, encoding cp852
  maint_oracle.py html PAGE OUT       parse PAGE (Windows-1250) by html.parser

OUT is one line per item, fields separated by tabs, every text given as the hex of its bytes so that no
value needs escaping: texts in cp852 for dbfread, in cp1250 for html.
dbfread: "names" and the field names, then "live" or "deleted" and one value per field: C and M texts as
hex (a missing memo is "-"), numbers as Python prints them, dates as YYYYMMDD, logicals T, F or "-".
html: "charset" and the META content, "title", "caption", then "row" and the cells of each TR (TH or TD).
"""
import datetime
import sys


def hexed(text, codepage):
    return text.encode(codepage).hex()


def value(v):
    if v is None:
        return "-"
    if isinstance(v, bool):
        return "T" if v else "F"
    if isinstance(v, datetime.date):
        return v.strftime("%Y%m%d")
    if isinstance(v, str):
        return hexed(v, "cp852")
    return repr(v)


def dbfread_table(name, out_name):
    from dbfread import DBF

    table = DBF(name, encoding="cp852", char_decode_errors="strict", load=True)
    with open(out_name, "w") as out:
        out.write("\t".join(["names"] + table.field_names) + "\n")
        for kind, records in (("live", table.records), ("deleted", table.deleted)):
            for r in records:
                out.write("\t".join([kind] + [value(v) for v in r.values()]) + "\n")


def html_page(name, out_name):
    from html.parser import HTMLParser

    class Cells(HTMLParser):
        def __init__(self):
            super().__init__(convert_charrefs=True)
            self.items = []
            self.text = None
            self.row = None

        def handle_starttag(self, tag, attrs):
            if tag == "meta":
                self.items.append(["charset", dict(attrs).get("content", "")])
            elif tag == "tr":
                self.row = ["row"]
            elif tag in ("td", "th", "title", "caption"):
                self.text = ""

        def handle_endtag(self, tag):
            if tag in ("td", "th") and self.row is not None:
                self.row.append(self.text)
            elif tag in ("title", "caption"):
                self.items.append([tag, self.text])
            elif tag == "tr" and self.row is not None:
                self.items.append(self.row)
                self.row = None
            self.text = None if tag in ("td", "th", "title", "caption") else self.text

        def handle_data(self, data):
            if self.text is not None:
                self.text += data

    with open(name, "rb") as page:
        text = page.read().decode("cp1250")
    parser = Cells()
    parser.feed(text)
    parser.close()
    with open(out_name, "w") as out:
        for item in parser.items:
            kind, rest = item[0], item[1:]
            cells = rest if kind == "charset" else [hexed(c, "cp1250") for c in rest]
            out.write("\t".join([kind] + cells) + "\n")


if __name__ == "__main__":
    {"dbfread": dbfread_table, "html": html_page}[sys.argv[1]](sys.argv[2], sys.argv[3])
