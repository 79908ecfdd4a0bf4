// A rectangle of cells on one sheet, 0-based and inclusive, bounded by Excel
// 2003's grid of 65536 rows by 256 columns.
#pragma once

#include <algorithm>
#include <optional>

namespace engine::model {

inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;

struct CellRange {
  int first_row = 0;
  int first_column = 0;
  int last_row = 0;
  int last_column = 0;

  static CellRange cell(int row, int column) { return {row, column, row, column}; }
  static CellRange rows(int first, int last) { return {first, 0, last, kMaxColumns - 1}; }
  static CellRange columns(int first, int last) { return {0, first, kMaxRows - 1, last}; }

  int row_count() const { return last_row - first_row + 1; }
  int column_count() const { return last_column - first_column + 1; }
  bool contains(int row, int column) const {
    return row >= first_row && row <= last_row && column >= first_column && column <= last_column;
  }
  bool intersects(const CellRange& other) const {
    return first_row <= other.last_row && other.first_row <= last_row && first_column <= other.last_column &&
           other.first_column <= last_column;
  }
  bool whole_rows() const { return first_column == 0 && last_column == kMaxColumns - 1; }
  bool whole_columns() const { return first_row == 0 && last_row == kMaxRows - 1; }

  friend bool operator==(const CellRange&, const CellRange&) = default;
};

// Raises 1004 when the range is not ordered or leaves the grid.
void check_range(const CellRange& range);
void check_cell(int row, int column);

}  // namespace engine::model

namespace engine::model {

// Where line `index` goes when `count` lines are inserted (count > 0) or
// deleted (count < 0) at `at`; nothing when it is deleted.
std::optional<int> shift_line(int index, int at, int count);

// Where a span of lines goes: inserting inside it (after its first line)
// stretches it, deleting part of it shrinks it; nothing when all of it is
// deleted.
struct Span {
  int first;
  int last;
};
std::optional<Span> shift_span(Span span, int at, int count, int limit);

}  // namespace engine::model
