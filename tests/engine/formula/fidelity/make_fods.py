#!/usr/bin/env python3
"""Writes functions.fods from cases.txt: the sheet "Cases" (function name in
column A, the formula in column B, written in Excel's notation through the
msoxl: formula namespace) and the sheet "Data" the cases read.

    python3 make_fods.py && soffice --headless --convert-to xls functions.fods

LibreOffice computes every formula when it loads the document and saves its
results in the .xls as each formula's cached result. The calculation
settings are Excel's: letter case ignored, wildcards rather than regular
expressions in criteria."""
import datetime
from pathlib import Path
from xml.sax.saxutils import quoteattr, escape

HERE = Path(__file__).resolve().parent


def serial(year, month, day, hours=0.0):
    return (datetime.date(year, month, day) - datetime.date(1899, 12, 30)).days + hours / 24


# Data's cells: address -> ("float" | "string" | "boolean" | "formula", value).
DATA = {
    **{f"A{i + 1}": ("float", v) for i, v in enumerate([10, 20, 30, 40, 50, 3, 1, 4, 1, 5])},
    "B1": ("string", "apple"), "B2": ("string", "Apricot"), "B3": ("string", "banana"),
    "B4": ("string", "cherry"), "B6": ("string", "10"), "B7": ("boolean", True), "B8": ("string", "a*b"),
    "C1": ("float", serial(2003, 6, 2)), "C2": ("float", serial(2003, 12, 31, 18)),
    "C3": ("float", serial(2001, 6, 15)), "C4": ("float", serial(2004, 2, 29)),
    "D1": ("float", 10), "D2": ("float", 20), "D3": ("float", 30), "D4": ("float", 40),
    "E1": ("string", "ten"), "E2": ("string", "twenty"), "E3": ("string", "thirty"), "E4": ("string", "forty"),
    "F1": ("formula", "=NA()"), "F2": ("float", 7), "F3": ("string", " "),
    "G1": ("string", "B2"),
}


def cell(kind, value):
    if kind is None:
        return "<table:table-cell/>"
    if kind == "float":
        return f'<table:table-cell office:value-type="float" office:value="{value!r}"/>'
    if kind == "boolean":
        return f'<table:table-cell office:value-type="boolean" office:boolean-value="{str(value).lower()}"/>'
    if kind == "formula" and value.startswith("{"):
        # An array formula, entered over its one cell.
        formula = quoteattr("msoxl:" + value[1:-1])
        return (f"<table:table-cell table:formula={formula}"
                ' table:number-matrix-columns-spanned="1" table:number-matrix-rows-spanned="1"/>')
    if kind == "formula":
        return f"<table:table-cell table:formula={quoteattr('msoxl:' + value)}/>"
    return f'<table:table-cell office:value-type="string"><text:p>{escape(value)}</text:p></table:table-cell>'


def data_rows():
    columns = "ABCDEFG"
    rows = max(int(address[1:]) for address in DATA)
    for row in range(1, rows + 1):
        cells = "".join(cell(*DATA.get(f"{c}{row}", (None, None))) for c in columns)
        yield f"<table:table-row>{cells}</table:table-row>"


def case_rows():
    for line in (HERE / "cases.txt").read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        name, formula = line.split("\t", 1)
        yield f"<table:table-row>{cell('string', name)}{cell('formula', formula)}</table:table-row>"


def main():
    document = f"""<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:msoxl="http://schemas.microsoft.com/office/excel/formula"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
<table:calculation-settings table:case-sensitive="false" table:use-regular-expressions="false"
 table:use-wildcards="true" table:search-criteria-must-apply-to-whole-cell="true"/>
<table:table table:name="Cases">
{chr(10).join(case_rows())}
</table:table>
<table:table table:name="Data">
{chr(10).join(data_rows())}
</table:table>
</office:spreadsheet></office:body></office:document>
"""
    (HERE / "functions.fods").write_text(document, encoding="utf-8")


if __name__ == "__main__":
    main()
