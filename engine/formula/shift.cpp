// Moving references when rows or columns are inserted or deleted, the way
// Excel moves them: what lies at or beyond the edit moves, an area that
// straddles an insertion grows, one that loses some of its cells shrinks,
// and a reference whose cells are all gone becomes #REF!.
#include "engine/formula/formula.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

struct Edit {
  int at;
  int count;  // > 0 inserted, < 0 deleted
  int limit;  // rows or columns in a sheet
};

// One coordinate span [first, last] along the edited axis; false when all
// of it was deleted or pushed off the sheet.
bool move_span(int& first, int& last, const Edit& edit) {
  if (edit.count > 0) {
    if (first >= edit.at) first += edit.count;
    if (last >= edit.at) last += edit.count;
    return last < edit.limit;
  }
  const int gone_end = edit.at - edit.count;  // first index after the deleted ones
  if (first >= edit.at && last < gone_end) return false;
  if (first >= gone_end) first += edit.count;
  else if (first >= edit.at) first = edit.at;
  if (last >= gone_end) last += edit.count;
  else if (last >= edit.at) last = edit.at - 1;
  return true;
}

class Shifter {
 public:
  Shifter(std::string_view formula_sheet, std::string_view edited_sheet, Edit edit, bool rows)
      : formula_sheet_(formula_sheet), edited_sheet_(edited_sheet), edit_(edit), rows_(rows) {}

  bool changed() const { return changed_; }

  // Children before parents, without recursion: the tree is bounded, but
  // the walk is shared with trees of any shape.
  void shift(Node& root) {
    std::vector<Node*> pending{&root};
    while (!pending.empty()) {
      Node* node = pending.back();
      pending.pop_back();
      if (node->kind == NodeKind::Reference) shift_reference(*node);
      for (Node& child : node->children) pending.push_back(&child);
    }
  }

 private:
  bool on_edited_sheet(const Reference& r) const {
    if (!r.last_sheet.empty()) return false;  // 3-D spans keep their cells
    return equal_ignoring_case(r.sheet.empty() ? formula_sheet_ : std::string_view(r.sheet), edited_sheet_);
  }

  void shift_reference(Node& node) {
    Reference& r = node.reference;
    if (!on_edited_sheet(r)) return;
    // Whole columns do not move when rows do, nor whole rows with columns.
    if ((rows_ && r.shape == AreaShape::Columns) || (!rows_ && r.shape == AreaShape::Rows)) return;
    int& first = rows_ ? r.first.row : r.first.column;
    int& last = rows_ ? r.last.row : r.last.column;
    const int old_first = first, old_last = last;
    if (!move_span(first, last, edit_)) {
      node.kind = NodeKind::DeletedReference;
      changed_ = true;
      return;
    }
    changed_ = changed_ || first != old_first || last != old_last;
  }

  std::string_view formula_sheet_;
  std::string_view edited_sheet_;
  Edit edit_;
  bool rows_;
  bool changed_ = false;
};

std::shared_ptr<const Formula> shift(const std::shared_ptr<const Formula>& formula, std::string_view formula_sheet,
                                     std::string_view edited_sheet, Edit edit, bool rows) {
  if (edit.count == 0) return formula;
  Node copy = formula->root();
  Shifter shifter(formula_sheet, edited_sheet, edit, rows);
  shifter.shift(copy);
  if (!shifter.changed()) return formula;
  return std::make_shared<const Formula>(std::move(copy));
}

}  // namespace

std::shared_ptr<const Formula> shift_rows(const std::shared_ptr<const Formula>& formula,
                                          std::string_view formula_sheet, std::string_view edited_sheet,
                                          int at, int count) {
  return shift(formula, formula_sheet, edited_sheet, Edit{at, count, max_rows}, true);
}

std::shared_ptr<const Formula> shift_columns(const std::shared_ptr<const Formula>& formula,
                                             std::string_view formula_sheet, std::string_view edited_sheet,
                                             int at, int count) {
  return shift(formula, formula_sheet, edited_sheet, Edit{at, count, max_columns}, false);
}

}  // namespace engine::formula
