// Inserting and deleting rows and columns, and the current region: the edits
// that move cells, and the one query that reads the sheet's shape.
#include <algorithm>
#include <utility>
#include <vector>

#include "engine/model/workbook.hpp"
#include "engine/model/worksheet.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(const char* description) {
  platform::com::raise(platform::com::err::ApplicationDefined, "Worksheet", description);
}

}  // namespace

void Worksheet::insert_rows(int at, int count) { shift(at, count, true); }
void Worksheet::delete_rows(int at, int count) { shift(at, -count, true); }
void Worksheet::insert_columns(int at, int count) { shift(at, count, false); }
void Worksheet::delete_columns(int at, int count) { shift(at, -count, false); }

void Worksheet::shift(int at, int count, bool by_rows) {
  const int limit = by_rows ? kMaxRows : kMaxColumns;
  if (count == 0 || at < 0 || at >= limit || (count < 0 && at - count > limit) || count > limit) {
    refuse("Invalid row or column range");
  }
  if (protection_.contents) refuse("Rows and columns of a protected sheet cannot be inserted or deleted");
  if (count > 0) {
    const CellRange pushed_off = by_rows ? CellRange::rows(limit - count, limit - 1)
                                         : CellRange::columns(limit - count, limit - 1);
    bool filled = false;
    for_each_cell(pushed_off, [&filled](int, int, const Cell& cell) { filled = filled || cell.has_content(); });
    if (filled) refuse("To prevent possible loss of data, cells cannot be shifted off the worksheet");
  }
  const RangeMove arrays_move = line_move(at, count, by_rows);
  check_arrays_move(arrays_move);
  const std::string edited = name_;
  book_.rewrite_formulas([&](const std::shared_ptr<const formula::Formula>& f, const std::string& own_sheet) {
    return by_rows ? formula::shift_rows(f, own_sheet, edited, at, count)
                   : formula::shift_columns(f, own_sheet, edited, at, count);
  });
  move_cells(at, count, by_rows);
  move_arrays(arrays_move);
  move_lines_and_merges(at, count, by_rows);
  move_drawing(at, count, by_rows);
  move_autofilter(at, count, by_rows);
  for (auto& view : book_.views_) {
    for (auto& sheet : view.sheets) {
      if (sheet.sheet != id_) continue;
      auto& hidden = by_rows ? sheet.hidden_rows : sheet.hidden_columns;
      std::vector<int> moved;
      for (int index : hidden) {
        if (const auto to = shift_line(index, at, count); to && *to < limit) moved.push_back(*to);
      }
      hidden = std::move(moved);
    }
  }
  book_.mark_changed();
  book_.rebuild_dependencies();
}

void Worksheet::move_cells(int at, int count, bool by_rows) {
  const int limit = by_rows ? kMaxRows : kMaxColumns;
  const auto target = [&](int index) -> std::optional<int> {
    const auto to = shift_line(index, at, count);
    if (!to || *to >= limit) return std::nullopt;
    return to;
  };
  if (by_rows) {
    RowIndex::Rows moved;
    for (auto it = cells_.lower_bound(at); it != cells_.end(); it = cells_.erase(it)) {
      if (const auto to = target(it->first)) {
        moved.emplace(*to, std::move(it->second));
      } else {
        cell_count_ -= it->second.size();
      }
    }
    cells_.merge(moved);
    return;
  }
  for (auto& [row, cells] : cells_) {
    std::vector<ColumnCell> moved;
    const auto from = cells.lower_bound(at);
    for (auto it = from; it != cells.end(); ++it) {
      if (const auto to = target(it->first)) {
        moved.emplace_back(*to, std::move(it->second));
      } else {
        --cell_count_;
      }
    }
    cells.erase(from, cells.end());
    for (auto& [column, cell] : moved) cells.emplace(column, std::move(cell));
  }
  cells_.drop_empty_rows();
}

void Worksheet::move_lines_and_merges(int at, int count, bool by_rows) {
  (by_rows ? rows_ : columns_).shift(at, count);
  const int limit = by_rows ? kMaxRows : kMaxColumns;
  std::vector<CellRange> kept;
  for (CellRange merged : merges_) {
    int& first = by_rows ? merged.first_row : merged.first_column;
    int& last = by_rows ? merged.last_row : merged.last_column;
    const auto span = shift_span(Span{first, last}, at, count, limit);
    if (!span) continue;
    first = span->first;
    last = span->last;
    if (merged.row_count() > 1 || merged.column_count() > 1) kept.push_back(merged);
  }
  merges_ = std::move(kept);
}

void Worksheet::move_drawing(int at, int count, bool by_rows) {
  const int limit = by_rows ? kMaxRows : kMaxColumns;
  std::map<std::pair<int, int>, Note> notes;
  std::vector<int> dropped_shapes;
  for (auto& [cell, note] : notes_) {
    auto [row, column] = cell;
    int& index = by_rows ? row : column;
    const auto to = shift_line(index, at, count);
    if (!to || *to >= limit) {
      dropped_shapes.push_back(note.shape_id);
      continue;
    }
    index = *to;
    notes.emplace(std::pair{row, column}, std::move(note));
  }
  notes_ = std::move(notes);
  std::erase_if(shapes_, [&](const Shape& shape) {
    return std::find(dropped_shapes.begin(), dropped_shapes.end(), shape.id) != dropped_shapes.end();
  });
  // Other shapes move with their cell; one over deleted cells stays where
  // the deletion closed up, as Excel's "move but don't size" objects do.
  for (auto& shape : shapes_) {
    int& index = by_rows ? shape.row : shape.column;
    const auto to = shift_line(index, at, count);
    index = std::min(to.value_or(at), limit - 1);
  }
}

CellRange Worksheet::current_region(int row, int column) const {
  check_cell(row, column);
  const auto filled = [this](const CellRange& strip) {
    bool any = false;
    for_each_cell(strip, [&any](int, int, const Cell& cell) { any = any || cell.has_content(); });
    return any;
  };
  CellRange region = CellRange::cell(row, column);
  for (bool grew = true; grew;) {
    grew = false;
    const int left = std::max(region.first_column - 1, 0);
    const int right = std::min(region.last_column + 1, kMaxColumns - 1);
    const int top = std::max(region.first_row - 1, 0);
    const int bottom = std::min(region.last_row + 1, kMaxRows - 1);
    if (region.first_row > 0 && filled({region.first_row - 1, left, region.first_row - 1, right})) {
      --region.first_row;
      grew = true;
    }
    if (region.last_row < kMaxRows - 1 && filled({region.last_row + 1, left, region.last_row + 1, right})) {
      ++region.last_row;
      grew = true;
    }
    if (region.first_column > 0 && filled({top, region.first_column - 1, bottom, region.first_column - 1})) {
      --region.first_column;
      grew = true;
    }
    if (region.last_column < kMaxColumns - 1 && filled({top, region.last_column + 1, bottom, region.last_column + 1})) {
      ++region.last_column;
      grew = true;
    }
  }
  return region;
}

}  // namespace engine::model
