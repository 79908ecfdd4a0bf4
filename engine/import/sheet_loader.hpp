// The model rules every workbook reader follows once it has decoded a sheet's
// contents, whatever the file format: how a cell and its format go in, and in
// which order row outlines, collapsed summaries and hidden rows are applied.
// Readers decode; these functions decide what the model ends up holding, so
// that a workbook reads the same from .xls, .xlsx or .ods.
//
// Thread rule: a loader is used from one thread, on a workbook no one else
// touches while it loads (between begin_bulk_load and end_bulk_load).
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "engine/formula/formula.hpp"
#include "engine/formula/value.hpp"
#include "engine/import/load_report.hpp"
#include "engine/model/cell_format.hpp"
#include "engine/model/workbook.hpp"
#include "engine/model/worksheet.hpp"

namespace engine::import {

// Formats arrive as a file's own table of records (BIFF8 XF records,
// SpreadsheetML cellXfs, OpenDocument styles); each record is interned in
// the workbook's pool the first time a cell uses it.
class FormatInterner {
 public:
  explicit FormatInterner(model::Workbook& book) : book_(book) {}
  // The pool index for the file's record `key`, made by `make()` on first
  // use. A template: it runs once per cell of a large sheet.
  template <class Make>
  model::FormatIndex intern(std::size_t key, Make make) {
    const auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    const model::FormatIndex index = book_.formats().intern(make());
    cache_.emplace(key, index);
    return index;
  }

 private:
  model::Workbook& book_;
  std::map<std::size_t, model::FormatIndex> cache_;
};

// Puts a constant (or nothing, for a blank formatted cell) and its format in
// a cell. The format is copied onto the cell only when it differs from the
// default, so blank cells of the default format cost nothing. Throws
// FileError for a cell outside Excel 2003's grid.
void place_cell(model::Worksheet& sheet, int row, int column, model::FormatIndex format, formula::Value value);

// Enters an array formula a file gives for `range`, once the sheet's cells
// are in. Each cell of the range must be in the file already with its
// cached value, as every writer puts them: an array may not make cells the
// file never had, so that a damaged range costs the array alone. A refused
// array is noted in `report` and its cells keep their cached values.
void enter_array_formula(model::Worksheet& sheet, const model::CellRange& range,
                         std::shared_ptr<const formula::Formula> formula, LoadReport* report);

// A cell as a load report names it: "Trimestre 1!E7".
std::string cell_place(const model::Worksheet& sheet, int row, int column);

// What a file says about one row, kept until the sheet's cells are in.
struct RowLine {
  int level = 0;  // outline level as files count it: 0 outside any group
  bool hidden = false;
  bool collapsed = false;  // the summary row of a collapsed group
  std::optional<double> height;  // points
};

// The rows of one sheet, applied in the one order that reproduces the file:
// outline levels first, then collapsed summaries, then the hidden state
// exactly as the file has it (collapsing hides detail rows on its own, and a
// row the trainee unhid inside a collapsed group must stay visible).
class RowLines {
 public:
  // A row described again replaces what was said of it.
  void set(int row, const RowLine& line) { rows_.emplace_back(row, line); }
  void clear() { rows_.clear(); }
  void apply(model::Worksheet& sheet);

 private:
  // Files describe rows in order: a list sorted once costs less than a tree
  // of one node per row.
  std::vector<std::pair<int, RowLine>> rows_;
};

// A run of columns as files describe them: width in characters, outline level
// (0 outside any group) and hidden state, applied at once.
struct ColumnLine {
  int first = 0;
  int last = 0;
  std::optional<double> width;
  int level = 0;
  bool hidden = false;
};
void apply_columns(model::Worksheet& sheet, const ColumnLine& columns);

}  // namespace engine::import
