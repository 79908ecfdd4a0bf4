#!/usr/bin/python3
"""Where LibreOffice places the drawn objects of workbooks, read through UNO.

    libreoffice_shapes.py WORK_DIR FILE... [--pdf NAME...]

Opens every FILE in one private headless LibreOffice (its profile and the
copies it opens in WORK_DIR) and prints, tab-separated, what Calc made of
each sheet that draws something, in points:

    shape   FILE SHEET NAME LEFT TOP WIDTH HEIGHT   from the sheet's top-left corner
    columns FILE SHEET WIDTH...                      the columns, from A to the one
                                                     under the right-most edge
    page    FILE SHEET LEFT TOP                      where the sheet's top-left corner
                                                     prints on its first page

The files named after --pdf are also exported to PDF, as Calc prints them,
into WORK_DIR/NAME.pdf. Needs Debian's python3-uno and libreoffice-calc (or
-nogui).
"""

import argparse
import sys
from pathlib import Path

# The corpus generator's private soffice session, reused as it is.
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "corpus"))
from make_corpus import Office, prop, url_of  # noqa: E402

# Calc's drawing coordinates are in 1/100 mm.
POINTS_PER_UNIT = 72 / 2540


def object_name(shape):
    """A form control's name is its model's: the drawing shape has none of its own."""
    if shape.supportsService("com.sun.star.drawing.ControlShape") and shape.Control is not None:
        return shape.Control.Name
    return shape.Name


def points(value):
    return f"{value * POINTS_PER_UNIT:.2f}"


def sheet_lines(document, sheet, file_name):
    page = sheet.DrawPage
    if page.Count == 0:
        return
    right_edge = 0
    for index in range(page.Count):
        shape = page.getByIndex(index)
        position, size = shape.Position, shape.Size
        right_edge = max(right_edge, position.X + size.Width)
        yield ["shape", file_name, sheet.Name, object_name(shape)] + \
            [points(v) for v in (position.X, position.Y, size.Width, size.Height)]
    widths, edge = [], 0
    while edge <= right_edge and len(widths) < sheet.Columns.Count:
        widths.append(sheet.Columns.getByIndex(len(widths)).Width)
        edge += widths[-1]
    yield ["columns", file_name, sheet.Name] + [points(w) for w in widths]
    # A sheet that is not centred on its page prints from the page's
    # margins, below its header.
    style = document.StyleFamilies.getByName("PageStyles").getByName(sheet.PageStyle)
    header = style.HeaderHeight if style.HeaderIsOn else 0
    yield ["page", file_name, sheet.Name, points(style.LeftMargin), points(style.TopMargin + header)]


def document_lines(document, file_name):
    sheets = document.Sheets
    for index in range(sheets.Count):
        yield from sheet_lines(document, sheets.getByIndex(index), file_name)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("work", type=Path, help="folder for the profile, the copies and the PDF files")
    parser.add_argument("files", nargs="+", type=Path)
    parser.add_argument("--pdf", nargs="*", default=[], help="names of the files to export to PDF")
    arguments = parser.parse_args(argv[1:])
    office = Office(arguments.work / "profile", arguments.work)
    try:
        for path in arguments.files:
            document = office.open(path)
            try:
                for fields in document_lines(document, path.name):
                    print("\t".join(fields), flush=True)
                if path.name in arguments.pdf:
                    pdf = arguments.work / (path.name + ".pdf")
                    document.storeToURL(url_of(pdf), (prop("FilterName", "calc_pdf_Export"),))
            finally:
                document.close(True)
    finally:
        office.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
