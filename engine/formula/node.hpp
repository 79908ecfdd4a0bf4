// The parsed form of a formula: a tree of nodes, each keeping the blanks its
// author typed around it so that the formula prints back as typed. It is
// public because the file codec translates it to and from BIFF tokens.
#pragma once

#include <string>
#include <vector>

#include "engine/formula/reference.hpp"
#include "engine/formula/value.hpp"

namespace engine::formula {

struct FunctionSpec;

enum class NodeKind {
  Number,    // number
  Text,      // text
  Boolean,   // boolean
  Error,     // error (a literal "#N/A")
  Array,     // array: constant {1,2;3,4}, rows of scalars
  Reference, // reference
  DeletedReference,  // a reference whose cells were deleted: prints "#REF!"
                     // (after reference.sheet's prefix when qualified)
  Name,      // text: a defined name, as typed; reference.sheet when qualified
  Call,      // text: function name as typed; function: the known function
             // or null (unknown names evaluate to #NAME?); children: args
  Missing,   // an empty argument, as in IF(A1,,1)
  Unary,     // op: Plus or Minus; children[0]
  Percent,   // children[0] followed by "%"
  Binary,    // op; children[0], children[1]; for Intersect, `space` holds
             // the blanks that make the operator
  Paren,     // children[0] in parentheses; "," inside is the union operator
};

enum class Operator {
  None,
  Plus, Minus,                       // unary
  Range, Intersect, Union,           // reference operators
  Power, Multiply, Divide, Add, Subtract, Concat,
  Equal, Less, Greater, LessEqual, GreaterEqual, NotEqual,
};

struct Node {
  NodeKind kind = NodeKind::Missing;
  Operator op = Operator::None;
  std::string leading;   // blanks typed before the node
  std::string trailing;  // blanks typed after it, before an operator or ")" "," or the end
  std::string space;     // the intersection operator's blanks
  double number = 0;
  std::string text;
  bool boolean = false;
  CellError error = CellError::Value;
  std::vector<std::vector<Value>> array;
  Reference reference;
  const FunctionSpec* function = nullptr;  // static table entry, never owned
  std::vector<Node> children;
};

// Calls visit(node) for every node of the tree, parents before children,
// without recursion.
template <typename Visit>
void visit_nodes(const Node& root, Visit visit) {
  std::vector<const Node*> pending{&root};
  while (!pending.empty()) {
    const Node* node = pending.back();
    pending.pop_back();
    visit(*node);
    for (auto child = node->children.rbegin(); child != node->children.rend(); ++child) pending.push_back(&*child);
  }
}

// The canonical operator text ("<=", "&", ":", ","); " " for Intersect.
const char* operator_text(Operator op);

}  // namespace engine::formula
