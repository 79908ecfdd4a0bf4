// Range over a Calc cell range: what a cell holds as Excel reports it, and
// assignments made as typing makes them.
//
// Calc's API writes formulas in English with ';' between arguments, where
// Excel writes ','; both sides are translated outside string literals.
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/sheet/XCellAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSheetAnnotation.hpp>
#include <com/sun/star/sheet/XSheetAnnotationAnchor.hpp>
#include <com/sun/star/sheet/XSheetAnnotations.hpp>
#include <com/sun/star/sheet/XSheetAnnotationsSupplier.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>

#include "bridge/libreoffice/objects.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/members.hpp"
#include "platform/excel/dispids.hpp"

namespace bridge::libreoffice {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;
using css::table::CellContentType_EMPTY;
using css::table::CellContentType_FORMULA;
using css::table::CellContentType_TEXT;
using css::table::CellContentType_VALUE;
using css::uno::UNO_QUERY_THROW;
using Cell = Reference<css::table::XCell>;

namespace {

// Excel's longest cell text and formula; longer input is refused before it
// reaches LibreOffice.
constexpr std::size_t kMaxCellText = 32767;
constexpr std::size_t kMaxFormula = 1024;

// Swaps argument separators outside string literals ("..." with "" inside).
std::string swap_separators(const std::string& formula, char from, char to) {
  std::string out = formula;
  bool quoted = false;
  for (char& c : out) {
    if (c == '"') quoted = !quoted;
    if (!quoted && c == from) c = to;
  }
  return out;
}

// Calc's error numbers as Excel's cell errors.
std::int32_t excel_error(sal_Int32 calc_error) {
  switch (calc_error) {
    case 532: return com::cell_error::Div0;
    case 503: return com::cell_error::Num;
    case 524: return com::cell_error::Ref;
    case 525: return com::cell_error::Name;
    case 32767: return com::cell_error::NA;
    default: return com::cell_error::Value;
  }
}

std::string text_of(const Cell& cell) { return from_uno(Reference<css::text::XText>(cell, UNO_QUERY_THROW)->getString()); }

// Value as Excel gives it for one cell.
Variant value_of_cell(const Cell& cell) {
  switch (cell->getType()) {
    case CellContentType_EMPTY: return {};
    case CellContentType_VALUE: return Variant(cell->getValue());
    case CellContentType_TEXT: return Variant(text_of(cell));
    case CellContentType_FORMULA: {
      if (cell->getError() != 0) return Variant::cell_error(excel_error(cell->getError()));
      const Reference<css::beans::XPropertySet> properties(cell, UNO_QUERY_THROW);
      sal_Int32 result = 0;
      properties->getPropertyValue(to_uno("FormulaResultType2")) >>= result;
      if (result == css::sheet::FormulaResult::VALUE) return Variant(cell->getValue());
      return Variant(text_of(cell));
    }
    default: return {};
  }
}

// Formula as Excel gives it: the formula in Excel's notation, a constant as
// its text.
std::string formula_of_cell(const Cell& cell) {
  switch (cell->getType()) {
    case CellContentType_VALUE: return com::cstr(Variant(cell->getValue()));
    case CellContentType_TEXT: return text_of(cell);
    case CellContentType_FORMULA: return swap_separators(from_uno(cell->getFormula()), ';', ',');
    default: return "";
  }
}

// What typing `text` into the cell does: an apostrophe keeps the rest as
// text, "=" starts a formula, anything else is read as the cell's input is
// (numbers, dates and truth values become values).
void type_text(const Cell& cell, const std::string& text) {
  if (text.size() > kMaxCellText) com::raise(com::err::ApplicationDefined, "Microsoft Excel", "The text is too long for a cell");
  if (!text.empty() && text[0] == '\'') {
    Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(to_uno(text.substr(1)));
  } else if (!text.empty() && text[0] == '=') {
    if (text.size() > kMaxFormula) com::raise(com::err::ApplicationDefined, "Microsoft Excel", "The formula is too long");
    cell->setFormula(to_uno(swap_separators(text, ',', ';')));
  } else {
    cell->setFormula(to_uno(text));
  }
}

void assign(const Cell& cell, const Variant& value) {
  switch (value.type()) {
    case com::VarType::Empty: cell->setFormula(rtl::OUString()); return;
    case com::VarType::String: type_text(cell, com::cstr(value)); return;
    case com::VarType::Boolean: cell->setFormula(to_uno(com::cbool(value) ? "=TRUE()" : "=FALSE()")); return;
    case com::VarType::Integer:
    case com::VarType::Long:
    case com::VarType::Double:
    case com::VarType::Date: cell->setValue(com::cdbl(value)); return;
    default: com::raise(com::err::TypeMismatch);
  }
}

// Runs `f` on each cell of the range, top-left first; `first_only` for
// what Excel reads from one cell.
template <class F>
void each_cell(const Range& range, bool first_only, F&& f) {
  const auto cells = range.sheet()->getCellRangeByName(to_uno(range.address()));
  const Reference<css::sheet::XCellRangeAddressable> addressable(cells, UNO_QUERY_THROW);
  const auto area = addressable->getRangeAddress();
  const sal_Int32 columns = area.EndColumn - area.StartColumn + 1;
  const sal_Int32 rows = area.EndRow - area.StartRow + 1;
  if (first_only && (columns > 1 || rows > 1)) {
    com::raise(com::err::ApplicationDefined, "Microsoft Excel", "Only one cell at a time is read through LibreOffice");
  }
  for (sal_Int32 row = 0; row < rows; ++row) {
    for (sal_Int32 column = 0; column < columns; ++column) f(cells->getCellByPosition(column, row));
  }
}

Variant read_value(Range& r) {
  r.app().require_answering();
  Variant value;
  r.app().office().call([&] { each_cell(r, true, [&](const Cell& cell) { value = value_of_cell(cell); }); });
  return value;
}

void write_value(Range& r, const Variant& value) {
  r.app().require_answering();
  const Variant plain = value.is_object() ? com::value_of(value) : value;
  r.app().office().call([&] { each_cell(r, false, [&](const Cell& cell) { assign(cell, plain); }); });
}

std::string read_formula(Range& r) {
  r.app().require_answering();
  std::string formula;
  r.app().office().call([&] { each_cell(r, true, [&](const Cell& cell) { formula = formula_of_cell(cell); }); });
  return formula;
}

std::string read_text(Range& r) {
  r.app().require_answering();
  std::string text;
  r.app().office().call([&] { each_cell(r, true, [&](const Cell& cell) { text = text_of(cell); }); });
  return text;
}

// NoteText(Text, Start, Length): the note's text; given Text, the note
// becomes it (from Start on, when Start is given).
std::string note_text(Range& r, std::optional<std::string> text, std::optional<std::int32_t> start) {
  r.app().require_answering();
  std::string note;
  r.app().office().call([&] {
    each_cell(r, true, [&](const Cell& cell) {
      const auto annotation = Reference<css::sheet::XSheetAnnotationAnchor>(cell, UNO_QUERY_THROW)->getAnnotation();
      note = from_uno(Reference<css::text::XTextRange>(annotation, UNO_QUERY_THROW)->getString());
      if (!text) return;
      if (text->size() > kMaxCellText) com::raise(com::err::InvalidCall);
      const std::size_t keep = start ? static_cast<std::size_t>(std::max(*start, 1) - 1) : 0;
      note = note.substr(0, std::min(keep, note.size())) + *text;
      const auto address = Reference<css::sheet::XCellAddressable>(cell, UNO_QUERY_THROW)->getCellAddress();
      Reference<css::sheet::XSheetAnnotationsSupplier>(r.sheet(), UNO_QUERY_THROW)
          ->getAnnotations()
          ->insertNew(address, to_uno(note));
    });
  });
  return note;
}

}  // namespace

const com::MemberTable& Range::members() const {
  static const com::MemberTable table =
      com::Members<Range>("Range")
          .get("Value", dispid::Value, [](Range& r) { return read_value(r); })
          .put("Value", dispid::Value, [](Range& r, const Variant& v) { write_value(r, v); })
          .get("_Default", com::DISPID_VALUE, [](Range& r) { return read_value(r); })
          .put("_Default", com::DISPID_VALUE, [](Range& r, const Variant& v) { write_value(r, v); })
          .get("Formula", dispid::Formula, [](Range& r) { return read_formula(r); })
          .put("Formula", dispid::Formula, [](Range& r, const Variant& v) { write_value(r, v); })
          .get("Text", 138, [](Range& r) { return read_text(r); })
          .method("NoteText", dispid::NoteText,
                  [](Range& r, std::optional<std::string> text, std::optional<std::int32_t> start, std::optional<std::int32_t>) {
                    return note_text(r, std::move(text), start);
                  },
                  {"Text", "Start", "Length"})
          .method("ClearContents", 113, [](Range& r) { write_value(r, Variant()); })
          .get("Application", dispid::Application, [](Range& r) { return r.app_ref(); });
  return table;
}

}  // namespace bridge::libreoffice
