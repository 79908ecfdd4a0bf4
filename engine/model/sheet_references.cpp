#include "engine/model/sheet_references.hpp"

#include "engine/model/text.hpp"

namespace engine::model {

namespace {

// Applies `change` to every node; true when any node changed.
template <typename Change>
bool visit(formula::Node& node, Change& change) {
  bool changed = change(node);
  for (auto& child : node.children) changed = visit(child, change) || changed;
  return changed;
}

template <typename Change>
std::shared_ptr<const formula::Formula> rewrite(const std::shared_ptr<const formula::Formula>& f, Change change) {
  formula::Node root = f->root();
  if (!visit(root, change)) return f;
  return std::make_shared<const formula::Formula>(std::move(root), f->anchor());
}

bool is_reference(const formula::Node& node) {
  return node.kind == formula::NodeKind::Reference || node.kind == formula::NodeKind::DeletedReference ||
         node.kind == formula::NodeKind::Name;
}

}  // namespace

std::shared_ptr<const formula::Formula> rename_sheet_references(const std::shared_ptr<const formula::Formula>& f,
                                                                std::string_view old_name,
                                                                std::string_view new_name) {
  return rewrite(f, [&](formula::Node& node) {
    if (!is_reference(node)) return false;
    bool changed = false;
    for (std::string* sheet : {&node.reference.sheet, &node.reference.last_sheet}) {
      if (!sheet->empty() && equal_ignoring_case(*sheet, old_name)) {
        *sheet = std::string(new_name);
        changed = true;
      }
    }
    return changed;
  });
}

std::shared_ptr<const formula::Formula> delete_sheet_references(const std::shared_ptr<const formula::Formula>& f,
                                                                std::string_view name) {
  return rewrite(f, [&](formula::Node& node) {
    if (node.kind != formula::NodeKind::Reference) return false;
    const auto& r = node.reference;
    const bool into = (!r.sheet.empty() && equal_ignoring_case(r.sheet, name)) ||
                      (!r.last_sheet.empty() && equal_ignoring_case(r.last_sheet, name));
    if (!into) return false;
    node.kind = formula::NodeKind::DeletedReference;
    node.reference.sheet.clear();
    node.reference.last_sheet.clear();
    return true;
  });
}

std::shared_ptr<const formula::Formula> shift_band_references(const std::shared_ptr<const formula::Formula>& f,
                                                              std::string_view formula_sheet,
                                                              std::string_view edited_sheet, Span band, int at,
                                                              int count, bool by_rows) {
  const int limit = by_rows ? kMaxRows : kMaxColumns;
  return rewrite(f, [&](formula::Node& node) {
    if (node.kind != formula::NodeKind::Reference) return false;
    formula::Reference& r = node.reference;
    if (!r.last_sheet.empty() || r.shape != formula::AreaShape::Cells) return false;
    if (!equal_ignoring_case(r.sheet.empty() ? formula_sheet : std::string_view(r.sheet), edited_sheet)) return false;
    const int across_first = by_rows ? r.first.column : r.first.row;
    const int across_last = by_rows ? r.last.column : r.last.row;
    if (across_first < band.first || across_last > band.last) return false;
    int& first = by_rows ? r.first.row : r.first.column;
    int& last = by_rows ? r.last.row : r.last.column;
    const auto moved = shift_span(Span{first, last}, at, count, limit);
    if (!moved) {
      node.kind = formula::NodeKind::DeletedReference;
      return true;
    }
    const bool changed = moved->first != first || moved->last != last;
    first = moved->first;
    last = moved->last;
    return changed;
  });
}

}  // namespace engine::model
