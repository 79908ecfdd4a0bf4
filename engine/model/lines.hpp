// Row and column records: what a ROW or COLINFO record holds for one row or
// column (size, hidden, outline level, collapsed, format). Sparse: a row or
// column with nothing of its own has no record and reads as the default.
#pragma once

#include <map>
#include <optional>

#include "engine/model/cell_format.hpp"

namespace engine::model {

inline constexpr int kMaxOutlineLevel = 8;

struct LineInfo {
  // Height in points (rows) or width in characters (columns); nothing for the
  // sheet's default.
  std::optional<double> size;
  // Hidden by hand (Hidden, an outline's collapse).
  bool hidden = false;
  // Hidden by the sheet's AutoFilter, its entry failing a criterion; kept
  // apart so that showing every entry again leaves the rows hidden by hand.
  bool filtered = false;
  // As the Rows(n).OutlineLevel property counts: 1 outside any group, up to 8.
  int outline_level = 1;
  // Set on the summary row or column of a group whose detail is collapsed.
  bool collapsed = false;
  // The format of the whole row or column, if it has one.
  std::optional<FormatIndex> format;

  bool is_default() const { return *this == LineInfo{}; }
  // What the sheet shows: hidden by hand or by the filter.
  bool is_hidden() const { return hidden || filtered; }
  friend bool operator==(const LineInfo&, const LineInfo&) = default;
};

// The records of one axis (the rows, or the columns) of a sheet.
class Lines {
 public:
  // `count`: 65536 for rows, 256 for columns.
  explicit Lines(int count) : count_(count) {}

  int count() const { return count_; }
  // Raises 1004 outside 0..count-1.
  const LineInfo& at(int index) const;
  // Stores `info`, dropping the record when it is the default.
  void set(int index, const LineInfo& info);
  int level(int index) const { return at(index).outline_level; }
  bool hidden(int index) const { return at(index).is_hidden(); }
  bool filtered(int index) const { return at(index).filtered; }

  // Visits the records of [first, last] in order: each(index, info).
  template <typename Each>
  void for_each(int first, int last, Each each) const {
    for (auto it = records_.lower_bound(first); it != records_.end() && it->first <= last; ++it) {
      each(it->first, it->second);
    }
  }

  // Moves the records for `count` lines inserted (count > 0) or deleted
  // (count < 0) at `at`. Inserted lines copy the record of the line before
  // them (Excel carries the size, format and outline level down), except its
  // collapsed flag.
  void shift(int at, int count);

 private:
  void check(int index) const;
  int count_;
  std::map<int, LineInfo> records_;
};

}  // namespace engine::model
