// The cells of one worksheet row, kept in one array sorted by column.
//
// A row holds at most 256 cells and is nearly always filled left to right,
// so a sorted array beats a tree: no allocation per cell, a binary search
// over a few cache lines, and appending at the end costs nothing more than a
// push_back. Inserting in the middle moves at most 255 cells.
//
// Lifetime: pointers and references to cells stay valid until a cell is
// added to or removed from the same row; read them again after that.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/model/cell.hpp"
#include "engine/model/cell_range.hpp"

namespace engine::model {

// A cell and its column, read as a pair is (`first` the column, `second`
// the cell, `auto& [column, cell]`). The column sits in the cell's tail
// padding, so the pair costs no more than the cell: 40 bytes, not 48.
struct ColumnCell {
  ColumnCell(int column, Cell cell) : second(std::move(cell)), first(column) {}

  [[no_unique_address]] Cell second;
  int first;

  template <std::size_t I>
  auto& get() & {
    if constexpr (I == 0) return first;
    else return second;
  }
  template <std::size_t I>
  const auto& get() const& {
    if constexpr (I == 0) return first;
    else return second;
  }
};
static_assert(sizeof(ColumnCell) == sizeof(Cell));

class CellRow {
 public:
  using value_type = ColumnCell;
  using iterator = std::vector<value_type>::iterator;
  using const_iterator = std::vector<value_type>::const_iterator;

  iterator begin() { return cells_.begin(); }
  iterator end() { return cells_.end(); }
  const_iterator begin() const { return cells_.begin(); }
  const_iterator end() const { return cells_.end(); }
  bool empty() const { return cells_.empty(); }
  std::size_t size() const { return cells_.size(); }
  void reserve(std::size_t count) { cells_.reserve(count); }

  // The first cell at or right of `column`.
  iterator lower_bound(int column) { return cells_.begin() + position(column); }
  const_iterator lower_bound(int column) const { return cells_.begin() + position(column); }

  iterator find(int column) {
    const auto it = lower_bound(column);
    return it != end() && it->first == column ? it : end();
  }
  const_iterator find(int column) const {
    const auto it = lower_bound(column);
    return it != end() && it->first == column ? it : end();
  }

  // The cell at `column`, created empty when absent; `second` says whether
  // it was created.
  std::pair<iterator, bool> try_emplace(int column) { return emplace(column, Cell{}); }

  // Adds `cell` at `column` unless a cell is there already (which is kept).
  std::pair<iterator, bool> emplace(int column, Cell cell) {
    // Rows fill left to right: check the end before searching.
    if (cells_.empty() || cells_.back().first < column) {
      cells_.emplace_back(column, std::move(cell));
      return {cells_.end() - 1, true};
    }
    const auto it = lower_bound(column);
    if (it->first == column) return {it, false};
    return {cells_.emplace(it, column, std::move(cell)), true};
  }

  iterator erase(const_iterator at) { return cells_.erase(at); }
  iterator erase(const_iterator first, const_iterator last) { return cells_.erase(first, last); }

 private:
  std::ptrdiff_t position(int column) const {
    return std::lower_bound(cells_.begin(), cells_.end(), column,
                            [](const value_type& cell, int c) { return cell.first < c; }) -
           cells_.begin();
  }

  std::vector<value_type> cells_;
};

// Cells of a row, sorted by column, seen without their row.
using RowCells = std::span<const CellRow::value_type>;

// The cells of `cells` from column `first` to column `last`.
inline RowCells columns_within(RowCells cells, int first, int last) {
  const auto column_below = [](const CellRow::value_type& cell, int column) { return cell.first < column; };
  const auto begin = first <= 0 ? cells.begin() : std::lower_bound(cells.begin(), cells.end(), first, column_below);
  const auto end = last >= kMaxColumns - 1 ? cells.end() : std::lower_bound(begin, cells.end(), last + 1, column_below);
  return {begin, end};
}

// The smallest range holding every cell with content, grown a row at a
// time. Only a row's outermost cells with content can widen it: a row is
// searched from both ends, which in a filled row reads two cells.
class UsedRange {
 public:
  void add_row(int row, RowCells cells) {
    const auto has_content = [](const CellRow::value_type& cell) { return cell.second.has_content(); };
    const auto first = std::find_if(cells.begin(), cells.end(), has_content);
    if (first == cells.end()) return;
    const int last = std::find_if(std::make_reverse_iterator(cells.end()), std::make_reverse_iterator(first),
                                  has_content)->first;
    if (!range_) range_ = CellRange{row, first->first, row, last};
    range_->first_row = std::min(range_->first_row, row);
    range_->last_row = std::max(range_->last_row, row);
    range_->first_column = std::min(range_->first_column, first->first);
    range_->last_column = std::max(range_->last_column, last);
  }
  const std::optional<CellRange>& range() const { return range_; }

 private:
  std::optional<CellRange> range_;
};

}  // namespace engine::model

template <>
struct std::tuple_size<engine::model::ColumnCell> : std::integral_constant<std::size_t, 2> {};
template <>
struct std::tuple_element<0, engine::model::ColumnCell> {
  using type = int;
};
template <>
struct std::tuple_element<1, engine::model::ColumnCell> {
  using type = engine::model::Cell;
};
