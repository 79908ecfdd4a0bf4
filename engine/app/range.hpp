// Range: a rectangle of cells of one sheet as automation sees it. Reads of a
// format property over several cells give Null when the cells differ;
// writes go through the model's format pool, never cell by cell copies.
//
// A Range also stands for the collections Excel hands out for it (Cells,
// Rows, Columns): the same cells, counted and indexed by cell, by row or by
// column.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/app/worksheet_object.hpp"
#include "engine/model/cell_range.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

// How Count and Item see a range.
enum class RangeKind { Cells, Rows, Columns };

class Range final : public AppObject {
 public:
  Range(std::shared_ptr<Application> app, SheetRef sheet, model::CellRange area, RangeKind kind);

  const SheetRef& sheet_ref() const { return sheet_; }
  const model::CellRange& area() const { return area_; }
  RangeKind kind() const { return kind_; }
  model::Worksheet& sheet() const { return sheet_.get(application()); }

  // --- Contents -------------------------------------------------------------
  // One cell's value, or a 1-based 2-D array for several.
  platform::com::Variant value() const;
  // A scalar is typed into every cell; an array fills the range.
  void set_value(const platform::com::Variant& value);
  platform::com::Variant formula() const;
  void set_formula(const platform::com::Variant& formula);
  // The formula in R1C1 notation, relative to each cell.
  platform::com::Variant formula_r1c1() const;
  void set_formula_r1c1(const platform::com::Variant& formula);
  platform::com::Variant text() const;
  std::string note_text(const std::optional<std::string>& text, std::optional<std::int32_t> start,
                        std::optional<std::int32_t> length);
  void clear();
  void clear_contents();
  void clear_formats();
  void clear_comments();

  // --- Navigation -----------------------------------------------------------
  // Item(n) counts in the range's kind (cells row by row, rows, columns);
  // Item(row, column) is relative to the top-left cell. Indexes may reach
  // beyond the range, as in Excel, but not off the sheet.
  std::shared_ptr<Range> item(const platform::com::Variant& row,
                              const std::optional<platform::com::Variant>& column) const;
  std::shared_ptr<Range> with_kind(RangeKind kind) const;
  std::int32_t count() const;
  std::int32_t row() const { return area_.first_row + 1; }
  std::int32_t column() const { return area_.first_column + 1; }
  std::string address(std::optional<bool> row_absolute, std::optional<bool> column_absolute,
                      std::optional<std::int32_t> reference_style, std::optional<bool> external) const;
  std::shared_ptr<Range> offset(std::optional<std::int32_t> rows, std::optional<std::int32_t> columns) const;
  std::shared_ptr<Range> resize(std::optional<std::int32_t> rows, std::optional<std::int32_t> columns) const;
  std::shared_ptr<Range> entire_row() const;
  std::shared_ptr<Range> entire_column() const;
  std::shared_ptr<Range> current_region() const;
  void select();
  void activate();

  // --- Rows, columns and outline ----------------------------------------------
  platform::com::Variant hidden() const;
  void set_hidden(bool hidden);
  platform::com::Variant row_height() const;
  void set_row_height(double points);
  platform::com::Variant column_width() const;
  void set_column_width(double characters);
  platform::com::Variant outline_level() const;
  void set_outline_level(std::int32_t level);
  bool show_detail() const;
  void set_show_detail(bool show);
  void group();
  void ungroup();

  // --- Formats ----------------------------------------------------------------
  // The value `get` reads from every cell's format, or Null when they differ.
  platform::com::Variant read_format(const std::function<platform::com::Variant(const model::CellFormat&)>& get) const;
  // Applies `change` to the format of every cell (refused on locked cells of
  // a protected sheet, and for values Excel does not accept).
  void write_format(const std::function<void(model::CellFormat&)>& change);
  // Raises 1004 when the sheet's contents are protected and a cell of the
  // range is locked, before anything is written.
  void check_editable() const;
  platform::com::Variant merge_cells() const;
  void set_merge_cells(bool merged);
  void merge(std::optional<bool> across);
  void unmerge();

  // --- Structure and clipboard ---------------------------------------------------
  void insert(std::optional<std::int32_t> shift);
  void delete_cells(std::optional<std::int32_t> shift);
  void copy(const std::optional<platform::com::Variant>& destination);
  void paste_special(std::optional<std::int32_t> paste, std::optional<std::int32_t> operation,
                     std::optional<bool> skip_blanks, std::optional<bool> transpose);
  void subtotal(std::int32_t group_by, std::int32_t function, const platform::com::Variant& total_list,
                std::optional<bool> replace, std::optional<bool> page_breaks, std::optional<std::int32_t> summary);
  void remove_subtotal();

 protected:
  const GuardedMembers& member_table() const override;

 private:
  std::shared_ptr<Range> make(const model::CellRange& area, RangeKind kind = RangeKind::Cells) const;
  platform::com::Variant default_member(const std::optional<platform::com::Variant>& row,
                                        const std::optional<platform::com::Variant>& column) const;
  platform::com::Variant set_default_member(std::span<platform::com::Variant> args);
  platform::com::Variant font();
  platform::com::Variant interior();
  platform::com::Variant comment();
  platform::com::Variant add_comment(const std::optional<std::string>& text);
  platform::com::Variant style() const;
  void set_style(const platform::com::Variant& style);
  platform::com::Variant worksheet() const;

  SheetRef sheet_;
  model::CellRange area_;
  RangeKind kind_;
};

std::shared_ptr<Range> make_range(std::shared_ptr<Application> app, SheetRef sheet, const model::CellRange& area,
                                  RangeKind kind = RangeKind::Cells);

// Raises the run's out-of-memory error before `value` is given to every
// cell of `a` when the cells it would make exceed the run's budget.
void check_budget_for(const model::CellRange& a, const platform::com::Variant& value);

// The cells `text` names on `sheet`: "A9:E12", "$C$4", "4:5", "A:C", or a
// defined name of the workbook that refers to cells of that sheet. Raises
// 1004 for anything else.
model::CellRange parse_range_text(const model::Worksheet& sheet, const std::string& text);

}  // namespace engine::app
