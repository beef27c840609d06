#!/usr/bin/env python3
"""Independent readers and writers of dBase tables for the engine's interoperability tests.

  oracle.py dbfread TABLE OUT      read TABLE with dbfread (encoding cp852), write OUT
  oracle.py dbfread-ldid TABLE OUT read TABLE with dbfread in the code page its language driver names
  oracle.py gdal-read TABLE OUT    read TABLE with GDAL's shapefile driver, write OUT
  oracle.py gdal-write TABLE       write a table with GDAL (code page 852) holding the rows below

OUT is Windows-1250 text: the field names on the first line, then one line per live record, values
separated by tabs. Texts lose trailing blanks and show CR, LF and tab escaped; dates are YYYYMMDD,
logicals T/F, empty values <null>.
"""
import datetime
import sys

GDAL_ROWS = [
    # NAME (254), CNT (integer 9), AMOUNT (real 12.3), DAY (date)
    ("\u00c1rv\u00edzt\u0171r\u0151 t\u00fck\u00f6rf\u00far\u00f3g\u00e9p", 1, 1.5, datetime.date(2024, 2, 29)),
    ("plain", -42, 1234.567, datetime.date(1999, 12, 31)),
    ("", 0, 0.0, None),
]


def text(value):
    if value is None:
        return "<null>"
    if isinstance(value, bool):
        return "T" if value else "F"
    if isinstance(value, datetime.date):
        return value.strftime("%Y%m%d")
    if isinstance(value, str):
        return value.rstrip(" ").replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t")
    return str(value)


def write_rows(out_name, names, rows):
    with open(out_name, "wb") as out:
        out.write(("\t".join(names) + "\n").encode("cp1250"))
        for row in rows:
            out.write(("\t".join(text(v) for v in row) + "\n").encode("cp1250"))


def dbfread_table(name, out_name, encoding="cp852"):
    from dbfread import DBF

    table = DBF(name, encoding=encoding, char_decode_errors="strict", load=True)
    write_rows(out_name, table.field_names, [list(r.values()) for r in table.records])


def gdal_read(name, out_name):
    from osgeo import ogr

    source = ogr.Open(name)
    layer = source.GetLayer(0)
    definition = layer.GetLayerDefn()
    names = [definition.GetFieldDefn(i).GetName() for i in range(definition.GetFieldCount())]
    rows = []
    for feature in layer:
        row = []
        for i in range(len(names)):
            row.append(feature.GetFieldAsString(i) if feature.IsFieldSetAndNotNull(i) else None)
        rows.append(row)
    write_rows(out_name, names, rows)


def gdal_write(name):
    from osgeo import ogr

    driver = ogr.GetDriverByName("ESRI Shapefile")
    source = driver.CreateDataSource(name)
    layer = source.CreateLayer("t", geom_type=ogr.wkbNone, options=["ENCODING=CP852"])
    for field_name, kind, width, precision in (("NAME", ogr.OFTString, 254, 0), ("CNT", ogr.OFTInteger, 9, 0),
                                                ("AMOUNT", ogr.OFTReal, 12, 3), ("DAY", ogr.OFTDate, 8, 0)):
        definition = ogr.FieldDefn(field_name, kind)
        definition.SetWidth(width)
        definition.SetPrecision(precision)
        layer.CreateField(definition)
    for row in GDAL_ROWS:
        feature = ogr.Feature(layer.GetLayerDefn())
        for i, value in enumerate(row):
            if value is None:
                continue
            if isinstance(value, datetime.date):
                feature.SetField(i, value.year, value.month, value.day, 0, 0, 0, 0)
            else:
                feature.SetField(i, value)
        layer.CreateFeature(feature)
    source = None


def main(argv):
    command = argv[1]
    if command == "dbfread":
        dbfread_table(argv[2], argv[3])
    elif command == "dbfread-ldid":
        dbfread_table(argv[2], argv[3], encoding=None)
    elif command == "gdal-read":
        gdal_read(argv[2], argv[3])
    elif command == "gdal-write":
        gdal_write(argv[2])
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main(sys.argv)
