// Range edits of structure and through the clipboard: Insert, Delete, Copy,
// PasteSpecial, Subtotal and RemoveSubtotal.
#include <vector>

#include "engine/app/application.hpp"
#include "engine/app/range.hpp"
#include "engine/formula/formula.hpp"
#include "engine/model/subtotal.hpp"
#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"

namespace engine::app {

namespace com = platform::com;
namespace xl = platform::excel;

namespace {

constexpr std::int32_t kOperationAdd = 2;
constexpr std::int32_t kOperationSubtract = 3;
constexpr std::int32_t kOperationMultiply = 4;
constexpr std::int32_t kOperationDivide = 5;
constexpr std::int32_t kSummaryAbove = 0;

// What a paste takes from the copied cells.
struct PasteOptions {
  bool values = true;
  bool formulas = true;
  bool formats = true;
  std::int32_t operation = xl::xlPasteSpecialOperationNone;
  bool skip_blanks = false;
  bool transpose = false;
};

// One copied cell, taken before anything is written so that overlapping
// source and destination read the source as it was.
struct CopiedCell {
  int row_offset;
  int column_offset;
  formula::Value value;
  std::shared_ptr<const formula::Formula> formula;
  model::CellFormat format;
};

std::vector<CopiedCell> take_cells(const model::Worksheet& sheet, const model::CellRange& a) {
  std::vector<CopiedCell> cells;
  for (int row = a.first_row; row <= a.last_row; ++row) {
    for (int column = a.first_column; column <= a.last_column; ++column) {
      const model::Cell* cell = sheet.find_cell(row, column);
      cells.push_back({row - a.first_row, column - a.first_column, cell ? cell->value : formula::Value{},
                       cell ? cell->formula : nullptr, sheet.format(row, column)});
    }
  }
  return cells;
}

formula::Value combine(const formula::Value& target, const formula::Value& source, std::int32_t operation) {
  if (operation == xl::xlPasteSpecialOperationNone) return source;
  const bool numeric = (target.is_number() || target.is_empty()) && (source.is_number() || source.is_empty());
  if (!numeric) return source.is_empty() ? target : source;
  const double a = target.is_number() ? target.number() : 0, b = source.is_number() ? source.number() : 0;
  switch (operation) {
    case kOperationAdd: return a + b;
    case kOperationSubtract: return a - b;
    case kOperationMultiply: return a * b;
    case kOperationDivide: return b == 0 ? formula::Value(formula::CellError::Div0) : formula::Value(a / b);
    default: break;
  }
  com::raise(com::err::InvalidCall);
}

// `source` is where the cell was copied from, `row` and `column` where it goes.
void paste_cell(model::Worksheet& target, int row, int column, const CopiedCell& cell,
                const formula::CellAddress& source, const PasteOptions& options) {
  if (options.formats) {
    const model::CellFormat& format = cell.format;
    target.change_format(model::CellRange::cell(row, column), [&format](model::CellFormat& f) { f = format; });
  }
  const bool formula = cell.formula && options.formulas && options.operation == xl::xlPasteSpecialOperationNone;
  if (formula) {
    const auto copied = formula::copy_formula(*cell.formula, source, {0, row, column}, options.transpose);
    target.set_formula(row, column, formula::print(*copied));
  } else if (options.values || options.formulas) {
    target.set_value(row, column, combine(target.value(row, column), cell.value, options.operation));
  }
}

PasteOptions paste_options(std::int32_t paste) {
  PasteOptions options;
  switch (paste) {
    case xl::xlPasteAll: break;
    case xl::xlPasteValues: options.formulas = options.formats = false; break;
    case xl::xlPasteFormulas: options.formats = false; options.values = false; break;
    case xl::xlPasteFormats: options.values = options.formulas = false; break;
    default: raise_refused("PasteSpecial method of Range class failed");
  }
  return options;
}

// Writes the copied cells into `target` (sized to receive them).
void paste_cells(const Range& target, const std::vector<CopiedCell>& cells, const model::CellRange& from,
                 const PasteOptions& options) {
  model::Worksheet& sheet = target.sheet();
  target.check_editable();
  const model::CellRange& to = target.area();
  for (const CopiedCell& cell : cells) {
    if (options.skip_blanks && cell.value.is_empty() && !cell.formula) continue;
    const int row = to.first_row + (options.transpose ? cell.column_offset : cell.row_offset);
    const int column = to.first_column + (options.transpose ? cell.row_offset : cell.column_offset);
    paste_cell(sheet, row, column, cell, {0, from.first_row + cell.row_offset, from.first_column + cell.column_offset},
               options);
  }
}

}  // namespace

// --- Structure --------------------------------------------------------------------

namespace {

// Whether the cells move along the rows (down or up) rather than along the
// columns. Without a Shift, Excel decides from the range's shape: a range
// at least as wide as it is tall moves the cells below it.
bool shifts_rows(const model::CellRange& area, std::optional<std::int32_t> shift, std::int32_t along_rows,
                 std::int32_t along_columns, const char* method) {
  if (!shift) return area.column_count() >= area.row_count();
  if (*shift == along_rows) return true;
  if (*shift == along_columns) return false;
  raise_refused(std::string(method) + " method of Range class failed");
}

}  // namespace

// Whole rows or columns are inserted whatever the Shift; part of a sheet
// moves only the cells beside the range.
void Range::insert(std::optional<std::int32_t> shift) {
  model::Worksheet& s = sheet();
  if (area_.whole_rows()) s.insert_rows(area_.first_row, area_.row_count());
  else if (area_.whole_columns()) s.insert_columns(area_.first_column, area_.column_count());
  else s.insert_cells(area_, shifts_rows(area_, shift, xl::xlShiftDown, xl::xlShiftToRight, "Insert"));
}

void Range::delete_cells(std::optional<std::int32_t> shift) {
  model::Worksheet& s = sheet();
  if (area_.whole_rows()) s.delete_rows(area_.first_row, area_.row_count());
  else if (area_.whole_columns()) s.delete_columns(area_.first_column, area_.column_count());
  else s.delete_cells(area_, shifts_rows(area_, shift, xl::xlShiftUp, xl::xlShiftToLeft, "Delete"));
}

// --- Clipboard ----------------------------------------------------------------------

void Range::copy(const std::optional<com::Variant>& destination) {
  const model::Worksheet& source = sheet();
  if (!destination) {
    application().set_clipboard(CopiedCells{sheet_.book, sheet_.id, area_});
    return;
  }
  const auto target = std::dynamic_pointer_cast<Range>(destination->object());
  if (!target) com::raise(com::err::TypeMismatch);
  const model::CellRange& at = target->area();
  const auto fitted = make_range(application_ref(), target->sheet_ref(),
                                 {at.first_row, at.first_column, at.first_row + area_.row_count() - 1,
                                  at.first_column + area_.column_count() - 1});
  paste_cells(*fitted, take_cells(source, area_), area_, PasteOptions{});
}

void Range::paste_special(std::optional<std::int32_t> paste, std::optional<std::int32_t> operation,
                          std::optional<bool> skip_blanks, std::optional<bool> transpose) {
  const auto& copied = application().clipboard();
  if (!copied || !application().is_open(*copied->book) || copied->book->find_sheet(copied->sheet) == nullptr) {
    raise_refused("PasteSpecial method of Range class failed");
  }
  PasteOptions options = paste_options(paste.value_or(xl::xlPasteAll));
  options.operation = operation.value_or(xl::xlPasteSpecialOperationNone);
  options.skip_blanks = skip_blanks.value_or(false);
  options.transpose = transpose.value_or(false);
  const model::CellRange& from = copied->area;
  const int rows = options.transpose ? from.column_count() : from.row_count();
  const int columns = options.transpose ? from.row_count() : from.column_count();
  const std::vector<CopiedCell> cells = take_cells(*copied->book->find_sheet(copied->sheet), from);
  const model::CellRange pasted{area_.first_row, area_.first_column, area_.first_row + rows - 1,
                                area_.first_column + columns - 1};
  paste_cells(*make(pasted), cells, from, options);
  // Excel leaves the pasted cells selected: a recorded macro's next
  // Selection is them.
  sheet().select(pasted, pasted.first_row, pasted.first_column);
}

// --- Subtotals ------------------------------------------------------------------------

void Range::subtotal(std::int32_t group_by, std::int32_t function, const com::Variant& total_list,
                     std::optional<bool> replace, std::optional<bool>, std::optional<std::int32_t> summary) {
  if (summary.value_or(1) == kSummaryAbove) {
    raise_refused("Subtotal method of Range class failed: summaries above the data are not supported");
  }
  model::SubtotalOptions options;
  options.group_by = group_by;
  options.function = function;
  options.replace = replace.value_or(true);
  const com::Variant list = com::value_of(total_list);
  if (list.is_array()) {
    for (const com::Variant& field : list.array_value().elements()) options.total_list.push_back(com::clng(field));
  } else {
    options.total_list.push_back(com::clng(list));
  }
  model::subtotal(sheet(), area_, options);
}

void Range::remove_subtotal() { model::remove_subtotal(sheet(), area_); }

}  // namespace engine::app
