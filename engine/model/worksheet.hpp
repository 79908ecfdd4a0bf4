// A worksheet: sparse cells on Excel 2003's grid, row and column records with
// their outline, merged ranges, notes and shapes, page setup, protection and
// selection. Every edit keeps formulas computed through the owning workbook.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/formula/context.hpp"
#include "engine/model/array_ranges.hpp"
#include "engine/model/autofilter.hpp"
#include "engine/model/cell.hpp"
#include "engine/model/cell_range.hpp"
#include "engine/model/cell_row.hpp"
#include "engine/model/data_entry.hpp"
#include "engine/model/drawing.hpp"
#include "engine/model/lines.hpp"
#include "engine/model/outline.hpp"
#include "engine/model/page_setup.hpp"
#include "engine/model/protection.hpp"
#include "engine/model/row_index.hpp"

namespace engine::model {

class Workbook;
using SheetId = formula::SheetId;

class Worksheet {
 public:
  Worksheet(Workbook& book, SheetId id, std::string name);
  Worksheet(const Worksheet&) = delete;
  Worksheet& operator=(const Worksheet&) = delete;

  SheetId id() const { return id_; }
  const std::string& name() const { return name_; }
  Workbook& workbook() const { return book_; }
  int visibility() const { return visibility_; }

  // --- Cells -------------------------------------------------------------
  // Null when the cell has neither content nor a format of its own.
  const Cell* find_cell(int row, int column) const;
  formula::Value value(int row, int column) const;
  // What the Formula property shows: the formula text, or the constant as text.
  std::string formula_text(int row, int column) const;
  bool has_formula(int row, int column) const;

  // A cell holds at most 32,767 characters (UTF-16 code units) of text, as
  // in Excel 2003: longer text given to enter() or set_value() keeps its
  // first kMaxCellText, as Excel keeps them when a macro assigns it.
  static constexpr int kMaxCellText = 32767;

  // Stores what typing `typed` stores (see data_entry.hpp).
  void enter(int row, int column, std::string_view typed, const EntryLocale& locale = {});
  // Stores a constant as is (numbers stay numbers, text stays text).
  void set_value(int row, int column, formula::Value value);
  // Stores a formula given as text ("=SUM(A1:A3)"); raises 1004 if malformed.
  void set_formula(int row, int column, std::string_view text);
  // Stores a formula already parsed (one decoded from a file).
  void set_formula(int row, int column, std::shared_ptr<const formula::Formula> formula);
  void clear_contents(const CellRange& range);

  // --- Array formulas --------------------------------------------------------
  // Enters one array formula over `range`, as Ctrl+Shift+Enter does: the
  // top-left cell holds it, every cell holds the formula and shows its
  // element of the result, recomputed as one. What the cells held is
  // replaced, arrays lying wholly inside included. Raises 1004 when the
  // range holds part of another array, a merged cell, or more cells than an
  // array reads (four whole columns), and on locked cells of a protected
  // sheet; a malformed text raises 1004 as set_formula does.
  void set_array_formula(const CellRange& range, std::shared_ptr<const formula::Formula> formula);
  void set_array_formula(const CellRange& range, std::string_view text);
  // The array range holding the cell; nothing outside arrays.
  std::optional<CellRange> array_at(int row, int column) const { return arrays_.find(row, column); }
  const ArrayRanges& arrays() const { return arrays_; }
  // Before `range` is written cell by cell: clears the arrays lying wholly
  // inside it, so that each cell can take a new content. Raises 1004 ("You
  // cannot change part of an array.") when it holds part of one. Single
  // cell edits (enter, set_value, set_formula) and clear_contents refuse
  // part of an array themselves.
  void release_arrays(const CellRange& range);

  // Calls each(row, column, cell) for the cells of `range` that exist, in
  // row-major order.
  void for_each_cell(const CellRange& range, const std::function<void(int, int, const Cell&)>& each) const;
  // The same cells a row at a time, for walks over every cell of a large
  // sheet (a file's writer) without a call per cell: each(row, cells) gets
  // the row's cells within the range's columns, sorted by column, for the
  // rows of `range` holding any, in order.
  template <typename Each>
  void for_each_row(const CellRange& range, Each each) const {
    for (auto r = cells_.lower_bound(range.first_row); r != cells_.end() && r->first <= range.last_row; ++r) {
      const RowCells cells = columns_within(RowCells(r->second.begin(), r->second.end()), range.first_column,
                                            range.last_column);
      if (!cells.empty()) each(r->first, cells);
    }
  }
  std::size_t cell_count() const { return cell_count_; }
  // The smallest range holding every cell with content; nothing when empty.
  std::optional<CellRange> used_range() const;

  // --- Formats -------------------------------------------------------------
  // The cell's own format, else its row's, else its column's.
  FormatIndex format_index(int row, int column) const;
  const CellFormat& format(int row, int column) const;
  // Replaces the format of every cell of `range` by change(old format); a
  // range of whole rows or columns sets their records instead of creating
  // 65536 cells.
  void change_format(const CellRange& range, const std::function<void(CellFormat&)>& change);
  // Gives one cell a format already in the workbook's pool: a file's reader
  // interns each of the file's formats once, then places its cells.
  void set_format_index(int row, int column, FormatIndex format);
  void apply_style(const CellRange& range, std::string_view style_name);

  // --- Rows, columns and outline -------------------------------------------
  const Lines& rows() const { return rows_; }
  const Lines& columns() const { return columns_; }
  void set_rows_hidden(int first, int last, bool hidden);
  void set_columns_hidden(int first, int last, bool hidden);
  void set_row_height(int first, int last, std::optional<double> points);
  void set_column_width(int first, int last, std::optional<double> characters);
  void group_rows(int first, int last);
  void ungroup_rows(int first, int last);
  void group_columns(int first, int last);
  void ungroup_columns(int first, int last);
  void clear_outline();
  void clear_row_outline(int first, int last);
  void show_levels(int row_levels, int column_levels);  // 0 leaves that axis alone
  bool row_show_detail(int row) const;
  void set_row_show_detail(int row, bool show);
  bool column_show_detail(int column) const;
  void set_column_show_detail(int column, bool show);
  SummaryPosition summary_row() const { return summary_row_; }
  SummaryPosition summary_column() const { return summary_column_; }
  void set_summary_row(SummaryPosition position) { summary_row_ = position; }
  void set_summary_column(SummaryPosition position) { summary_column_ = position; }
  double standard_height() const { return standard_height_; }
  double standard_width() const { return standard_width_; }

  // --- Structure ------------------------------------------------------------
  // Insert or delete whole rows or columns; every formula of the workbook,
  // names, merged ranges, notes, shapes and row or column records follow.
  // Inserting raises 1004 when it would push cells off the sheet.
  void insert_rows(int at, int count);
  void delete_rows(int at, int count);
  void insert_columns(int at, int count);
  void delete_columns(int at, int count);
  // Insert or delete the cells of `range` alone: the cells below it move
  // down or up (by_rows), or those to its right move right or left, with
  // their formats, notes and shapes, and references to them follow. A range
  // spanning whole rows (whole columns) is a row (column) edit. Raises 1004
  // when cells would be pushed off the sheet, when a merged range would be
  // split, or on a protected sheet.
  void insert_cells(const CellRange& range, bool by_rows);
  void delete_cells(const CellRange& range, bool by_rows);

  // The region around a cell bounded by empty rows and columns (CurrentRegion).
  CellRange current_region(int row, int column) const;

  // --- Merged ranges -------------------------------------------------------
  // Raises 1004 when `range` overlaps another merged range.
  void merge(const CellRange& range);
  void unmerge(const CellRange& range);
  const std::vector<CellRange>& merged_ranges() const { return merges_; }
  std::optional<CellRange> merged_range_at(int row, int column) const;

  // --- Notes and shapes ----------------------------------------------------
  const Note* note(int row, int column) const;
  // Adds or replaces the note of a cell (its comment shape is created once).
  void set_note(int row, int column, std::string text, std::string author = {});
  void delete_note(int row, int column);
  // Shows or hides a note's comment; raises 1004 when the cell has no note.
  void set_note_visible(int row, int column, bool visible);
  const std::map<std::pair<int, int>, Note>& notes() const { return notes_; }

  const std::vector<Shape>& shapes() const { return shapes_; }
  // Case-insensitive; null when absent.
  const Shape* find_shape(std::string_view name) const;
  // A name left empty becomes Excel's default ("Check Box 1"); raises 1004
  // for a name already used on the sheet.
  const Shape& add_check_box(int row, int column, std::string caption, std::string name = {});
  const Shape& add_text_box(int row, int column, std::string text, std::string name = {});
  // Raises 1004 for a value other than xlOn, xlOff, xlMixed, and for a locked
  // box on a sheet whose drawing objects are protected.
  void set_check_box_value(std::string_view name, int value);
  // A check box's state: what its linked cell holds when it has one (TRUE
  // or a number other than 0: xlOn; FALSE, 0 or nothing: xlOff; anything
  // else: xlMixed), else its own. A box whose linked cell's sheet was
  // deleted keeps its own state.
  int check_box_state(const Shape& shape) const;
  // Links a check box to a cell, which takes the box's state at once, or
  // unlinks it (nothing). Raises as set_check_box_value does, and as
  // writing the cell does (a locked cell of a protected sheet).
  void link_check_box(std::string_view name, std::optional<CellLink> link);
  void set_check_box_shading(std::string_view name, bool shading_3d);
  void set_shape_locked(std::string_view name, bool locked);
  // Makes a text box the autoshape `type` (msoShapeRectangle...); raises
  // 1004 for another kind of shape or a type below 1.
  void set_auto_shape_type(std::string_view name, int type);
  void delete_shape(std::string_view name);
  // Raises 1004 for an empty name, for a name another shape of the sheet
  // has (in any letter case), and for a locked shape on a sheet whose
  // drawing objects are protected; the shape's own name in another case is
  // a rename.
  void rename_shape(std::string_view name, std::string new_name);
  // A check box's caption or a text box's text; a comment shape's text is
  // its note's. Raises 1004 for a locked shape on a sheet whose drawing
  // objects are protected.
  void set_shape_text(std::string_view name, std::string text);
  // Places a text box or check box within its cell and gives it its size.
  // Raises 1004 for a negative offset or size, for a comment shape, and as
  // set_shape_text does for a protected one.
  void set_shape_extent(std::string_view name, const ShapeExtent& extent);
  // Moves a text box or check box to the cell (row, column) with `extent`
  // from its corner, as Left, Top, Width and Height do; refused as
  // set_shape_extent is, and with 1004 for a cell off the sheet.
  void place_shape(std::string_view name, int row, int column, const ShapeExtent& extent);
  // The id the next shape gets, which Excel's default names carry.
  int next_shape_id() const { return next_shape_id_; }

  // --- AutoFilter ------------------------------------------------------------
  // One per sheet; nothing when the sheet has none.
  const std::optional<AutoFilter>& autofilter() const { return autofilter_; }
  // Puts an AutoFilter without criteria on `range`, its header row first,
  // in place of the sheet's one. Raises 1004 for a range of one row.
  void set_autofilter(const CellRange& range);
  // Removes the AutoFilter and shows the rows it hid.
  void remove_autofilter();
  // Gives one column of the list its criteria (replacing those it had) or
  // takes them away, then hides the rows that fail and shows the others.
  // Raises 1004 without a filter, for a column outside the list and for
  // criteria Excel refuses (check_column_filter).
  void filter_column(const ColumnFilter& filter);
  void clear_column_filter(int column);
  // Clears every criterion and shows the rows the filter hid; those hidden
  // by hand stay hidden. Raises 1004 when no criterion is set.
  void show_all_filtered();
  // The AutoFilter as a file stored it; the rows the file hides within the
  // list of a filtered sheet are the filtered ones.
  void restore_autofilter(AutoFilter filter);
  // Every change to the AutoFilter raises 1004 on a protected sheet.

  // --- Print, protection, selection ----------------------------------------
  const PageSetup& page_setup() const { return page_setup_; }
  void set_page_setup(const PageSetup& setup);
  const SheetProtection& protection() const { return protection_; }
  void protect(std::string_view password = {}, bool contents = true, bool drawing_objects = true,
               bool scenarios = true);
  void unprotect(std::string_view password = {});
  // Protection exactly as a file stored it, its password hash included.
  void restore_protection(const SheetProtection& protection);
  const CellRange& selection() const { return selection_; }
  std::pair<int, int> active_cell() const { return active_cell_; }
  // The active cell must lie in the selection.
  void select(const CellRange& range, int active_row, int active_column);

 private:
  friend class Workbook;

  using Row = CellRow;

  void rename(std::string name) { name_ = std::move(name); }
  Cell& cell_for_write(int row, int column);
  void drop_if_unused(int row, int column);
  void check_editable(const CellRange& range) const;
  void check_whole_arrays(const CellRange& range) const;
  void forget_arrays_within(const CellRange& range);
  // Where a structure edit takes a range: nothing when all its cells go.
  using RangeMove = std::function<std::optional<CellRange>(const CellRange&)>;
  // Raises 1004 when the edit would cut or stretch an array; called before
  // anything moves, then move_arrays follows the edit.
  void check_arrays_move(const RangeMove& move) const;
  void move_arrays(const RangeMove& move);
  RangeMove line_move(int at, int count, bool by_rows) const;
  void store(int row, int column, const Entry& entry);
  FormatIndex format_for_entry(FormatIndex current, const Entry& entry) const;
  void set_lines_hidden(Lines& lines, int first, int last, bool hidden);
  Shape& shape_for_write(std::string_view name);
  void check_shape_editable(const Shape& shape) const;
  Shape& add_shape(ShapeKind kind, int row, int column, std::string text, std::string name, const char* prefix);
  void move_cells(int at, int count, bool by_rows);
  void move_drawing(int at, int count, bool by_rows);
  void move_lines_and_merges(int at, int count, bool by_rows);
  void shift(int at, int count, bool by_rows);
  void shift_cells(const CellRange& range, bool by_rows, bool insert);
  void check_band_shift(Span band, int at, int count, bool by_rows) const;
  void write_linked_cell(const Shape& shape, int state);
  void check_filter_editable() const;
  void reapply_autofilter();
  void set_filtered_rows(const std::vector<int>& filtered);
  void move_autofilter(int at, int count, bool by_rows);

  Workbook& book_;
  SheetId id_;
  std::string name_;
  int visibility_ = xl::SheetVisible;
  RowIndex cells_;
  std::size_t cell_count_ = 0;
  Lines rows_{kMaxRows};
  Lines columns_{kMaxColumns};
  SummaryPosition summary_row_ = SummaryPosition::Below;
  SummaryPosition summary_column_ = SummaryPosition::Below;
  double standard_height_ = 12.75;
  double standard_width_ = 8.43;
  std::vector<CellRange> merges_;
  ArrayRanges arrays_;
  std::map<std::pair<int, int>, Note> notes_;
  std::vector<Shape> shapes_;
  int next_shape_id_ = 1;
  std::optional<AutoFilter> autofilter_;
  PageSetup page_setup_;
  SheetProtection protection_;
  CellRange selection_ = CellRange::cell(0, 0);
  std::pair<int, int> active_cell_{0, 0};
};

}  // namespace engine::model
