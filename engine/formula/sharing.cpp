// Whether a formula typed into a cell is a tree some other cell already
// holds, read from a distance: the test for handing it that tree anchored
// instead of keeping a tree of its own.
#include <utility>
#include <vector>

#include "engine/formula/formula.hpp"

namespace engine::formula {
namespace {

bool same_reference_when_moved(const Reference& written, Offset offset, const Reference& typed) {
  return written.shape == typed.shape && written.is_area == typed.is_area && written.sheet == typed.sheet &&
         written.last_sheet == typed.last_sheet && moved_corner(written, written.first, offset) == typed.first &&
         moved_corner(written, written.last, offset) == typed.last;
}

// Everything a node holds but its children.
bool same_node_when_moved(const Node& written, Offset offset, const Node& typed) {
  if (written.kind != typed.kind || written.op != typed.op || written.children.size() != typed.children.size())
    return false;
  if (written.leading != typed.leading || written.trailing != typed.trailing || written.space != typed.space)
    return false;
  if (written.number != typed.number || written.text != typed.text || written.boolean != typed.boolean ||
      written.error != typed.error || written.function != typed.function || written.array != typed.array)
    return false;
  // Only a reference's cells move; any other node's reference holds a
  // name's or a #REF!'s sheet, read as written.
  if (written.kind == NodeKind::Reference) return same_reference_when_moved(written.reference, offset, typed.reference);
  return written.reference == typed.reference;
}

}  // namespace

bool reads_alike_when_moved(const Node& written, Offset offset, const Node& typed) {
  std::vector<std::pair<const Node*, const Node*>> pending{{&written, &typed}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    if (!same_node_when_moved(*a, offset, *b)) return false;
    for (std::size_t i = 0; i < a->children.size(); ++i) pending.emplace_back(&a->children[i], &b->children[i]);
  }
  return true;
}

}  // namespace engine::formula
