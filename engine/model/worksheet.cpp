#include "engine/model/worksheet.hpp"

#include <unordered_map>

#include "engine/formula/dates.hpp"
#include "engine/model/style.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/error.hpp"
#include "platform/com/text.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(const char* description) {
  platform::com::raise(platform::com::err::ApplicationDefined, "Worksheet", description);
}

// Protected sheets refuse edits of locked cells; huge ranges are judged
// without visiting every cell, as default cells are locked anyway.
constexpr long kLargestCheckedRange = 65536;

// Text past what a cell holds is dropped, not refused: Excel 2003 keeps the
// first 32,767 characters of a longer text a macro assigns.
formula::Value within_cell_limit(const formula::Value& value) {
  if (!value.is_text() || value.text().size() <= static_cast<std::size_t>(Worksheet::kMaxCellText) ||
      platform::com::len(value.text()) <= Worksheet::kMaxCellText)
    return value;
  return formula::Value(platform::com::left(value.text(), Worksheet::kMaxCellText));
}

}  // namespace

Worksheet::Worksheet(Workbook& book, SheetId id, std::string name) : book_(book), id_(id), name_(std::move(name)) {}

// --- Cells -------------------------------------------------------------------

const Cell* Worksheet::find_cell(int row, int column) const {
  const auto r = cells_.find(row);
  if (r == cells_.end()) return nullptr;
  const auto c = r->second.find(column);
  return c == r->second.end() ? nullptr : &c->second;
}

formula::Value Worksheet::value(int row, int column) const {
  check_cell(row, column);
  const Cell* cell = find_cell(row, column);
  return cell ? cell->value : formula::Value{};
}

bool Worksheet::has_formula(int row, int column) const {
  const Cell* cell = find_cell(row, column);
  return cell != nullptr && cell->formula != nullptr;
}

std::string Worksheet::formula_text(int row, int column) const {
  check_cell(row, column);
  const Cell* cell = find_cell(row, column);
  if (cell == nullptr) return {};
  if (cell->formula) return formula::print(*formula::formula_at(cell->formula, row, column));
  if (cell->value.is_error()) return std::string(formula::error_text(cell->value.error()));
  return formula::value_to_text(cell->value);
}

Cell& Worksheet::cell_for_write(int row, int column) {
  auto& cells = cells_[row];
  auto [it, inserted] = cells.try_emplace(column);
  if (inserted) {
    ++cell_count_;
    // A new cell takes the format it showed through its row or column.
    const auto r = rows_.at(row).format;
    const auto c = columns_.at(column).format;
    it->second.format = r ? *r : c ? *c : kDefaultFormat;
  }
  return it->second;
}

void Worksheet::drop_if_unused(int row, int column) {
  const auto r = cells_.find(row);
  if (r == cells_.end()) return;
  const auto c = r->second.find(column);
  if (c == r->second.end() || c->second.has_content()) return;
  const auto row_format = rows_.at(row).format;
  const auto column_format = columns_.at(column).format;
  const FormatIndex inherited = row_format ? *row_format : column_format ? *column_format : kDefaultFormat;
  if (c->second.format != inherited) return;
  r->second.erase(c);
  --cell_count_;
  if (r->second.empty()) cells_.erase(r);
}

void Worksheet::check_editable(const CellRange& range) const {
  if (!protection_.contents) return;
  const long size = static_cast<long>(range.row_count()) * range.column_count();
  bool locked = size > kLargestCheckedRange;
  for (int row = range.first_row; row <= range.last_row && !locked; ++row) {
    for (int column = range.first_column; column <= range.last_column && !locked; ++column) {
      locked = format(row, column).protection.locked;
    }
  }
  if (locked) {
    refuse("The cell or chart you are trying to change is protected and therefore read-only");
  }
}

void Worksheet::enter(int row, int column, std::string_view typed, const EntryLocale& locale) {
  check_cell(row, column);
  check_editable(CellRange::cell(row, column));
  check_whole_arrays(CellRange::cell(row, column));
  store(row, column,
        interpret_entry(typed, format(row, column).number_format, locale, formula::year_of_serial(book_.now())));
}

void Worksheet::set_value(int row, int column, formula::Value value) {
  check_cell(row, column);
  check_editable(CellRange::cell(row, column));
  check_whole_arrays(CellRange::cell(row, column));
  Entry entry;
  entry.kind = value.is_empty() ? Entry::Kind::Clear : Entry::Kind::Constant;
  entry.value = std::move(value);
  store(row, column, entry);
}

void Worksheet::set_formula(int row, int column, std::string_view text) {
  std::shared_ptr<const formula::Formula> parsed;
  try {
    parsed = formula::parse(text);
  } catch (const formula::ParseError& e) {
    platform::com::raise(platform::com::err::ApplicationDefined, "Range", std::string("Invalid formula: ") + e.what());
  }
  set_formula(row, column, std::move(parsed));
}

void Worksheet::set_formula(int row, int column, std::shared_ptr<const formula::Formula> formula) {
  check_cell(row, column);
  check_editable(CellRange::cell(row, column));
  check_whole_arrays(CellRange::cell(row, column));
  if (formula == nullptr) platform::com::raise(platform::com::err::InvalidCall, "Range", "No formula given");
  Entry entry;
  entry.kind = Entry::Kind::Formula;
  entry.formula = std::move(formula);
  store(row, column, entry);
}

// Most entries leave the format as it is; copying and interning it for
// each of them would cost a file's load more than storing the values.
FormatIndex Worksheet::format_for_entry(FormatIndex current, const Entry& entry) const {
  const CellFormat& format = book_.formats().at(current);
  const bool quote_changes = entry.kind != Entry::Kind::Clear && format.quote_prefix != entry.quote_prefix;
  const bool number_format_changes = entry.number_format && format.number_format == kGeneralFormat &&
                                     *entry.number_format != format.number_format;
  if (!quote_changes && !number_format_changes) return current;
  CellFormat wanted = format;
  if (quote_changes) wanted.quote_prefix = entry.quote_prefix;
  if (number_format_changes) wanted.number_format = *entry.number_format;
  return book_.formats().intern(wanted);
}

void Worksheet::store(int row, int column, const Entry& entry) {
  const formula::CellAddress address{id_, row, column};
  if (entry.kind == Entry::Kind::Clear && find_cell(row, column) == nullptr) return;
  // One search of the row map for the entry (a file's load stores every
  // cell through here): the cell is found or made once and read from there.
  Cell& cell = cell_for_write(row, column);
  const bool had_formula = cell.formula != nullptr;
  // A single-cell array is replaced like any formula; larger ones were refused.
  if (had_formula && !arrays_.empty()) forget_arrays_within(CellRange::cell(row, column));

  cell.format = format_for_entry(cell.format, entry);
  cell.formula = entry.kind == Entry::Kind::Formula ? entry.formula : nullptr;
  cell.value = entry.kind == Entry::Kind::Constant ? within_cell_limit(entry.value) : formula::Value{};
  book_.mark_changed();

  if (entry.kind == Entry::Kind::Formula) {
    book_.formula_set(address);
    return;
  }
  if (!cell.has_content()) drop_if_unused(row, column);
  if (had_formula) book_.formula_removed(address);
  book_.cells_changed({&address, 1});
}

void Worksheet::clear_contents(const CellRange& range) {
  check_range(range);
  check_editable(range);
  check_whole_arrays(range);
  forget_arrays_within(range);
  std::vector<std::pair<int, int>> filled;
  for_each_cell(range, [&](int row, int column, const Cell& cell) {
    if (cell.has_content()) filled.emplace_back(row, column);
  });
  std::vector<formula::CellAddress> changed;
  for (const auto& [row, column] : filled) {
    Cell& cell = cell_for_write(row, column);
    const bool had_formula = cell.formula != nullptr;
    cell.formula = nullptr;
    cell.value = formula::Value{};
    drop_if_unused(row, column);
    if (had_formula) book_.formula_removed({id_, row, column});
    changed.push_back({id_, row, column});
  }
  if (!changed.empty()) {
    book_.mark_changed();
    book_.cells_changed(changed);
  }
}

void Worksheet::for_each_cell(const CellRange& range, const std::function<void(int, int, const Cell&)>& each) const {
  for_each_row(range, [&each](int row, RowCells cells) {
    for (const auto& [column, cell] : cells) each(row, column, cell);
  });
}

std::optional<CellRange> Worksheet::used_range() const {
  UsedRange used;
  for (const auto& [row, cells] : cells_) used.add_row(row, RowCells(cells.begin(), cells.end()));
  return used.range();
}

// --- Formats -----------------------------------------------------------------

FormatIndex Worksheet::format_index(int row, int column) const {
  check_cell(row, column);
  if (const Cell* cell = find_cell(row, column)) return cell->format;
  if (const auto r = rows_.at(row).format) return *r;
  if (const auto c = columns_.at(column).format) return *c;
  return kDefaultFormat;
}

const CellFormat& Worksheet::format(int row, int column) const {
  return book_.formats().at(format_index(row, column));
}

void Worksheet::set_format_index(int row, int column, FormatIndex format) {
  check_cell(row, column);
  book_.formats().at(format);  // raises for an index the pool does not hold
  cell_for_write(row, column).format = format;
  book_.mark_changed();
}

void Worksheet::change_format(const CellRange& range, const std::function<void(CellFormat&)>& change) {
  check_range(range);
  std::unordered_map<FormatIndex, FormatIndex> changed;
  const auto convert = [&](FormatIndex from) {
    if (const auto known = changed.find(from); known != changed.end()) return known->second;
    CellFormat format = book_.formats().at(from);
    change(format);
    const FormatIndex to = book_.formats().intern(format);
    changed.emplace(from, to);
    return to;
  };
  const auto change_lines = [&](Lines& lines, int first, int last) {
    for (int index = first; index <= last; ++index) {
      LineInfo info = lines.at(index);
      info.format = convert(info.format.value_or(kDefaultFormat));
      lines.set(index, info);
    }
    std::vector<std::pair<int, int>> existing;
    for_each_cell(range, [&](int row, int column, const Cell&) { existing.emplace_back(row, column); });
    for (const auto& [row, column] : existing) {
      Cell& cell = cell_for_write(row, column);
      cell.format = convert(cell.format);
    }
  };
  if (range.whole_rows()) {
    change_lines(rows_, range.first_row, range.last_row);
  } else if (range.whole_columns()) {
    change_lines(columns_, range.first_column, range.last_column);
  } else {
    for (int row = range.first_row; row <= range.last_row; ++row) {
      for (int column = range.first_column; column <= range.last_column; ++column) {
        Cell& cell = cell_for_write(row, column);
        cell.format = convert(cell.format);
        drop_if_unused(row, column);
      }
    }
  }
  book_.mark_changed();
}

void Worksheet::apply_style(const CellRange& range, std::string_view style_name) {
  const Style& style = book_.styles().get(style_name);
  change_format(range, [&style](CellFormat& format) { format = engine::model::apply_style(style, format); });
}

// --- Rows, columns and outline ---------------------------------------------

void Worksheet::set_lines_hidden(Lines& lines, int first, int last, bool hidden) {
  for (int index = first; index <= last; ++index) {
    LineInfo info = lines.at(index);
    info.hidden = hidden;
    // Showing a row by hand shows it whatever hid it.
    if (!hidden) info.filtered = false;
    lines.set(index, info);
  }
  book_.mark_changed();
}

void Worksheet::set_rows_hidden(int first, int last, bool hidden) { set_lines_hidden(rows_, first, last, hidden); }

void Worksheet::set_columns_hidden(int first, int last, bool hidden) {
  set_lines_hidden(columns_, first, last, hidden);
}

void Worksheet::set_row_height(int first, int last, std::optional<double> points) {
  if (points && (*points < 0 || *points > 409)) refuse("Row height must be between 0 and 409 points");
  for (int row = first; row <= last; ++row) {
    LineInfo info = rows_.at(row);
    info.size = points;
    rows_.set(row, info);
  }
  book_.mark_changed();
}

void Worksheet::set_column_width(int first, int last, std::optional<double> characters) {
  if (characters && (*characters < 0 || *characters > 255)) refuse("Column width must be between 0 and 255");
  for (int column = first; column <= last; ++column) {
    LineInfo info = columns_.at(column);
    info.size = characters;
    columns_.set(column, info);
  }
  book_.mark_changed();
}

void Worksheet::group_rows(int first, int last) {
  group(rows_, first, last);
  book_.mark_changed();
}

void Worksheet::ungroup_rows(int first, int last) {
  ungroup(rows_, first, last);
  book_.mark_changed();
}

void Worksheet::group_columns(int first, int last) {
  group(columns_, first, last);
  book_.mark_changed();
}

void Worksheet::ungroup_columns(int first, int last) {
  ungroup(columns_, first, last);
  book_.mark_changed();
}

void Worksheet::clear_outline() {
  engine::model::clear_outline(rows_);
  engine::model::clear_outline(columns_);
  book_.mark_changed();
}

void Worksheet::clear_row_outline(int first, int last) {
  engine::model::clear_outline(rows_, first, last);
  book_.mark_changed();
}

void Worksheet::show_levels(int row_levels, int column_levels) {
  if (row_levels != 0) engine::model::show_levels(rows_, row_levels, summary_row_);
  if (column_levels != 0) engine::model::show_levels(columns_, column_levels, summary_column_);
}

bool Worksheet::row_show_detail(int row) const { return show_detail(rows_, row, summary_row_); }

void Worksheet::set_row_show_detail(int row, bool show) { set_show_detail(rows_, row, summary_row_, show); }

bool Worksheet::column_show_detail(int column) const { return show_detail(columns_, column, summary_column_); }

void Worksheet::set_column_show_detail(int column, bool show) {
  set_show_detail(columns_, column, summary_column_, show);
}

}  // namespace engine::model
