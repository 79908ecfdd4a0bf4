// References as formulas write them: cells, areas, whole rows and whole
// columns, each coordinate with its own absolute ($) flag, optionally
// qualified by a sheet or a span of sheets. Coordinates are 0-based and
// bounded by Excel 2003's grid.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine::formula {

inline constexpr int max_rows = 65536;
inline constexpr int max_columns = 256;

struct CellRef {
  int row = 0;     // 0..65535
  int column = 0;  // 0..255
  bool row_absolute = false;
  bool column_absolute = false;

  friend bool operator==(const CellRef&, const CellRef&) = default;
};

// How an area was written: "A1:B2", "4:5" (whole rows) or "A:C" (whole
// columns). Whole rows span every column and whole columns every row; the
// shape decides how the area prints and how it moves.
enum class AreaShape { Cells, Rows, Columns };

struct Reference {
  std::string sheet;       // "" when unqualified (the formula's own sheet)
  std::string last_sheet;  // "" unless a 3-D span "Sheet1:Sheet3!A1"
  CellRef first;
  CellRef last;            // equal to first for a single cell
  AreaShape shape = AreaShape::Cells;
  bool is_area = false;    // written with ":" (so "A1:A1" stays an area)

  bool is_cell() const { return !is_area; }
  int rows() const { return last.row - first.row + 1; }
  int columns() const { return last.column - first.column + 1; }

  friend bool operator==(const Reference&, const Reference&) = default;
};

// A distance between two cells, in rows and columns.
struct Offset {
  int rows = 0;
  int columns = 0;

  bool is_zero() const { return rows == 0 && columns == 0; }
};

// Whether the cell lies on Excel 2003's grid.
inline bool on_grid(const CellRef& cell) {
  return cell.row >= 0 && cell.row < max_rows && cell.column >= 0 && cell.column < max_columns;
}

// A corner of `reference` as a cell `offset` away from the one it was
// written in reads it: relative coordinates move, absolute ones stay, and
// whole rows keep their columns, whole columns their rows. The result may
// lie off the grid.
inline CellRef moved_corner(const Reference& reference, const CellRef& corner, Offset offset) {
  CellRef moved = corner;
  if (reference.shape != AreaShape::Columns && !corner.row_absolute) moved.row += offset.rows;
  if (reference.shape != AreaShape::Rows && !corner.column_absolute) moved.column += offset.columns;
  return moved;
}

// "A" for 0, "IV" for 255.
std::string column_name(int column);

// A cell, area, whole-row or whole-column reference with its sheet, as a
// formula writes it: "$C$4", "'Trimestre 1'!$C$4:$C$8", "4:5", "A:C".
// Sheet names that need it are quoted, with "'" doubled.
std::string to_a1(const Reference& reference);

// The sheet prefix to_a1 writes ("'Trimestre 1'!", "Sheet1:Sheet3!", or "").
std::string sheet_prefix(std::string_view sheet, std::string_view last_sheet);

// The reverse of to_a1, accepting any letter case and a leading "=";
// nullopt for anything that is not exactly one reference. The corners of
// an area are put in order (B2:A1 reads as A1:B2).
std::optional<Reference> parse_reference(std::string_view text);

// Whether a sheet name must be quoted in formula text.
bool sheet_name_needs_quotes(std::string_view name);

}  // namespace engine::formula
