// What evaluation needs from the workbook it runs in. engine/model
// implements it; the formula engine itself knows nothing of workbooks.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/formula/value.hpp"

namespace engine::formula {

class Formula;

using SheetId = std::uint32_t;

struct CellAddress {
  SheetId sheet = 0;
  int row = 0;
  int column = 0;

  friend bool operator==(const CellAddress&, const CellAddress&) = default;
};

// A rectangle of cells on one sheet, corners inclusive and in order.
struct Area {
  SheetId sheet = 0;
  int first_row = 0;
  int first_column = 0;
  int last_row = 0;
  int last_column = 0;

  bool contains(const CellAddress& cell) const {
    return cell.sheet == sheet && cell.row >= first_row && cell.row <= last_row &&
           cell.column >= first_column && cell.column <= last_column;
  }
  friend bool operator==(const Area&, const Area&) = default;
};

class EvalContext {
 public:
  using CellVisitor = std::function<void(int row, int column, const Value& value)>;

  virtual ~EvalContext() = default;

  // The value of a cell (its computed value for a formula cell); empty
  // when the cell holds nothing.
  virtual Value cell_value(const CellAddress& cell) const = 0;

  // Calls `visit` for each non-empty cell of the area, in row-major order
  // (row by row, columns left to right). Sparse: SUM(A:A) costs the cells
  // that exist, not 65,536 look-ups.
  virtual void visit_cells(const Area& area, const CellVisitor& visit) const = 0;

  // The sheet of that name (letter case ignored); nullopt when none.
  virtual std::optional<SheetId> sheet_by_name(std::string_view name) const = 0;

  // The sheets from `first` to `last` in workbook order, for 3-D
  // references; empty when either is missing.
  virtual std::vector<SheetId> sheets_between(std::string_view first, std::string_view last) const = 0;

  // What a defined name refers to, seen from a cell on `sheet`: the
  // sheet-level name of that sheet first, else the workbook-level one;
  // null when no such name exists. A name's definition is itself a formula
  // ("='Trimestre 1'!$C$4:$C$8" or "=0.196").
  virtual std::shared_ptr<const Formula> name_definition(std::string_view name, SheetId sheet) const = 0;

  // Whether the row is hidden (SUBTOTAL 101-111 skips it).
  virtual bool row_hidden(SheetId sheet, int row) const = 0;

  // Whether an AutoFilter hides the row (every SUBTOTAL skips it). A
  // workbook without AutoFilters keeps the default.
  virtual bool row_filtered(SheetId /*sheet*/, int /*row*/) const { return false; }

  // Whether the cell holds a formula calling SUBTOTAL (nested SUBTOTALs
  // are skipped). calls_subtotal() in formula.hpp answers it for a formula.
  virtual bool holds_subtotal(const CellAddress& cell) const = 0;

  // The current local date and time as a serial number (days since
  // 1899-12-30, the time of day as the fraction); TODAY and NOW read it.
  virtual double now() const = 0;
};

// The serial number of the current local time, for an EvalContext's now().
double current_serial_time();

}  // namespace engine::formula

template <>
struct std::hash<engine::formula::CellAddress> {
  std::size_t operator()(const engine::formula::CellAddress& cell) const noexcept {
    return (static_cast<std::size_t>(cell.sheet) << 32) ^ (static_cast<std::size_t>(cell.row) << 8) ^
           static_cast<std::size_t>(cell.column);
  }
};
