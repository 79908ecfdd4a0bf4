#!/usr/bin/python3
"""Makes the corpus of trainee answers saved by LibreOffice and Gnumeric.

Each answer starts from the delivered exercise file, as a trainee's does: it
is opened in LibreOffice Calc, the trainee's actions are performed through
UNO the way Calc's own commands perform them (typed input is parsed as the
input line parses it, names are redefined, rows hidden or grouped, a style
created), and the workbook is saved as .xls, .xlsx and .ods. Gnumeric's
variant is the .xls answer opened and saved as .xlsx by ssconvert.

Written once by hand and its output checked in: the test suite reads the
files and tests/corpus/expected.tsv, and never runs LibreOffice or Gnumeric.

    tests/corpus/make_corpus.py EXERCISES_DIR [--output DIR]
    tests/corpus/make_corpus.py --manifest-only [--output DIR]

EXERCISES_DIR holds the built exercise files (build/<dir>/exercises); the
output goes beside this script unless --output says otherwise. The second
form only rewrites expected.tsv, when an expected code or its reason
changes. Needs Debian's python3-uno, libreoffice-calc (or -nogui) and
gnumeric.
"""

import argparse
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path
from typing import Callable

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

HERE = Path(__file__).resolve().parent
ANSWERS_DIR = HERE.parent.parent / "exercises" / "answers"

# Seconds that soffice may take to accept a connection, and that one
# ssconvert run may take, before the generator gives up on it.
SOFFICE_START_TIMEOUT = 60
SSCONVERT_TIMEOUT = 60

# com.sun.star.sheet.CellFlags: what Calc's Delete key removes (the
# contents; formats and notes stay).
DELETE_KEY_FLAGS = 1 | 2 | 4 | 16  # VALUE | DATETIME | STRING | FORMULA

# The Excel 2003 palette colours a trainee picks for the style of
# question 612 (indexes 55 and 5); Calc takes colours as RGB.
COLOUR_INDEX_55 = 0x333399
COLOUR_INDEX_5 = 0x0000FF


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def url_of(path):
    return uno.systemPathToFileUrl(str(Path(path).resolve()))


def rows_orientation():
    return uno.Enum("com.sun.star.table.TableOrientation", "ROWS")


# --- The trainee's actions in Calc ----------------------------------------
#
# Each takes the open document and does what the Calc command named in its
# docstring does.


class Calc:
    """The open workbook and the Calc commands a trainee uses on it."""

    def __init__(self, document, context):
        self.document = document
        self.context = context

    def sheet(self, name=None):
        if name is None:
            return self.document.CurrentController.ActiveSheet
        return self.document.Sheets.getByName(name)

    def cell(self, address, sheet=None):
        return self.sheet(sheet).getCellRangeByName(address)

    def type_into(self, address, text):
        """Typing into a cell: Calc's input parsing (numbers, "'" for text, "=" formulas)."""
        self.cell(address).setFormula(text)

    def delete_contents(self, address):
        """Delete key on a cell."""
        self.cell(address).clearContents(DELETE_KEY_FLAGS)

    def modify_name(self, name, content):
        """Sheet, Named Ranges, Manage: the range of an existing name changed."""
        self.document.NamedRanges.getByName(name).setContent(content)

    def activate(self, sheet):
        """A click on the sheet's tab."""
        self.document.CurrentController.setActiveSheet(self.sheet(sheet))

    # Copy and paste go through the document, not the clipboard: a headless
    # soffice aborts from a timer a few seconds after anything is put on its
    # clipboard. Calc's own paste does what these do: contents, formats and
    # notes, relative references moved with the cells.

    def copy_to(self, source, target):
        """Select a range, Edit, Copy; select a cell, Edit, Paste."""
        sheet = self.sheet()
        sheet.copyRange(self.cell(target).CellAddress, self.cell(source).RangeAddress)

    def copy_transposed(self, source, target):
        """Select a range, Edit, Copy; select a cell, Edit, Paste Special, everything, Transpose."""
        sheet = self.sheet()
        block = self.cell(source).RangeAddress
        corner = self.cell(target).CellAddress
        for row in range(block.StartRow, block.EndRow + 1):
            for column in range(block.StartColumn, block.EndColumn + 1):
                source_cell = sheet.getCellByPosition(column, row)
                to_column = corner.Column + row - block.StartRow
                to_row = corner.Row + column - block.StartColumn
                sheet.copyRange(sheet.getCellByPosition(to_column, to_row).CellAddress, source_cell.RangeAddress)
                if source_cell.Type.value == "FORMULA":
                    moved = transposed_formula(source_cell.Formula, column, row, to_column, to_row)
                    sheet.getCellByPosition(to_column, to_row).setFormula(moved)

    def number_format(self, address, code):
        """Format Cells, Numbers, User-defined: the format code typed in."""
        formats = self.document.NumberFormats
        # The dialog creates the format in the cell's language, which is the
        # default one: the empty locale. A named locale would make
        # LibreOffice write a "[$-409]" prefix into the saved code.
        locale = uno.createUnoStruct("com.sun.star.lang.Locale")
        key = formats.queryKey(code, locale, False)
        if key == -1:
            key = formats.addNew(code, locale)
        self.cell(address).NumberFormat = key

    def hide_rows(self, rows):
        """Select whole rows, Format, Rows, Hide."""
        self.cell(rows).Rows.IsVisible = False

    def group_rows(self, rows):
        """Select whole rows, Data, Group and Outline, Group."""
        self.sheet().group(self.cell(rows).RangeAddress, rows_orientation())

    def show_row_levels(self, level, sheet=None):
        """A click on the outline's level button "1", "2"...: the rows of that level and above shown."""
        # UNO counts the levels from 0 where the buttons count from 1.
        self.sheet(sheet).showLevel(level - 1, rows_orientation())

    def remove_subtotals(self, address, sheet=None):
        """Select the list, Data, Subtotals, Remove."""
        self.cell(address, sheet).removeSubTotals()

    def portrait_centred(self):
        """Format, Page Style: portrait, table centred horizontally."""
        styles = self.document.StyleFamilies.getByName("PageStyles")
        style = styles.getByName(self.sheet().PageStyle)
        if style.IsLandscape:
            width, height = style.Width, style.Height
            style.IsLandscape = False
            style.Width, style.Height = min(width, height), max(width, height)
        style.CenterHorizontally = True

    def new_cell_style(self, name, colour):
        """Styles sidebar, New Style: bold, italic, the font colour given."""
        style = self.document.createInstance("com.sun.star.style.CellStyle")
        self.document.StyleFamilies.getByName("CellStyles").insertByName(name, style)
        set_font(style, colour)

    def format_font(self, address, colour):
        """Format Cells, Font and Font Effects on one cell: bold, italic, colour."""
        set_font(self.cell(address), colour)

    def tick(self, box_name, sheet=None):
        """A click on a form check box: it becomes ticked."""
        forms = self.sheet(sheet).DrawPage.Forms
        for index in range(forms.Count):
            form = forms.getByIndex(index)
            if form.hasByName(box_name):
                form.getByName(box_name).State = 1
                return
        raise LookupError(f"no check box named {box_name!r}")


A1_REFERENCE = re.compile(r"(?<![A-Za-z0-9_.$])(\$?)([A-Z]{1,3})(\$?)([0-9]+)(?![0-9(])")


def column_number(letters):
    number = 0
    for letter in letters:
        number = number * 26 + ord(letter) - ord("A") + 1
    return number - 1


def column_letters(number):
    letters = ""
    number += 1
    while number:
        number, rest = divmod(number - 1, 26)
        letters = chr(ord("A") + rest) + letters
    return letters


def transposed_formula(formula, column, row, to_column, to_row):
    """A formula moved from (column, row) to (to_column, to_row) by a transposed paste.

    A relative reference is an offset from its cell, and a transposed paste
    swaps its two offsets, as it swaps the cells; an absolute part stays.
    The tables pasted here hold plain A1 references on their own sheet.
    """
    def move(match):
        column_absolute, letters, row_absolute, digits = match.groups()
        column_offset = column_number(letters) - column
        row_offset = int(digits) - 1 - row
        new_column = column_number(letters) if column_absolute else to_column + row_offset
        new_row = int(digits) - 1 if row_absolute else to_row + column_offset
        return f"{column_absolute}{column_letters(new_column)}{row_absolute}{new_row + 1}"
    return A1_REFERENCE.sub(move, formula)


def set_font(target, colour):
    target.CharWeight = 150.0  # com.sun.star.awt.FontWeight.BOLD
    target.CharPosture = uno.Enum("com.sun.star.awt.FontSlant", "ITALIC")
    target.CharColor = colour


# --- The answers ----------------------------------------------------------

@dataclass
class Writer:
    """One saved form of an answer: who wrote it, and how."""
    name: str          # "libreoffice" or "gnumeric"
    extension: str
    filter: str        # LibreOffice's filter or Gnumeric's exporter


LIBREOFFICE_WORKBOOKS = [
    Writer("libreoffice", "xls", "MS Excel 97"),
    Writer("libreoffice", "xlsx", "Calc MS Excel 2007 XML"),
    Writer("libreoffice", "ods", "calc8"),
]
LIBREOFFICE_TEMPLATES = [
    Writer("libreoffice", "xlt", "MS Excel 97 Vorlage/Template"),
    Writer("libreoffice", "xltx", "Calc MS Excel 2007 XML Template"),
    Writer("libreoffice", "ots", "calc8_template"),
]
# Gnumeric opens LibreOffice's .xls, as a Gnumeric user opens the delivered
# .xls, and writes it again. (From LibreOffice's .ods, Gnumeric writes every
# styled row across all 16384 columns: 15 MB of XML per answer.)
GNUMERIC_WORKBOOK = Writer("gnumeric", "xlsx", "Gnumeric_Excel:xlsx2")
# A Gnumeric user asked for "Thor.xlt" saves Excel 97 under that name:
# Gnumeric writes no .xltx template.
GNUMERIC_TEMPLATE = Writer("gnumeric", "xlt", "Gnumeric_Excel:excel_biff8")


@dataclass
class Answer:
    question: int
    name: str                         # the bundled answer script's, e.g. "wrong_number"
    actions: Callable[[Calc], None]
    # Expected codes that differ from the bundled script's, by writer name
    # and extension ("libreoffice", "gnumeric", or "gnumeric.xlsx"), with
    # the reason.
    verdicts: dict = field(default_factory=dict)
    # The saved file's name when the check reads it by name (question
    # 613's template); otherwise "<answer>.<writer>.<extension>".
    file_stem: str = ""
    templates: bool = False
    # A question judged on application state: one file to show that
    # status, not a verdict.
    status_only: bool = False


NO_CUSTOM_VIEWS = ("A", "LibreOffice and Gnumeric keep no custom views: the view 123 cannot be shown")
NO_HIDDEN_WINDOW = ("B", "LibreOffice has no Hide command for a document window and saves the "
                         "window as visible in every format")
BACKSLASH_QUOTED = ("", "LibreOffice keeps the -52 of @\\-52 as literal text and writes it quoted, @\"-52\", "
                       "the lesson's own form: no file it writes tells the two apart")
NOT_THOR_XLT = ("A", "the course asks for Thor.xlt: a template saved in another format has another name, "
                     "and the check looks for Thor.xlt by name")
NO_BOX_NAMES = ("error 9", "Gnumeric writes its check boxes without their names (and unticked: it takes a box's "
                          "state only from a linked cell): the check finds no \"Case à cocher 1\" and fails with "
                          "error 9, Subscript out of range")
NO_ACTIVE_SHEET = ("K", "a headless LibreOffice writes no view settings into .ods: the file opens on its first "
                        "sheet, not on Trimestre 1, and the pre-check stops before the custom view")
NO_CELL_STYLES = ("A", "Gnumeric has no named cell styles: the style is lost when it reads the file")


def nothing(calc):
    pass


def answer_601(text):
    return lambda calc: calc.type_into("D1", text)


def define_zone(calc):
    calc.modify_name("Zone", "$'Trimestre 1'.$C$4:$C$7")


def define_zone_and_clear_c6(calc):
    define_zone(calc)
    calc.delete_contents("C6")


def transpose_table(calc):
    calc.copy_transposed("A3:D7", "A9")


def copy_table(calc):
    calc.copy_to("A3:D7", "A9")


# The transposed table typed by hand with the months typed as numbers.
TYPED_TABLE = [
    ("B9", "España"), ("C9", "France."), ("D9", "UK"), ("E9", "Total"),
    ("A10", "01"), ("A11", "02"), ("A12", "03"),
    ("B10", " "), ("C10", "125"), ("D10", "135"), ("E10", "=SUM(B10:D10)"),
    ("B11", "118"), ("C11", "100"), ("D11", "97"), ("E11", "=SUM(B11:D11)"),
    ("B12", "125"), ("C12", "150"), ("D12", "110"), ("E12", "=SUM(B12:D12)"),
]


def type_table(calc):
    for address, text in TYPED_TABLE:
        calc.type_into(address, text)


def answer_605(text):
    return lambda calc: calc.type_into("A2", text)


def answer_606(code):
    return lambda calc: calc.number_format("D1", code)


def hide_rows(rows):
    return lambda calc: calc.hide_rows(rows)


def group_and_collapse(rows):
    def actions(calc):
        calc.group_rows(rows)
        calc.show_row_levels(1)
    return actions


def group_on_trimestre(rows, collapse):
    def actions(calc):
        calc.activate("Trimestre 1")
        calc.group_rows(rows)
        if collapse:
            calc.show_row_levels(1)
    return actions


# The zoom of 110 is left out: a document LibreOffice opens without a
# window (as the generator must) saves the view settings it was opened with.
# No verdict depends on it, since no writer keeps the custom view itself.
def view_settings(calc):
    calc.portrait_centred()


VIEW_VERDICTS = {"libreoffice": NO_CUSTOM_VIEWS, "libreoffice.ods": NO_ACTIVE_SHEET, "gnumeric": NO_CUSTOM_VIEWS}


def tick(*boxes):
    def actions(calc):
        for box in boxes:
            calc.tick(f"Case à cocher {box}", "réponses")
    return actions


ANSWERS = [
    Answer(601, "right", answer_601("'09854895")),
    Answer(601, "wrong_letter_o", answer_601("O9854895")),
    Answer(601, "wrong_nothing", nothing),
    Answer(601, "wrong_number", answer_601("09854895")),
    Answer(602, "right", nothing, status_only=True),
    Answer(603, "right", define_zone),
    Answer(603, "wrong_figure_cleared", define_zone_and_clear_c6),
    Answer(603, "wrong_unchanged", nothing),
    Answer(604, "right", transpose_table),
    Answer(604, "wrong_month_numbers", type_table),
    Answer(604, "wrong_not_transposed", copy_table),
    Answer(605, "right", answer_605("=AVERAGE(B4:D4;B6:D6)")),
    Answer(605, "wrong_constant", answer_605("117")),
    Answer(605, "wrong_sum", answer_605("=SUM(B4:D4;B6:D6)/5")),
    Answer(605, "wrong_whole_block", answer_605("=AVERAGE(B4:D6)")),
    Answer(606, "right", answer_606('@"-52"')),
    Answer(606, "right_minus_outside", answer_606('@-"52"')),
    Answer(606, "wrong_backslash", answer_606("@\\-52"),
           verdicts={"libreoffice": BACKSLASH_QUOTED, "gnumeric": BACKSLASH_QUOTED}),
    Answer(606, "wrong_typed", answer_601("'09854895-52")),
    Answer(607, "right", hide_rows("A9:A12")),
    Answer(607, "wrong_grouped", group_and_collapse("A9:A12")),
    Answer(607, "wrong_row_13", hide_rows("A9:A13")),
    Answer(608, "right", lambda calc: calc.remove_subtotals("A3:D23", "détail")),
    Answer(608, "wrong_collapsed", lambda calc: calc.show_row_levels(2, "détail")),
    # Calc has no command that hides a document's window and saves it so:
    # the trainee's right answer and a minimised window save the same file.
    Answer(609, "right", nothing, verdicts={"libreoffice": NO_HIDDEN_WINDOW, "gnumeric": NO_HIDDEN_WINDOW}),
    Answer(609, "wrong_minimised", nothing),
    Answer(610, "right", group_on_trimestre("A4:A6", collapse=True)),
    Answer(610, "wrong_expanded", group_on_trimestre("A4:A6", collapse=False)),
    Answer(610, "wrong_total_row", group_on_trimestre("A4:A7", collapse=True)),
    # Nor has Calc custom views: whatever the trainee sets, the view 123 is
    # not in the file.
    Answer(611, "right", view_settings, verdicts=VIEW_VERDICTS),
    Answer(611, "wrong_zoom", view_settings, verdicts=VIEW_VERDICTS),
    Answer(612, "right", lambda calc: calc.new_cell_style("Titre bleu", COLOUR_INDEX_55),
           verdicts={"gnumeric": NO_CELL_STYLES}),
    Answer(612, "wrong_cell_format", lambda calc: calc.format_font("A1", COLOUR_INDEX_55)),
    Answer(612, "wrong_colour", lambda calc: calc.new_cell_style("Titre bleu", COLOUR_INDEX_5),
           verdicts={"gnumeric": NO_CELL_STYLES}),
    Answer(613, "right", nothing, file_stem="Thor", templates=True,
           verdicts={"libreoffice.xltx": NOT_THOR_XLT, "libreoffice.ots": NOT_THOR_XLT}),
    Answer(613, "wrong_workbook", nothing, file_stem="Thor"),
    Answer(614, "right", nothing, status_only=True),
    Answer(615, "right", tick(1), verdicts={"gnumeric": NO_BOX_NAMES}),
    Answer(615, "wrong_both", tick(1, 2), verdicts={"gnumeric": NO_BOX_NAMES}),
    Answer(615, "wrong_none", nothing, verdicts={"gnumeric": NO_BOX_NAMES}),
    Answer(615, "wrong_second", tick(2), verdicts={"gnumeric": NO_BOX_NAMES}),
]


def delivered_file(exercises, question):
    for extension in ("xls", "xlt"):
        path = Path(exercises) / f"0725{question:04d}.{extension}"
        if path.exists():
            return path
    raise FileNotFoundError(f"no delivered file for question {question} in {exercises}")


def bundled_code(answer):
    """The code the bundled answer script expects, from its "' expect:" line."""
    script = ANSWERS_DIR / f"{answer.question:04d}_{answer.name}.bas"
    match = re.search(r'^\' expect: (.*)$', script.read_text(encoding="utf-8"), re.MULTILINE)
    if not match:
        raise ValueError(f"{script} states no expected code")
    code = match.group(1).strip()
    return "" if code == '""' else code


def writers_of(answer):
    if answer.status_only:
        return LIBREOFFICE_WORKBOOKS[2:]
    if answer.templates:
        return LIBREOFFICE_TEMPLATES + [GNUMERIC_TEMPLATE]
    return LIBREOFFICE_WORKBOOKS + [GNUMERIC_WORKBOOK]


def relative_path(answer, writer):
    """Where an answer's file goes, under files/<question>/."""
    if answer.file_stem:
        # Read by its name: one folder per answer and writer keeps the name.
        return Path(f"{answer.question:04d}") / f"{answer.name}.{writer.name}" / f"{answer.file_stem}.{writer.extension}"
    return Path(f"{answer.question:04d}") / f"{answer.name}.{writer.name}.{writer.extension}"


def expected_row(answer, writer):
    """(code, note) for one saved file."""
    if answer.status_only:
        return "not judged", "the check reads the application's state, not a file"
    for key in (f"{writer.name}.{writer.extension}", writer.name):
        if key in answer.verdicts:
            return answer.verdicts[key]
    return bundled_code(answer), ""


# --- Running LibreOffice and Gnumeric --------------------------------------

class Office:
    """A private headless soffice, reached over a local socket."""

    def __init__(self, profile, work):
        self.work = work
        port = free_port()
        self.process = subprocess.Popen(
            ["soffice", f"-env:UserInstallation={url_of(profile)}", "--headless", "--invisible",
             "--norestore", "--nologo", "--nodefault",
             f"--accept=socket,host=127.0.0.1,port={port};urp;"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.context = connect(port, self.process)
        self.desktop = self.context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", self.context)

    def open(self, path):
        """Opens a copy of `path`, so that Calc's lock file never lands beside the original."""
        copy = Path(self.work) / path.name
        shutil.copyfile(path, copy)
        document = self.desktop.loadComponentFromURL(url_of(copy), "_blank", 0, (prop("Hidden", True),))
        if document is None:
            raise RuntimeError(f"LibreOffice could not open {path}")
        return document

    def close(self):
        try:
            self.desktop.terminate()
        except Exception:  # the bridge drops as soffice quits
            pass
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def connect(port, process):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + SOFFICE_START_TIMEOUT
    while True:
        try:
            return resolver.resolve(f"uno:socket,host=127.0.0.1,port={port};urp;StarOffice.ComponentContext")
        except NoConnectException:
            if process.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("soffice did not accept a connection")
            time.sleep(0.5)


def save_with_libreoffice(document, writer, path):
    path.parent.mkdir(parents=True, exist_ok=True)
    document.storeToURL(url_of(path), (prop("FilterName", writer.filter), prop("Overwrite", True)))


def save_with_gnumeric(source, writer, path):
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["ssconvert", f"--export-type={writer.filter}", str(source), str(path)],
                   check=True, timeout=SSCONVERT_TIMEOUT, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_answer(office, exercises, answer, files):
    """Plays one answer in Calc and saves it in every form; returns the paths."""
    document = office.open(delivered_file(exercises, answer.question))
    try:
        answer.actions(Calc(document, office.context))
        saved = {}
        for writer in writers_of(answer):
            path = files / relative_path(answer, writer)
            if writer.name == "libreoffice":
                save_with_libreoffice(document, writer, path)
            saved[writer.name, writer.extension] = path
    finally:
        document.close(True)
    for writer in writers_of(answer):
        if writer.name == "gnumeric":
            source = saved["libreoffice", "xlt" if answer.templates else "xls"]
            save_with_gnumeric(source, writer, saved[writer.name, writer.extension])
    return saved


def write_manifest(rows, path):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("question\tfile\texpected\tnote\n")
        for question, file, code, note in rows:
            out.write(f"{question}\t{file}\t{code}\t{note}\n")


def manifest_rows():
    return [(answer.question, relative_path(answer, writer).as_posix(), *expected_row(answer, writer))
            for answer in ANSWERS for writer in writers_of(answer)]


def make_files(exercises, files):
    if files.exists():
        shutil.rmtree(files)
    with tempfile.TemporaryDirectory(prefix="corpus-") as temporary:
        office = Office(Path(temporary) / "profile", Path(temporary))
        try:
            for answer in ANSWERS:
                print(f"{answer.question} {answer.name}", flush=True)
                make_answer(office, exercises, answer, files)
        finally:
            office.close()


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("exercises", nargs="?", type=Path, help="folder of the built exercise files")
    parser.add_argument("--output", type=Path, default=HERE, help="where files/ and expected.tsv go")
    parser.add_argument("--manifest-only", action="store_true",
                        help="rewrite expected.tsv from the table of answers, leaving the files as they are")
    arguments = parser.parse_args(argv[1:])
    if not arguments.manifest_only:
        if arguments.exercises is None:
            parser.error("the folder of the built exercise files is needed to make the files")
        make_files(arguments.exercises, arguments.output / "files")
    write_manifest(manifest_rows(), arguments.output / "expected.tsv")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
