#include "engine/app/range_arrays.hpp"

#include <algorithm>

#include "engine/app/range.hpp"
#include "engine/formula/formula.hpp"
#include "engine/formula/r1c1.hpp"
#include "platform/com/text.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

constexpr com::DispId kCurrentArray = 501;
constexpr com::DispId kHasArray = 266;
constexpr com::DispId kHasFormula = 267;
constexpr com::DispId kFormulaArray = 586;

// Excel 2003 takes at most 255 characters through FormulaArray, although a
// formula typed with Ctrl+Shift+Enter may be longer.
constexpr std::size_t kLongestFormulaArray = 255;

// True when all of the range's cells count, False when none does, Null
// otherwise: counted sparsely, since a range may be a whole sheet.
com::Variant all_or_none(const model::CellRange& a, double counted) {
  if (counted == 0) return false;
  if (counted == static_cast<double>(a.row_count()) * a.column_count()) return true;
  return com::Variant::null();
}

double array_cells(const model::Worksheet& sheet, const model::CellRange& a) {
  double count = 0;
  for (const model::CellRange& array : sheet.arrays().overlapping(a)) {
    const int rows = std::min(a.last_row, array.last_row) - std::max(a.first_row, array.first_row) + 1;
    const int columns = std::min(a.last_column, array.last_column) - std::max(a.first_column, array.first_column) + 1;
    count += static_cast<double>(rows) * columns;
  }
  return count;
}

double formula_cells(const model::Worksheet& sheet, const model::CellRange& a) {
  double count = 0;
  sheet.for_each_cell(a, [&count](int, int, const model::Cell& cell) { count += cell.formula ? 1 : 0; });
  return count;
}

// The array holding every cell of the range, when one does.
std::optional<model::CellRange> array_holding(const model::Worksheet& sheet, const model::CellRange& a) {
  const auto array = sheet.array_at(a.first_row, a.first_column);
  if (!array || !array->contains(a.last_row, a.last_column)) return std::nullopt;
  return array;
}

// The array's formula; one cell outside arrays gives its Formula; a range
// that is neither gives Null.
com::Variant formula_array(Range& range) {
  const model::Worksheet& sheet = range.sheet();
  const model::CellRange& a = range.area();
  if (const auto array = array_holding(sheet, a)) return sheet.formula_text(array->first_row, array->first_column);
  if (a.row_count() == 1 && a.column_count() == 1) return sheet.formula_text(a.first_row, a.first_column);
  return com::Variant::null();
}

// The formula as A1 text. The recorder writes R1C1 ("=SUM(R1C1:R3C1)"),
// a macro may write A1; text that reads as A1 without taking R1C1 words
// for defined names is A1.
std::string a1_text(const std::string& text, const model::CellRange& a) {
  const auto converted = formula::r1c1_to_a1(text, a.first_row, a.first_column);
  if (!converted || *converted == text) return text;
  try {
    if (formula::precedents(*formula::parse(text)).names.empty()) return text;
  } catch (const formula::ParseError&) {
  }
  return *converted;
}

void set_formula_array(Range& range, const std::string& text) {
  const auto refuse = [] { raise_refused("Unable to set the FormulaArray property of the Range class"); };
  if (static_cast<std::size_t>(com::len(text)) > kLongestFormulaArray) refuse();
  const model::CellRange& a = range.area();
  std::shared_ptr<const formula::Formula> parsed;
  try {
    parsed = formula::parse(a1_text(text.starts_with('=') ? text : "=" + text, a));
  } catch (const formula::ParseError&) {
    refuse();
  }
  range.check_editable();
  check_budget_for(a, com::Variant());
  range.sheet().set_array_formula(a, std::move(parsed));
}

com::Variant current_array(Range& range) {
  const auto array = range.sheet().array_at(range.area().first_row, range.area().first_column);
  if (!array) raise_refused("Unable to get the CurrentArray property of the Range class");
  return make_range(range.application_ref(), range.sheet_ref(), *array);
}

}  // namespace

const GuardedMembers& range_array_members() {
  static const GuardedMembers table =
      AppMembers<Range>("Range")
          .get("FormulaArray", kFormulaArray, [](Range& r) { return formula_array(r); })
          .put("FormulaArray", kFormulaArray, [](Range& r, const std::string& text) { set_formula_array(r, text); })
          .get("HasArray", kHasArray, [](Range& r) { return all_or_none(r.area(), array_cells(r.sheet(), r.area())); })
          .get("HasFormula", kHasFormula,
               [](Range& r) { return all_or_none(r.area(), formula_cells(r.sheet(), r.area())); })
          .get("CurrentArray", kCurrentArray, [](Range& r) { return current_array(r); });
  return table;
}

}  // namespace engine::app
