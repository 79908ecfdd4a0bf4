// Moving references when a formula is copied to another cell, plainly or
// transposed, the way Excel's Copy and Paste Special write the copy.
#include <utility>
#include <vector>

#include "engine/formula/formula.hpp"

namespace engine::formula {
namespace {

class Copier {
 public:
  Copier(const CellAddress& from, const CellAddress& to, bool transposed)
      : from_(from), to_(to), transposed_(transposed) {}

  // Without recursion, as shift.cpp walks: the walk suits trees of any shape.
  void copy(Node& root) const {
    std::vector<Node*> pending{&root};
    while (!pending.empty()) {
      Node* node = pending.back();
      pending.pop_back();
      if (node->kind == NodeKind::Reference) copy_reference(*node);
      for (Node& child : node->children) pending.push_back(&child);
    }
  }

 private:
  void copy_reference(Node& node) const {
    Reference& r = node.reference;
    if (!transposed_) {
      move(r);
    } else if (r.shape == AreaShape::Cells) {
      transpose(r.first);
      transpose(r.last);
      order(r);
    } else if (whole_lines_relative(r)) {
      turn_whole_lines(r);
    } else {
      move(r);
    }
    if (!on_grid(r.first) || !on_grid(r.last)) node.kind = NodeKind::DeletedReference;
  }

  // A plain copy: relative coordinates move by the distance between cells;
  // whole rows keep their columns and whole columns their rows.
  void move(Reference& r) const {
    const Offset offset{to_.row - from_.row, to_.column - from_.column};
    r.first = moved_corner(r, r.first, offset);
    r.last = moved_corner(r, r.last, offset);
  }

  void transpose(CellRef& corner) const {
    const CellRef was = corner;
    if (!was.row_absolute) corner.row = to_.row + (was.column - from_.column);
    if (!was.column_absolute) corner.column = to_.column + (was.row - from_.row);
  }

  // A mixed reference can come out with its corners crossed on one axis.
  static void order(Reference& r) {
    if (r.first.row > r.last.row) {
      std::swap(r.first.row, r.last.row);
      std::swap(r.first.row_absolute, r.last.row_absolute);
    }
    if (r.first.column > r.last.column) {
      std::swap(r.first.column, r.last.column);
      std::swap(r.first.column_absolute, r.last.column_absolute);
    }
  }

  static bool whole_lines_relative(const Reference& r) {
    if (r.shape == AreaShape::Rows) return !r.first.row_absolute && !r.last.row_absolute;
    return !r.first.column_absolute && !r.last.column_absolute;
  }

  // Rows 4:5 two rows below the cell become the columns two and three to
  // the right of the copy, and the reverse.
  void turn_whole_lines(Reference& r) const {
    if (r.shape == AreaShape::Rows) {
      r.shape = AreaShape::Columns;
      r.first = {0, to_.column + (r.first.row - from_.row), false, false};
      r.last = {max_rows - 1, to_.column + (r.last.row - from_.row), false, false};
    } else {
      r.shape = AreaShape::Rows;
      r.first = {to_.row + (r.first.column - from_.column), 0, false, false};
      r.last = {to_.row + (r.last.column - from_.column), max_columns - 1, false, false};
    }
  }

  CellAddress from_;
  CellAddress to_;
  bool transposed_;
};

}  // namespace

std::shared_ptr<const Formula> copy_formula(const Formula& formula, const CellAddress& from, const CellAddress& to,
                                            bool transposed) {
  Node root = formula.root();
  if (const auto& anchor = formula.anchor()) Copier({from.sheet, anchor->row, anchor->column}, from, false).copy(root);
  Copier(from, to, transposed).copy(root);
  return std::make_shared<const Formula>(std::move(root));
}

std::shared_ptr<const Formula> formula_at(const std::shared_ptr<const Formula>& formula, int row, int column) {
  if (!formula->anchor()) return formula;
  return copy_formula(*formula, {0, row, column}, {0, row, column});
}

}  // namespace engine::formula
