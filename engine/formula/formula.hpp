// A formula in Excel 2003's English A1 notation: parsed once, immutable,
// shared between the cells that hold it; printed back as the formula bar
// shows it, evaluated against a workbook, moved when rows or columns are
// inserted or deleted.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/formula/context.hpp"
#include "engine/formula/node.hpp"
#include "engine/formula/reference.hpp"
#include "engine/formula/value.hpp"

namespace engine::formula {

// Excel 2003's limits on what a formula may be.
inline constexpr std::size_t max_formula_length = 1024;  // characters after "="
inline constexpr int max_function_nesting = 7;           // functions inside functions
inline constexpr int max_nesting_depth = 100;            // any nesting: parentheses, signs, operators

// Malformed formula text, or a tree beyond the limits above.
class ParseError : public std::runtime_error {
 public:
  ParseError(std::size_t position, const std::string& message);
  std::size_t position() const { return position_; }  // 0-based offset in the text given

 private:
  std::size_t position_;
};

// The cell a shared tree is written for (see Formula::anchor).
struct Anchor {
  int row = 0;
  int column = 0;

  friend bool operator==(const Anchor&, const Anchor&) = default;
};

class Formula {
 public:
  // Throws ParseError when the tree is deeper than the limits allow, so that
  // every Formula can be printed and evaluated without exhausting the stack.
  explicit Formula(Node root, std::optional<Anchor> anchor = std::nullopt);

  const Node& root() const { return root_; }

  // A formula filled down or across a range is one tree for all its cells,
  // as a file stores it: the tree is written for the anchor cell, and
  // another cell of the same sheet reads each relative reference moved by
  // its distance from the anchor. evaluate, precedent_areas, copy_formula
  // and formula_at take that distance into account; print, precedents and
  // the shift functions see the tree as written, so a shared formula goes
  // through formula_at first. Without an anchor the tree is what every
  // cell holding it reads (an array formula's cells share it that way).
  const std::optional<Anchor>& anchor() const { return anchor_; }

 private:
  Node root_;
  std::optional<Anchor> anchor_;
};

// How far a cell at (row, column) is from the formula's anchor; zero
// without one.
Offset offset_from_anchor(const Formula& formula, int row, int column);

// The formula as the cell at (row, column) holds it, written for that cell
// and anchored nowhere: the same pointer when the formula has no anchor.
std::shared_ptr<const Formula> formula_at(const std::shared_ptr<const Formula>& formula, int row, int column);

// Whether the tree `written`, read from a cell `offset` away from the one it
// is written for, is exactly the tree `typed`: every node, blank, name and
// constant alike, and each reference on the same cells once moved (never
// moved off the grid or with its corners crossed, since `typed` reads its
// cells as parsed). A cell whose typed formula reads alike may hold the
// written tree anchored instead of a tree of its own.
bool reads_alike_when_moved(const Node& written, Offset offset, const Node& typed);

// Parses formula text, with or without the leading "=".
std::shared_ptr<const Formula> parse(std::string_view text);

// The formula bar's text, starting with "=", of the tree as written.
std::string print(const Formula& formula);

// What a formula reads, as written (areas kept as areas).
struct Precedents {
  std::vector<Reference> references;
  std::vector<std::string> names;  // defined names, as typed
};
Precedents precedents(const Formula& formula);

// The areas the formula in the cell `origin` reads, resolved to sheets of
// the workbook, with defined names replaced by what they refer to: what a
// dependency graph registers. References to missing sheets are left out.
std::vector<Area> precedent_areas(const Formula& formula, const CellAddress& origin, const EvalContext& context);

// The formula adjusted for `count` rows (or columns) inserted (count > 0)
// or deleted (count < 0) at row (column) `at` of the sheet `edited_sheet`.
// `formula_sheet` is the sheet the formula lives on: its unqualified
// references are on that sheet. References into deleted cells become
// #REF!; areas grow, shrink or move as Excel moves them. Returns the same
// pointer when nothing changed.
//
// The contract first named three arguments (formula, sheet, at, count);
// the formula's own sheet is needed too, because an unqualified "A1" on
// another sheet must not move.
std::shared_ptr<const Formula> shift_rows(const std::shared_ptr<const Formula>& formula,
                                          std::string_view formula_sheet, std::string_view edited_sheet,
                                          int at, int count);
std::shared_ptr<const Formula> shift_columns(const std::shared_ptr<const Formula>& formula,
                                             std::string_view formula_sheet, std::string_view edited_sheet,
                                             int at, int count);

// The formula as copying it from the cell `from` to the cell `to` writes
// it (the sheets of the two addresses are not used): relative coordinates
// move with the cell, absolute ones stay, and a reference pushed off the
// grid becomes #REF!. A transposed copy (Paste Special's Transpose) turns
// each relative offset from the cell across: one row below becomes one
// column to the right, so a relative row takes the distance its reference's
// column had from `from`, and the other way round. A whole-row reference
// with both rows relative becomes whole columns (and the reverse); one with
// an absolute part keeps its shape and only moves. A shared formula is
// first written for `from`; the copy is anchored nowhere.
std::shared_ptr<const Formula> copy_formula(const Formula& formula, const CellAddress& from, const CellAddress& to,
                                            bool transposed = false);

// The value of the formula in the cell `origin`: implicit intersection
// applies to an area result, an empty result is 0, an array gives its
// top-left element.
Value evaluate(const Formula& formula, const EvalContext& context, const CellAddress& origin);

// The values of an array formula entered over `rows` x `columns` cells
// whose top-left cell is `origin`, row by row: the formula is computed once
// as an array (operators take references cell by cell, functions of single
// values apply to each element); a result larger than the cells gives its
// top-left part, a smaller one #N/A beyond it, a single row or column
// repeats along the other dimension; an empty element is 0.
std::vector<Value> evaluate_array(const Formula& formula, const EvalContext& context, const CellAddress& origin,
                                  int rows, int columns);

// Whether the formula calls SUBTOTAL (EvalContext::holds_subtotal).
bool calls_subtotal(const Formula& formula);

// Whether the formula must be recomputed at every recalculation (TODAY, NOW).
bool is_volatile(const Formula& formula);

}  // namespace engine::formula
