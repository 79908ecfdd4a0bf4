// The ranges of a sheet that each hold one array formula (entered with
// Ctrl+Shift+Enter): the formula lives in the top-left cell, every cell of
// the range shows its element of the result. Ranges never overlap. Any cell
// finds its range in logarithmic time, through an index kept per column,
// since a cell edit must ask whether it would change part of an array.
#pragma once

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "engine/model/cell_range.hpp"

namespace engine::model {

class ArrayRanges {
 public:
  bool empty() const { return by_anchor_.empty(); }

  // `range` must not overlap a range already held.
  void add(const CellRange& range);
  void remove(const CellRange& range);

  // The range holding the cell; nothing when the cell is in no array.
  std::optional<CellRange> find(int row, int column) const;
  // The ranges sharing at least one cell with `range`, top-left first.
  std::vector<CellRange> overlapping(const CellRange& range) const;
  // Every range, ordered by the top-left cell, row by row.
  std::vector<CellRange> all() const;

 private:
  std::map<std::pair<int, int>, CellRange> by_anchor_;
  // column -> first row -> range: the ranges crossing a column do not
  // overlap along it, so the one holding a row is the last starting at or
  // above it.
  std::map<int, std::map<int, CellRange>> by_column_;
};

}  // namespace engine::model
