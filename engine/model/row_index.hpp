// A worksheet's rows of cells, by row number, remembering the row it
// found last.
//
// Cells are nearly always reached in row order, or many times in one row:
// a file is read row after row, a formula reads its neighbours, a
// recalculation walks down the sheet. So a look-up first tries the row
// found last and the one after it, and searches the tree only when
// neither is the row wanted. A loaded sheet of 100,000 cells spends a
// quarter of its load in tree searches without this.
//
// The tree is a B-tree: rows sit side by side in nodes of several, not one
// allocation each, which halves what a row costs beside its cells and keeps
// a walk down the sheet in few cache lines. Adding or removing a row may
// move other rows' CellRow objects (never their cells, which live in each
// row's own array): hold a CellRow& only while no row is added or removed.
//
// The remembered row is mutable state behind const look-ups: a sheet is
// read by one thread at a time. Every change that can remove a row forgets
// it, so it never outlives its row.
#pragma once

#include <iterator>
#include <utility>

#include <absl/container/btree_map.h>

#include "engine/model/cell_row.hpp"

namespace engine::model {

class RowIndex {
 public:
  using Rows = absl::btree_map<int, CellRow>;
  using iterator = Rows::iterator;
  using const_iterator = Rows::const_iterator;

  RowIndex() = default;
  RowIndex(const RowIndex& other) : rows_(other.rows_) {}
  RowIndex(RowIndex&& other) noexcept : rows_(std::move(other.rows_)) { other.forget(); }
  RowIndex& operator=(const RowIndex& other) {
    rows_ = other.rows_;
    forget();
    return *this;
  }
  RowIndex& operator=(RowIndex&& other) noexcept {
    rows_ = std::move(other.rows_);
    forget();
    other.forget();
    return *this;
  }
  RowIndex& operator=(Rows&& rows) {
    rows_ = std::move(rows);
    forget();
    return *this;
  }

  iterator begin() { return rows_.begin(); }
  iterator end() { return rows_.end(); }
  const_iterator begin() const { return rows_.begin(); }
  const_iterator end() const { return rows_.end(); }
  bool empty() const { return rows_.empty(); }

  iterator lower_bound(int row) { return rows_.lower_bound(row); }
  const_iterator lower_bound(int row) const { return rows_.lower_bound(row); }

  iterator find(int row) {
    if (has_last_ && last_->first == row) return last_;
    // A row below the last one is absent: the common case while a sheet fills.
    if (rows_.empty() || rows_.rbegin()->first < row) return rows_.end();
    const auto next = has_last_ ? std::next(last_) : rows_.end();
    last_ = next != rows_.end() && next->first == row ? next : rows_.find(row);
    has_last_ = last_ != rows_.end();
    return last_;
  }
  // The search itself changes nothing but the remembered row.
  const_iterator find(int row) const { return const_cast<RowIndex*>(this)->find(row); }

  // The row, created empty when absent.
  CellRow& operator[](int row) {
    const auto found = find(row);
    if (found != rows_.end()) return found->second;
    // Rows are mostly added below the last one, and hold about as many
    // cells as it: hint the end, and make room for that many at once.
    const bool below = !rows_.empty() && std::prev(rows_.end())->first < row;
    CellRow cells;
    if (below) cells.reserve(std::prev(rows_.end())->second.size());
    last_ = rows_.emplace_hint(below ? rows_.end() : rows_.lower_bound(row), row, std::move(cells));
    has_last_ = true;
    return last_->second;
  }

  iterator erase(iterator at) {
    forget();
    return rows_.erase(at);
  }

  // Takes the rows of `other` whose numbers are not here yet.
  void merge(Rows& other) {
    forget();
    rows_.merge(other);
  }

  // Removes the rows left without cells.
  void drop_empty_rows() {
    forget();
    absl::erase_if(rows_, [](const auto& entry) { return entry.second.empty(); });
  }

 private:
  void forget() const { has_last_ = false; }

  Rows rows_;
  mutable iterator last_{};
  mutable bool has_last_ = false;
};

}  // namespace engine::model
