// Array formulas on a sheet: entering one over a range, and the rule that
// protects them, that no edit changes part of one.
#include "engine/formula/evaluator.hpp"
#include "engine/model/workbook.hpp"
#include "engine/model/worksheet.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(const char* description) {
  platform::com::raise(platform::com::err::ApplicationDefined, "Worksheet", description);
}

}  // namespace

void Worksheet::check_whole_arrays(const CellRange& range) const {
  if (arrays_.empty()) return;
  for (const CellRange& held : arrays_.overlapping(range)) {
    const bool inside = range.contains(held.first_row, held.first_column) &&
                        range.contains(held.last_row, held.last_column);
    if (!inside) refuse("You cannot change part of an array.");
  }
}

void Worksheet::forget_arrays_within(const CellRange& range) {
  if (arrays_.empty()) return;
  for (const CellRange& held : arrays_.overlapping(range)) arrays_.remove(held);
}

void Worksheet::release_arrays(const CellRange& range) {
  check_range(range);
  check_whole_arrays(range);
  for (const CellRange& held : arrays_.overlapping(range)) clear_contents(held);
}

void Worksheet::set_array_formula(const CellRange& range, std::string_view text) {
  std::shared_ptr<const formula::Formula> parsed;
  try {
    parsed = formula::parse(text);
  } catch (const formula::ParseError& e) {
    platform::com::raise(platform::com::err::ApplicationDefined, "Range", std::string("Invalid formula: ") + e.what());
  }
  set_array_formula(range, std::move(parsed));
}

void Worksheet::set_array_formula(const CellRange& range, std::shared_ptr<const formula::Formula> formula) {
  check_range(range);
  if (formula == nullptr) platform::com::raise(platform::com::err::InvalidCall, "Range", "No formula given");
  // Each cell of an array is a cell of the sheet; past the largest array a
  // formula reads, Excel 2003 would sooner run out of memory than compute it.
  if (static_cast<double>(range.row_count()) * range.column_count() > formula::max_array_cells)
    refuse("The array formula covers too many cells");
  check_editable(range);
  check_whole_arrays(range);
  for (const CellRange& merged : merges_) {
    if (merged.intersects(range)) refuse("Array formulas are not valid in merged cells.");
  }
  clear_contents(range);
  for (int row = range.first_row; row <= range.last_row; ++row) {
    for (int column = range.first_column; column <= range.last_column; ++column) {
      Cell& cell = cell_for_write(row, column);
      cell.formula = formula;
      cell.value = formula::Value{};
    }
  }
  arrays_.add(range);
  book_.mark_changed();
  book_.array_set(id_, range);
}

void Worksheet::check_arrays_move(const RangeMove& move) const {
  for (const CellRange& held : arrays_.all()) {
    const auto to = move(held);
    if (to && (to->row_count() != held.row_count() || to->column_count() != held.column_count()))
      refuse("You cannot change part of an array.");
  }
}

void Worksheet::move_arrays(const RangeMove& move) {
  ArrayRanges moved;
  for (const CellRange& held : arrays_.all()) {
    if (const auto to = move(held)) moved.add(*to);
  }
  arrays_ = std::move(moved);
}

Worksheet::RangeMove Worksheet::line_move(int at, int count, bool by_rows) const {
  return [at, count, by_rows](CellRange range) -> std::optional<CellRange> {
    int& first = by_rows ? range.first_row : range.first_column;
    int& last = by_rows ? range.last_row : range.last_column;
    const auto span = shift_span(Span{first, last}, at, count, by_rows ? kMaxRows : kMaxColumns);
    if (!span) return std::nullopt;
    first = span->first;
    last = span->last;
    return range;
  };
}

}  // namespace engine::model
