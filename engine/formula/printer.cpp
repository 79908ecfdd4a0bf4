// The formula bar's text: names of known functions, references, Booleans
// and errors in capitals, numbers in Excel's normal form, and every blank
// the author typed where it was typed.
#include "engine/formula/formula.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {
namespace {

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string constant_text(const Value& value) {
  return value.is_text() ? quoted(value.text()) : value_to_text(value);
}

std::string array_text(const std::vector<std::vector<Value>>& rows) {
  std::string out = "{";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r > 0) out += ';';
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      if (c > 0) out += ',';
      out += constant_text(rows[r][c]);
    }
  }
  return out + "}";
}

void print_node(const Node& node, std::string& out);

void print_body(const Node& node, std::string& out) {
  switch (node.kind) {
    case NodeKind::Number: out += number_to_text(node.number); break;
    case NodeKind::Text: out += quoted(node.text); break;
    case NodeKind::Boolean: out += node.boolean ? "TRUE" : "FALSE"; break;
    case NodeKind::Error: out += error_text(node.error); break;
    case NodeKind::Array: out += array_text(node.array); break;
    case NodeKind::Reference: out += to_a1(node.reference); break;
    case NodeKind::DeletedReference:
      out += sheet_prefix(node.reference.sheet, node.reference.last_sheet) + "#REF!";
      break;
    case NodeKind::Name: out += sheet_prefix(node.reference.sheet, node.reference.last_sheet) + node.text; break;
    case NodeKind::Missing: break;
    case NodeKind::Call:
      // Unknown names stay as typed: Excel takes them for add-in functions.
      out += node.function ? std::string(node.function->name) : node.text;
      out += '(';
      for (std::size_t i = 0; i < node.children.size(); ++i) {
        if (i > 0) out += ',';
        print_node(node.children[i], out);
      }
      out += ')';
      break;
    case NodeKind::Unary:
      out += node.op == Operator::Minus ? '-' : '+';
      print_node(node.children[0], out);
      break;
    case NodeKind::Percent:
      print_node(node.children[0], out);
      out += '%';
      break;
    case NodeKind::Binary:
      print_node(node.children[0], out);
      out += node.op == Operator::Intersect ? node.space : operator_text(node.op);
      print_node(node.children[1], out);
      break;
    case NodeKind::Paren:
      out += '(';
      print_node(node.children[0], out);
      out += ')';
      break;
  }
}

void print_node(const Node& node, std::string& out) {
  out += node.leading;
  print_body(node, out);
  out += node.trailing;
}

}  // namespace

const char* operator_text(Operator op) {
  switch (op) {
    case Operator::None: return "";
    case Operator::Plus: case Operator::Add: return "+";
    case Operator::Minus: case Operator::Subtract: return "-";
    case Operator::Range: return ":";
    case Operator::Intersect: return " ";
    case Operator::Union: return ",";
    case Operator::Power: return "^";
    case Operator::Multiply: return "*";
    case Operator::Divide: return "/";
    case Operator::Concat: return "&";
    case Operator::Equal: return "=";
    case Operator::Less: return "<";
    case Operator::Greater: return ">";
    case Operator::LessEqual: return "<=";
    case Operator::GreaterEqual: return ">=";
    case Operator::NotEqual: return "<>";
  }
  return "";
}

std::string print(const Formula& formula) {
  std::string out = "=";
  print_node(formula.root(), out);
  return out;
}

}  // namespace engine::formula
