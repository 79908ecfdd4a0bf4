// The AutoFilter's criteria, and the sheet's edits that put, change and
// remove it, hiding and showing rows and recomputing what reads them.
#include "engine/model/autofilter.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

#include "engine/formula/criteria.hpp"
#include "engine/model/text.hpp"
#include "engine/model/workbook.hpp"
#include "engine/model/worksheet.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(const char* description) {
  platform::com::raise(platform::com::err::ApplicationDefined, "AutoFilter", description);
}

// Excel's Top 10 dialog takes up to 500 items, or up to 100 percent.
constexpr int kMaxTopItems = 500;
constexpr int kMaxTopPercent = 100;
// Excel's Custom AutoFilter takes criteria of up to 255 characters (a file
// keeps no more), which also bounds the wildcard matching of each row.
constexpr std::size_t kMaxCriteriaLength = 255;

bool is_percent(FilterOperator op) { return op == FilterOperator::TopPercent || op == FilterOperator::BottomPercent; }
bool is_top(FilterOperator op) { return op == FilterOperator::TopItems || op == FilterOperator::TopPercent; }

std::optional<int> top_count(const ColumnFilter& filter) {
  const auto n = formula::number_from_any_text(filter.criteria1);
  if (!n || *n != std::floor(*n) || *n < 1 || *n > (is_percent(filter.op) ? kMaxTopPercent : kMaxTopItems)) {
    return std::nullopt;
  }
  return static_cast<int>(*n);
}

using RowTest = std::function<bool(const formula::Value&)>;

// The largest (top) or smallest (bottom) items of the column, ties kept:
// every number at least as far out as the last item counted passes.
RowTest top_or_bottom_test(const ColumnFilter& filter, const AutoFilter& list, const Worksheet& sheet) {
  std::vector<double> numbers;
  for (int row = list.first_data_row(); row <= list.range.last_row; ++row) {
    const formula::Value v = sheet.value(row, filter.column);
    if (v.is_number()) numbers.push_back(v.number());
  }
  if (numbers.empty()) return [](const formula::Value&) { return false; };
  const int asked = *top_count(filter);
  const std::size_t count =
      is_percent(filter.op)
          ? std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(numbers.size() * asked / 100.0)))
          : std::min<std::size_t>(numbers.size(), static_cast<std::size_t>(asked));
  const bool top = is_top(filter.op);
  std::sort(numbers.begin(), numbers.end(), [top](double a, double b) { return top ? a > b : a < b; });
  const double edge = numbers[count - 1];
  return [edge, top](const formula::Value& v) { return v.is_number() && (top ? v.number() >= edge : v.number() <= edge); };
}

RowTest criteria_test(const ColumnFilter& filter) {
  const formula::Criterion first{formula::Value(filter.criteria1)};
  if (!filter.criteria2) return [first](const formula::Value& v) { return first.matches(v); };
  const formula::Criterion second{formula::Value(*filter.criteria2)};
  if (filter.op == FilterOperator::Or) {
    return [first, second](const formula::Value& v) { return first.matches(v) || second.matches(v); };
  }
  return [first, second](const formula::Value& v) { return first.matches(v) && second.matches(v); };
}

}  // namespace

bool is_top_or_bottom(FilterOperator op) { return op != FilterOperator::And && op != FilterOperator::Or; }

const ColumnFilter* AutoFilter::find(int column) const {
  const auto it = std::find_if(columns.begin(), columns.end(), [column](const ColumnFilter& c) { return c.column == column; });
  return it == columns.end() ? nullptr : &*it;
}

void check_column_filter(const ColumnFilter& filter) {
  const int op = static_cast<int>(filter.op);
  if (op < static_cast<int>(FilterOperator::And) || op > static_cast<int>(FilterOperator::BottomPercent)) {
    refuse("AutoFilter method of Range class failed: unknown operator");
  }
  for (const std::string* text : {&filter.criteria1, filter.criteria2 ? &*filter.criteria2 : nullptr}) {
    if (text && utf16_length(*text) > kMaxCriteriaLength) {
      refuse("AutoFilter method of Range class failed: criteria hold at most 255 characters");
    }
  }
  if (!is_top_or_bottom(filter.op)) return;
  if (filter.criteria2) refuse("AutoFilter method of Range class failed: a top or bottom filter takes one criterion");
  if (!top_count(filter)) refuse("AutoFilter method of Range class failed: the count of items or percent is out of range");
}

std::vector<bool> rows_passing(const AutoFilter& filter, const Worksheet& sheet) {
  const int first = filter.first_data_row();
  std::vector<bool> passing(static_cast<std::size_t>(std::max(0, filter.range.last_row - first + 1)), true);
  for (const ColumnFilter& column : filter.columns) {
    const RowTest test = is_top_or_bottom(column.op) ? top_or_bottom_test(column, filter, sheet) : criteria_test(column);
    for (std::size_t i = 0; i < passing.size(); ++i) {
      if (passing[i]) passing[i] = test(sheet.value(first + static_cast<int>(i), column.column));
    }
  }
  return passing;
}

// --- The sheet's edits ------------------------------------------------------------

void Worksheet::check_filter_editable() const {
  if (protection_.contents) refuse("The AutoFilter of a protected sheet cannot be changed");
}

void Worksheet::set_autofilter(const CellRange& range) {
  check_range(range);
  check_filter_editable();
  if (range.row_count() < 2) refuse("AutoFilter method of Range class failed: a list needs a header row and data");
  set_filtered_rows({});
  autofilter_ = AutoFilter{range, {}};
  book_.mark_changed();
}

void Worksheet::remove_autofilter() {
  if (!autofilter_) return;
  check_filter_editable();
  set_filtered_rows({});
  autofilter_.reset();
  book_.mark_changed();
}

void Worksheet::filter_column(const ColumnFilter& filter) {
  check_filter_editable();
  if (!autofilter_ || filter.column < autofilter_->range.first_column || filter.column > autofilter_->range.last_column) {
    refuse("AutoFilter method of Range class failed: the field lies outside the list");
  }
  check_column_filter(filter);
  auto& columns = autofilter_->columns;
  std::erase_if(columns, [&](const ColumnFilter& c) { return c.column == filter.column; });
  columns.insert(std::upper_bound(columns.begin(), columns.end(), filter,
                                  [](const ColumnFilter& a, const ColumnFilter& b) { return a.column < b.column; }),
                 filter);
  reapply_autofilter();
}

void Worksheet::clear_column_filter(int column) {
  check_filter_editable();
  if (!autofilter_ || column < autofilter_->range.first_column || column > autofilter_->range.last_column) {
    refuse("AutoFilter method of Range class failed: the field lies outside the list");
  }
  std::erase_if(autofilter_->columns, [column](const ColumnFilter& c) { return c.column == column; });
  reapply_autofilter();
}

void Worksheet::show_all_filtered() {
  if (!autofilter_ || !autofilter_->filtering()) refuse("ShowAllData method of Worksheet class failed");
  check_filter_editable();
  autofilter_->columns.clear();
  set_filtered_rows({});
  book_.mark_changed();
}

void Worksheet::reapply_autofilter() {
  const std::vector<bool> passing = rows_passing(*autofilter_, *this);
  std::vector<int> failing;
  for (std::size_t i = 0; i < passing.size(); ++i) {
    if (!passing[i]) failing.push_back(autofilter_->first_data_row() + static_cast<int>(i));
  }
  set_filtered_rows(failing);
  book_.mark_changed();
}

// The list follows inserted and deleted rows and columns as a name would;
// deleting all of it removes the filter, and a deleted column takes its
// criteria with it, the rest of the list filtered again.
void Worksheet::move_autofilter(int at, int count, bool by_rows) {
  if (!autofilter_) return;
  CellRange& range = autofilter_->range;
  int& first = by_rows ? range.first_row : range.first_column;
  int& last = by_rows ? range.last_row : range.last_column;
  const auto span = shift_span(Span{first, last}, at, count, by_rows ? kMaxRows : kMaxColumns);
  if (!span) {
    set_filtered_rows({});
    autofilter_.reset();
    return;
  }
  first = span->first;
  last = span->last;
  if (by_rows) return;
  const std::size_t before = autofilter_->columns.size();
  std::vector<ColumnFilter> kept;
  for (ColumnFilter column : autofilter_->columns) {
    const auto to = shift_line(column.column, at, count);
    if (!to || *to >= kMaxColumns) continue;
    column.column = *to;
    kept.push_back(column);
  }
  autofilter_->columns = std::move(kept);
  if (autofilter_->columns.size() != before) reapply_autofilter();
}

// A file cannot tell the rows its filter hid from those hidden by hand:
// while the list is filtered, every hidden data row counts as filtered, as
// Excel counts them when it loads the file.
void Worksheet::restore_autofilter(AutoFilter filter) {
  check_range(filter.range);
  autofilter_ = std::move(filter);
  if (!autofilter_->filtering()) return;
  for (int row = autofilter_->first_data_row(); row <= autofilter_->range.last_row; ++row) {
    LineInfo info = rows_.at(row);
    if (!info.hidden) continue;
    info.hidden = false;
    info.filtered = true;
    rows_.set(row, info);
  }
}

// Hides the rows of `filtered` (in order) as filtered and shows every other
// filtered row; what reads the cells of a row that changed is recomputed,
// since SUBTOTAL skips filtered rows.
void Worksheet::set_filtered_rows(const std::vector<int>& filtered) {
  std::vector<int> changed;
  const auto mark = [&](int row, bool on) {
    LineInfo info = rows_.at(row);
    if (info.filtered == on) return;
    info.filtered = on;
    rows_.set(row, info);
    changed.push_back(row);
  };
  std::vector<int> now_filtered;
  rows_.for_each(0, kMaxRows - 1, [&](int row, const LineInfo& info) {
    if (info.filtered) now_filtered.push_back(row);
  });
  for (int row : now_filtered) {
    if (!std::binary_search(filtered.begin(), filtered.end(), row)) mark(row, false);
  }
  for (int row : filtered) mark(row, true);
  std::vector<formula::CellAddress> cells;
  for (int row : changed) {
    for_each_cell(CellRange::rows(row, row), [&](int r, int column, const Cell&) { cells.push_back({id_, r, column}); });
  }
  if (!cells.empty()) book_.cells_changed(cells);
}

}  // namespace engine::model
