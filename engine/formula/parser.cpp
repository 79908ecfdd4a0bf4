// Recursive descent over Excel's operator precedence, lowest first:
// comparisons, "&", "+ -", "* /", "^", "%", unary signs, then the
// reference operators (union "," inside parentheses, intersection " ",
// range ":"). Blanks are kept on the nodes they surround.
#include <cstdlib>

#include "engine/formula/formula.hpp"
#include "engine/formula/functions.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\n' || c == '\r'; }
// ASCII only, whatever the process's locale: bytes beyond ASCII are name
// characters of their own (below), and a locale look-up per character
// showed in the parse's profile.
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_name_start(char c) { return is_alpha(c) || c == '_' || c == '\\' || static_cast<unsigned char>(c) >= 0x80; }
bool is_name_char(char c) { return is_name_start(c) || is_digit(c) || c == '.' || c == '?'; }

bool is_literal(const Node& node) {
  return node.kind == NodeKind::Number || node.kind == NodeKind::Text || node.kind == NodeKind::Boolean ||
         node.kind == NodeKind::Error || node.kind == NodeKind::Array;
}

// An error literal may stand where a deleted reference was (#REF!:B2).
bool spans_no_range(const Node& node) { return is_literal(node) && node.kind != NodeKind::Error; }

Node make_binary(Operator op, Node left, Node right) {
  Node node;
  node.kind = NodeKind::Binary;
  node.op = op;
  node.children.reserve(2);  // else the second child moves the first
  node.children.push_back(std::move(left));
  node.children.push_back(std::move(right));
  return node;
}

class Parser {
 public:
  Parser(std::string_view text, std::size_t base) : s_(text), base_(base) {}

  Node parse_formula() {
    std::string leading = blanks();
    if (at_end()) fail("the formula is empty");
    Node root = expression();
    root.leading = leading + root.leading;
    root.trailing += blanks();
    if (!at_end()) fail(std::string("unexpected \"") + peek() + "\"");
    return root;
  }

 private:
  // Guards every level that can recurse, so no input exhausts the stack.
  struct Depth {
    explicit Depth(Parser& p) : parser(p) {
      if (++parser.depth_ > max_nesting_depth) parser.fail("the formula nests too deeply");
    }
    ~Depth() { --parser.depth_; }
    Parser& parser;
  };

  [[noreturn]] void fail(const std::string& message) const { throw ParseError(base_ + pos_, message); }
  bool at_end() const { return pos_ >= s_.size(); }
  char peek(std::size_t ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0'; }
  bool accept(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  void expect(char c, const char* what) {
    if (!accept(c)) fail(std::string("expected ") + what);
  }
  std::string blanks() {
    const std::size_t start = pos_;
    while (!at_end() && is_blank(s_[pos_])) ++pos_;
    return std::string(s_.substr(start, pos_ - start));
  }
  void attach_trailing(Node& node) { node.trailing += blanks(); }

  // One binary level: operands from `next`, operators recognised by `match`.
  template <typename Next, typename Match>
  Node binary_level(Next next, Match match) {
    Node left = (this->*next)();
    for (Operator op = match(); op != Operator::None; op = match()) {
      Depth depth(*this);
      Node right = (this->*next)();
      left = make_binary(op, std::move(left), std::move(right));
    }
    return left;
  }

  Node expression() {
    return binary_level(&Parser::concatenation, [this] {
      if (accept('=')) return Operator::Equal;
      if (accept('<')) return accept('=') ? Operator::LessEqual : accept('>') ? Operator::NotEqual : Operator::Less;
      if (accept('>')) return accept('=') ? Operator::GreaterEqual : Operator::Greater;
      return Operator::None;
    });
  }
  Node concatenation() {
    return binary_level(&Parser::additive, [this] { return accept('&') ? Operator::Concat : Operator::None; });
  }
  Node additive() {
    return binary_level(&Parser::multiplicative, [this] {
      return accept('+') ? Operator::Add : accept('-') ? Operator::Subtract : Operator::None;
    });
  }
  Node multiplicative() {
    return binary_level(&Parser::power, [this] {
      return accept('*') ? Operator::Multiply : accept('/') ? Operator::Divide : Operator::None;
    });
  }
  Node power() {
    return binary_level(&Parser::percent, [this] { return accept('^') ? Operator::Power : Operator::None; });
  }

  Node percent() {
    Node node = signed_operand();
    while (accept('%')) {
      Depth depth(*this);
      Node wrapped;
      wrapped.kind = NodeKind::Percent;
      wrapped.children.push_back(std::move(node));
      node = std::move(wrapped);
      attach_trailing(node);
    }
    return node;
  }

  Node signed_operand() {
    Depth depth(*this);
    std::string leading = blanks();
    if (peek() == '+' || peek() == '-') {
      Node node;
      node.kind = NodeKind::Unary;
      node.op = s_[pos_++] == '+' ? Operator::Plus : Operator::Minus;
      node.leading = leading;
      node.children.push_back(signed_operand());
      return node;
    }
    Node node = intersection();
    node.leading = leading + node.leading;
    return node;
  }

  // Blanks between two reference operands are the intersection operator;
  // anywhere else they are the author's layout.
  Node intersection() {
    Node left = range();
    while (true) {
      std::string space = blanks();
      if (space.empty() || !starts_reference_operand() || is_literal(left)) {
        left.trailing += space;
        return left;
      }
      Depth depth(*this);
      const std::size_t right_start = pos_;
      Node right = range();
      if (is_literal(right)) throw ParseError(base_ + right_start, "only references intersect");
      left = make_binary(Operator::Intersect, std::move(left), std::move(right));
      left.space = space;
    }
  }

  bool starts_reference_operand() const {
    const char c = peek();
    return is_name_start(c) || c == '$' || c == '\'' || c == '(' || is_digit(c);
  }

  // Only references span a range: "2E6:1" or "1.5:2" is no row range, and
  // a number taken as one would print as rows no sheet has.
  Node range() {
    const std::size_t left_start = pos_;
    Node left = primary();
    while (accept(':')) {
      if (spans_no_range(left)) throw ParseError(base_ + left_start, "only references form a range");
      Depth depth(*this);
      const std::size_t right_start = pos_;
      Node right = primary();
      if (spans_no_range(right)) throw ParseError(base_ + right_start, "only references form a range");
      left = make_binary(Operator::Range, std::move(left), std::move(right));
    }
    return left;
  }

  Node primary() {
    Depth depth(*this);
    const char c = peek();
    if (c == '(') return parenthesised();
    if (c == '"') return text_literal();
    if (c == '{') return array_literal();
    if (c == '#') return error_literal();
    if (c == '\'') return qualified(quoted_sheet());
    if (is_digit(c) || c == '.') return number_or_rows();
    if (c == '$') return reference_body({}, {});
    if (is_name_start(c)) return word();
    if (at_end()) fail("the formula ends where a value was expected");
    fail(std::string("unexpected \"") + c + "\"");
  }

  Node parenthesised() {
    ++pos_;
    Node node;
    node.kind = NodeKind::Paren;
    Node inner = expression();
    while (accept(',')) {
      Depth depth(*this);
      Node right = expression();
      inner = make_binary(Operator::Union, std::move(inner), std::move(right));
    }
    expect(')', "\")\"");
    node.children.push_back(std::move(inner));
    return node;
  }

  std::string quoted_text(char quote, const char* what) {
    const std::size_t start = pos_++;
    std::string out;
    while (true) {
      if (at_end()) throw ParseError(base_ + start, std::string("unterminated ") + what);
      const char c = s_[pos_++];
      if (c != quote) {
        out += c;
      } else if (accept(quote)) {
        out += quote;
      } else {
        return out;
      }
    }
  }

  Node text_literal() {
    Node node;
    node.kind = NodeKind::Text;
    node.text = quoted_text('"', "text");
    if (character_count(node.text) > 255) fail("text values in formulas are limited to 255 characters");
    return node;
  }

  std::optional<CellError> read_error() {
    for (std::size_t len : {7u, 6u, 5u, 4u}) {
      if (pos_ + len > s_.size()) continue;
      if (auto error = error_from_text(s_.substr(pos_, len))) {
        pos_ += len;
        return error;
      }
    }
    return std::nullopt;
  }

  Node error_literal() {
    Node node;
    node.kind = NodeKind::Error;
    const auto error = read_error();
    if (!error) fail("unknown error value");
    node.error = *error;
    return node;
  }

  double read_number() {
    const std::size_t start = pos_;
    while (is_digit(peek())) ++pos_;
    if (accept('.'))
      while (is_digit(peek())) ++pos_;
    if (pos_ == start + 1 && s_[start] == '.') fail("a number was expected");
    if (peek() == 'e' || peek() == 'E') {
      ++pos_;
      if (peek() == '+' || peek() == '-') ++pos_;
      if (!is_digit(peek())) fail("the exponent of the number is missing");
      while (is_digit(peek())) ++pos_;
    }
    const std::string digits(s_.substr(start, pos_ - start));
    const double value = std::strtod(digits.c_str(), nullptr);
    if (value > 9.99999999999999E+307) fail("the number is too large");
    return value;
  }

  Node number_or_rows() {
    const std::size_t start = pos_;
    while (is_digit(peek())) ++pos_;
    const bool whole_rows = pos_ > start && peek() == ':' && (is_digit(peek(1)) || peek(1) == '$');
    pos_ = start;
    if (whole_rows) return reference_body({}, {});
    Node node;
    node.kind = NodeKind::Number;
    node.number = read_number();
    return node;
  }

  Node array_literal() {
    ++pos_;
    Node node;
    node.kind = NodeKind::Array;
    node.array.emplace_back();
    while (true) {
      blanks();
      node.array.back().push_back(array_element());
      blanks();
      if (accept(',')) continue;
      if (accept(';')) {
        if (node.array.back().size() != node.array.front().size()) fail("the rows of an array must be equally long");
        node.array.emplace_back();
        continue;
      }
      if (peek() == '}' && node.array.back().size() != node.array.front().size())
        fail("the rows of an array must be equally long");
      expect('}', "\"}\"");
      return node;
    }
  }

  Value array_element() {
    if (peek() == '"') return Value(quoted_text('"', "text"));
    if (peek() == '#') {
      if (auto error = read_error()) return Value(*error);
      fail("unknown error value");
    }
    const bool negative = peek() == '-';
    if (peek() == '-' || peek() == '+') ++pos_;
    if (is_digit(peek()) || peek() == '.') {
      const double n = read_number();
      return Value(negative ? -n : n);
    }
    const std::size_t start = pos_;
    while (is_name_char(peek())) ++pos_;
    const std::string_view word = s_.substr(start, pos_ - start);
    if (equal_ignoring_case(word, "TRUE")) return Value(true);
    if (equal_ignoring_case(word, "FALSE")) return Value(false);
    pos_ = start;
    fail("an array may hold only numbers, texts, TRUE, FALSE and error values");
  }

  std::string read_word() {
    const std::size_t start = pos_;
    while (is_name_char(peek())) ++pos_;
    return std::string(s_.substr(start, pos_ - start));
  }

  std::string quoted_sheet() {
    std::string name = quoted_text('\'', "sheet name");
    if (name.empty()) fail("the sheet name is empty");
    if (peek() != '!') fail("expected \"!\" after the sheet name");
    return name;
  }

  // After "Sheet!" or "'Sheet'!": a reference, a sheet-level name or #REF!.
  Node qualified(std::string sheet) {
    std::string last_sheet;
    if (const auto colon = sheet.find(':'); colon != std::string::npos) {
      last_sheet = sheet.substr(colon + 1);
      sheet.resize(colon);
    }
    expect('!', "\"!\"");
    return reference_body(std::move(sheet), std::move(last_sheet));
  }

  Node word() {
    const std::size_t start = pos_;
    std::string name = read_word();
    if (peek() == '!') return qualified(name);
    if (peek() == ':' && is_name_start(peek(1))) {  // Sheet1:Sheet3!A1
      const std::size_t colon = pos_++;
      const std::string second = read_word();
      if (peek() == '!') return qualified(name + ":" + second);
      pos_ = colon;
    }
    if (peek() == '(') return call(std::move(name), start);
    pos_ = start;
    return reference_body({}, {});
  }

  Node call(std::string name, std::size_t start) {
    Node node;
    node.kind = NodeKind::Call;
    node.function = find_function(name);
    node.text = std::move(name);
    if (++calls_ > max_function_nesting) fail("more than 7 levels of nested functions");
    ++pos_;
    if (closes_after_blanks()) {
      // "SUM()" passes no argument; "SUM( )" keeps its blank.
      std::string space = blanks();
      ++pos_;
      if (!space.empty()) {
        Node missing;
        missing.leading = space;
        node.children.push_back(std::move(missing));
      }
    } else {
      do node.children.push_back(argument());
      while (accept(','));
      expect(')', "\")\" or \",\"");
    }
    --calls_;
    check_arity(node, start);
    return node;
  }

  bool closes_after_blanks() const {
    std::size_t i = pos_;
    while (i < s_.size() && is_blank(s_[i])) ++i;
    return i < s_.size() && s_[i] == ')';
  }

  Node argument() {
    std::string space = blanks();
    if (peek() == ',' || peek() == ')') {
      Node missing;
      missing.leading = space;
      return missing;
    }
    Node node = expression();
    node.leading = space + node.leading;
    return node;
  }

  void check_arity(const Node& node, std::size_t start) {
    const int count = static_cast<int>(node.children.size());
    if (count > 30) throw ParseError(base_ + start, "more than 30 arguments");
    if (!node.function) return;
    // "NOW( )" passes no argument, as "NOW()".
    const bool only_blank = count == 1 && node.children[0].kind == NodeKind::Missing && node.function->min_args == 0;
    if (count < node.function->min_args)
      throw ParseError(base_ + start, "too few arguments for " + std::string(node.function->name));
    if (count > node.function->max_args && !only_blank)
      throw ParseError(base_ + start, "too many arguments for " + std::string(node.function->name));
  }

  // A cell, an area, whole rows or columns, a name or #REF!, with the
  // sheet already read.
  Node reference_body(std::string sheet, std::string last_sheet) {
    Node node;
    const std::size_t start = pos_;
    if (peek() == '#') {
      if (read_error() != CellError::Ref) fail("expected a reference");
      node.kind = NodeKind::DeletedReference;
      node.reference.sheet = std::move(sheet);
      node.reference.last_sheet = std::move(last_sheet);
      return node;
    }
    // The longest run that could be a reference, then the reference reader decides.
    while (is_name_char(peek()) || peek() == '$') ++pos_;
    if (peek() == ':' && (is_name_char(peek(1)) || peek(1) == '$')) {
      const std::size_t colon = pos_++;
      while (is_name_char(peek()) || peek() == '$') ++pos_;
      if (auto r = parse_reference(s_.substr(start, pos_ - start))) return reference_node(*r, sheet, last_sheet);
      pos_ = colon;
    }
    const std::string_view body = s_.substr(start, pos_ - start);
    if (auto r = parse_reference(body); r && r->is_cell()) return reference_node(*r, sheet, last_sheet);
    if (body.empty() || body.find('$') != std::string_view::npos || !is_name_start(body[0])) {
      pos_ = start;
      fail("expected a reference");
    }
    if (sheet.empty() && (equal_ignoring_case(body, "TRUE") || equal_ignoring_case(body, "FALSE"))) {
      node.kind = NodeKind::Boolean;
      node.boolean = equal_ignoring_case(body, "TRUE");
      return node;
    }
    node.kind = NodeKind::Name;
    node.text = std::string(body);
    node.reference.sheet = std::move(sheet);
    node.reference.last_sheet = std::move(last_sheet);
    return node;
  }

  static Node reference_node(Reference r, std::string sheet, std::string last_sheet) {
    Node node;
    node.kind = NodeKind::Reference;
    r.sheet = std::move(sheet);
    r.last_sheet = std::move(last_sheet);
    node.reference = std::move(r);
    return node;
  }

  std::string_view s_;
  std::size_t base_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  int calls_ = 0;
};

}  // namespace

std::shared_ptr<const Formula> parse(std::string_view text) {
  std::size_t base = 0;
  if (!text.empty() && text[0] == '=') {
    text.remove_prefix(1);
    base = 1;
  }
  if (character_count(text) > max_formula_length)
    throw ParseError(base + max_formula_length, "the formula is longer than 1024 characters");
  return std::make_shared<const Formula>(Parser(text, base).parse_formula());
}

}  // namespace engine::formula
