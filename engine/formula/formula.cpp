#include "engine/formula/formula.hpp"

#include <algorithm>
#include <utility>

#include "engine/formula/functions.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// The depth of the tree, measured without recursion: a tree handed in by
// the file codec may be arbitrarily deep.
int tree_depth(const Node& root) {
  int deepest = 0;
  std::vector<std::pair<const Node*, int>> pending{{&root, 1}};
  while (!pending.empty()) {
    auto [node, depth] = pending.back();
    pending.pop_back();
    deepest = std::max(deepest, depth);
    if (deepest > max_nesting_depth) break;
    for (const Node& child : node->children) pending.emplace_back(&child, depth + 1);
  }
  return deepest;
}

bool any_call(const Formula& formula, bool (*matches)(const FunctionSpec&)) {
  bool found = false;
  visit_nodes(formula.root(), [&](const Node& node) {
    if (node.kind == NodeKind::Call && node.function && matches(*node.function)) found = true;
  });
  return found;
}

}  // namespace

ParseError::ParseError(std::size_t position, const std::string& message)
    : std::runtime_error(message + " (at character " + std::to_string(position + 1) + ")"), position_(position) {}

Formula::Formula(Node root, std::optional<Anchor> anchor) : root_(std::move(root)), anchor_(anchor) {
  if (tree_depth(root_) > max_nesting_depth) throw ParseError(0, "the formula nests too deeply");
}

Offset offset_from_anchor(const Formula& formula, int row, int column) {
  const auto& anchor = formula.anchor();
  if (!anchor) return {};
  return {row - anchor->row, column - anchor->column};
}

Precedents precedents(const Formula& formula) {
  Precedents out;
  visit_nodes(formula.root(), [&](const Node& node) {
    if (node.kind == NodeKind::Reference) out.references.push_back(node.reference);
    if (node.kind == NodeKind::Name) out.names.push_back(node.text);
  });
  return out;
}

bool calls_subtotal(const Formula& formula) {
  return any_call(formula, [](const FunctionSpec& f) { return f.name == "SUBTOTAL"; });
}

bool is_volatile(const Formula& formula) {
  return any_call(formula, [](const FunctionSpec& f) { return f.is_volatile; });
}

}  // namespace engine::formula
