#include "engine/import/sheet_loader.hpp"

#include <algorithm>

#include "engine/formula/reference.hpp"
#include "engine/import/file_error.hpp"
#include "platform/com/error.hpp"

namespace engine::import {

void place_cell(model::Worksheet& sheet, int row, int column, model::FormatIndex format, formula::Value value) {
  if (row < 0 || column < 0 || row >= model::kMaxRows || column >= model::kMaxColumns)
    fail("a cell lies outside Excel's grid");
  const bool blank = value.is_empty();
  if (!blank) sheet.set_value(row, column, std::move(value));
  if (format == model::kDefaultFormat && blank) return;
  const model::FormatPool& pool = sheet.workbook().formats();
  if (format != model::kDefaultFormat && !(pool.at(format) == pool.at(model::kDefaultFormat)))
    sheet.set_format_index(row, column, format);
}

void enter_array_formula(model::Worksheet& sheet, const model::CellRange& range,
                         std::shared_ptr<const formula::Formula> formula, LoadReport* report) {
  const std::string place = cell_place(sheet, range.first_row, range.first_column);
  try {
    model::check_range(range);
    std::size_t present = 0;
    sheet.for_each_cell(range, [&present](int, int, const model::Cell&) { ++present; });
    if (present != static_cast<std::size_t>(range.row_count()) * static_cast<std::size_t>(range.column_count())) {
      report_loss(report, "array formula", place, "its range holds cells the file does not have");
      return;
    }
    sheet.set_array_formula(range, std::move(formula));
  } catch (const platform::com::Error& error) {
    report_loss(report, "array formula", place, error.description());
  }
}

std::string cell_place(const model::Worksheet& sheet, int row, int column) {
  return sheet.name() + "!" + formula::column_name(column) + std::to_string(row + 1);
}

void RowLines::apply(model::Worksheet& sheet) {
  // The last description of a row stands: sort stably, keep each row's last.
  std::stable_sort(rows_.begin(), rows_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  const auto last_of_each = std::unique(rows_.rbegin(), rows_.rend(), [](const auto& a, const auto& b) { return a.first == b.first; });
  rows_.erase(rows_.begin(), last_of_each.base());
  for (const auto& [row, line] : rows_) {
    if (row < 0 || row >= model::kMaxRows) continue;
    if (line.height) sheet.set_row_height(row, row, *line.height);
    const int level = std::clamp(line.level, 0, model::kMaxOutlineLevel - 1);
    for (int i = 0; i < level; ++i) sheet.group_rows(row, row);
  }
  for (const auto& [row, line] : rows_)
    if (line.collapsed && row >= 0 && row < model::kMaxRows) {
      try {
        sheet.set_row_show_detail(row, false);
      } catch (const platform::com::Error&) {
        // A collapsed flag on a row that summarises no group: Excel ignores it too.
      }
    }
  for (const auto& [row, line] : rows_)
    if (row >= 0 && row < model::kMaxRows && (line.hidden || sheet.rows().hidden(row)))
      sheet.set_rows_hidden(row, row, line.hidden);
}

void apply_columns(model::Worksheet& sheet, const ColumnLine& columns) {
  const int first = std::max(columns.first, 0);
  const int last = std::min(columns.last, model::kMaxColumns - 1);
  if (first > last) return;
  if (columns.width) sheet.set_column_width(first, last, *columns.width);
  const int level = std::clamp(columns.level, 0, model::kMaxOutlineLevel - 1);
  for (int i = 0; i < level; ++i) sheet.group_columns(first, last);
  if (columns.hidden) sheet.set_columns_hidden(first, last, true);
}

}  // namespace engine::import
