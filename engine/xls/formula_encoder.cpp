// Writing formula tokens as Excel writes them: operands in the class their
// position expects, IF and CHOOSE with their jump attributes, SUM of one
// argument as the SUM attribute, the author's blanks as space attributes.
#include <algorithm>
#include <cmath>

#include "engine/formula/functions.hpp"
#include "engine/xls/file_error.hpp"
#include "engine/xls/formula_codec.hpp"
#include "engine/xls/formula_tokens.hpp"
#include "engine/xls/function_table.hpp"
#include "engine/xls/record_writer.hpp"
#include "engine/xls/utf16.hpp"

namespace engine::xls {

namespace f = engine::formula;

namespace {

std::uint8_t class_offset(char cls) {
  return cls == 'R' ? tok::ClassReference : (cls == 'A' ? tok::ClassArray : tok::ClassValue);
}

// The blanks a formula's author typed, as space attributes store them:
// line breaks and spaces counted apart, since their interleaving is not
// representable. Counting them instead of joining the texts keeps the
// encoder from building a string at each node.
struct Blanks {
  std::size_t newlines = 0;
  std::size_t spaces = 0;

  Blanks& operator+=(std::string_view text) {
    if (text.empty()) return *this;
    newlines += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    spaces += static_cast<std::size_t>(std::count(text.begin(), text.end(), ' '));
    return *this;
  }
};

Blanks operator+(Blanks blanks, std::string_view text) { return blanks += text; }

// Writes a formula's tokens at the end of a record being built, and its
// constants (array constants' values) into a body of their own.
class Encoder {
 public:
  Encoder(LinkTable& links, const FormulaOrigin& origin, RecordBody& tokens, RecordBody& extra)
      : links_(links), origin_(origin), tokens_(tokens), extra_(extra), start_(tokens.size()) {}

  void run(const f::Formula& formula, FormulaRole role);

 private:
  void emit(const f::Node& node, char cls, Blanks head);
  void emit_operand_blanks(Blanks blanks, std::uint8_t space_type);
  void emit_call(const f::Node& node, char cls, Blanks head);
  void emit_jumping_call(const f::Node& node, const BiffFunction& function);
  void emit_addin_call(const f::Node& node, char cls, Blanks head);
  void emit_reference(const f::Node& node, char cls);
  void emit_array(const f::Node& node, char cls);
  void emit_function_token(const BiffFunction& function, std::size_t argc, char cls);
  void attr(std::uint8_t flags, std::uint16_t data);
  std::size_t attr_placeholder(std::uint8_t flags);
  void patch_u16(std::size_t at, std::size_t value);

  LinkTable& links_;
  const FormulaOrigin& origin_;
  f::Offset offset_;  // of a shared formula's cell from its anchor
  RecordBody& tokens_;
  RecordBody& extra_;
  std::size_t start_;  // where this formula's tokens begin in tokens_
  bool calls_volatile_ = false;  // seen while emitting, so that the tree is walked once
};

// Blanks typed after the last thing a node prints: its own, after those of
// the operand it ends with.
Blanks tail(const f::Node& node) {
  const bool ends_with_child = (node.kind == f::NodeKind::Binary || node.kind == f::NodeKind::Unary) &&
                               !node.children.empty();
  return (ends_with_child ? tail(node.children.back()) : Blanks{}) + node.trailing;
}

void Encoder::attr(std::uint8_t flags, std::uint16_t data) { tokens_.u8(tok::Attr).u8(flags).u16(data); }

std::size_t Encoder::attr_placeholder(std::uint8_t flags) {
  const std::size_t at = tokens_.size();
  attr(flags, 0);
  return at;
}

void Encoder::patch_u16(std::size_t at, std::size_t value) {
  if (value > 0xFFFF) fail("a formula is too long to be saved");
  tokens_.patch_u16(at, static_cast<std::uint16_t>(value));
}

// Blanks as space attributes, line breaks first, at most 255 per attribute.
void Encoder::emit_operand_blanks(Blanks blanks, std::uint8_t space_type) {
  if (blanks.newlines == 0 && blanks.spaces == 0) return;  // nearly every operand
  for (auto [count, type] : {std::pair{blanks.newlines, space_type + 1}, std::pair{blanks.spaces, space_type + 0}}) {
    for (std::size_t left = count; left > 0;) {
      const std::size_t n = std::min<std::size_t>(left, 255);
      attr(tok::AttrSpace, static_cast<std::uint16_t>(type | (n << 8)));
      left -= n;
    }
  }
}

// A corner's column field: the column with its relative flags.
std::uint16_t column_field(const f::CellRef& cell) {
  std::uint16_t column = static_cast<std::uint16_t>(cell.column & 0xFF);
  if (!cell.column_absolute) column |= 0x4000;
  if (!cell.row_absolute) column |= 0x8000;
  return column;
}

void Encoder::emit_reference(const f::Node& node, char cls) {
  const f::Reference& ref = node.reference;
  const f::CellRef first_corner = f::moved_corner(ref, ref.first, offset_);
  const f::CellRef last_corner = f::moved_corner(ref, ref.last, offset_);
  const bool deleted = node.kind == f::NodeKind::DeletedReference || !on_grid(first_corner) || !on_grid(last_corner);
  const bool qualified = !ref.sheet.empty();
  std::uint8_t base = ref.is_area ? (qualified ? tok::Area3d : tok::Area) : (qualified ? tok::Ref3d : tok::Ref);
  if (deleted) base = ref.is_area ? (qualified ? tok::AreaErr3d : tok::AreaErr) : (qualified ? tok::RefErr3d : tok::RefErr);
  tokens_.u8(static_cast<std::uint8_t>(base + class_offset(cls)));
  if (qualified) {
    const auto first = links_.sheet_index(ref.sheet);
    const auto last = ref.last_sheet.empty() ? first : links_.sheet_index(ref.last_sheet);
    if (!first || !last) fail("a formula refers to the sheet '" + ref.sheet + "', which the workbook does not hold");
    tokens_.u16(links_.entry_for({*first, *last}));
  }
  if (deleted) {
    tokens_.zeros(ref.is_area ? 8 : 4);
  } else if (ref.is_area) {
    // Rows first, then columns (with their flags).
    tokens_.u16(static_cast<std::uint16_t>(first_corner.row)).u16(static_cast<std::uint16_t>(last_corner.row))
        .u16(column_field(first_corner)).u16(column_field(last_corner));
  } else {
    tokens_.u16(static_cast<std::uint16_t>(first_corner.row)).u16(column_field(first_corner));
  }
}

void Encoder::emit_array(const f::Node& node, char cls) {
  const auto& rows = node.array;
  const std::size_t columns = rows.empty() ? 0 : rows.front().size();
  if (rows.empty() || columns == 0 || columns > 256 || rows.size() > 65536 ||
      std::any_of(rows.begin(), rows.end(), [&](const auto& r) { return r.size() != columns; }))
    fail("an array constant in a formula has a shape Excel cannot store");
  tokens_.u8(static_cast<std::uint8_t>(tok::Array + class_offset(cls))).zeros(7);
  extra_.u8(static_cast<std::uint8_t>(columns - 1)).u16(static_cast<std::uint16_t>(rows.size() - 1));
  for (const auto& row : rows) {
    for (const f::Value& v : row) {
      if (v.is_number()) extra_.u8(0x01).f64(v.number());
      else if (v.is_text()) extra_.u8(0x02).string16(v.text());
      else if (v.is_boolean()) extra_.u8(0x04).u8(v.boolean() ? 1 : 0).zeros(7);
      else if (v.is_error()) extra_.u8(0x10).u8(static_cast<std::uint8_t>(v.error())).zeros(7);
      else extra_.u8(0x00).zeros(8);
    }
  }
}

void Encoder::emit_function_token(const BiffFunction& function, std::size_t argc, char cls) {
  const char token_class = cls == 'R' && !function.returns_reference ? 'V' : cls;
  if (function.min_args == function.max_args) {
    tokens_.u8(static_cast<std::uint8_t>(tok::Func + class_offset(token_class)))
        .u16(static_cast<std::uint16_t>(function.index));
  } else {
    tokens_.u8(static_cast<std::uint8_t>(tok::FuncVar + class_offset(token_class)))
        .u8(static_cast<std::uint8_t>(argc))
        .u16(static_cast<std::uint16_t>(function.index));
  }
}

// IF and CHOOSE: each branch followed by a goto to the end, the condition
// (or index) followed by a jump to the branches, as Excel evaluates only
// the branch taken. Offsets count from the end of the jumping token; a
// goto's is one short of the distance, as Excel writes it.
void Encoder::emit_jumping_call(const f::Node& node, const BiffFunction& function) {
  const bool is_if = function.index == 1;
  const auto& args = node.children;
  emit(args[0], argument_class(function, 0), {});
  const std::size_t jump = tokens_.size();
  if (is_if) {
    attr(tok::AttrIf, 0);
  } else {
    attr(tok::AttrChoose, static_cast<std::uint16_t>(args.size() - 1));
    tokens_.zeros(2 * args.size());
  }
  const std::size_t table = jump + 4;
  std::vector<std::size_t> gotos;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (!is_if) patch_u16(table + 2 * (i - 1), tokens_.size() - table);
    emit(args[i], argument_class(function, i), {});
    gotos.push_back(attr_placeholder(tok::AttrGoto));
    if (is_if && i == 1) patch_u16(jump + 2, tokens_.size() - table);
  }
  if (!is_if) patch_u16(table + 2 * (args.size() - 1), tokens_.size() - table);
  emit_operand_blanks(tail(args.back()), 4);
  emit_function_token(function, args.size(), 'V');
  const std::size_t end = tokens_.size();
  for (std::size_t at : gotos) patch_u16(at + 2, end - at - 4 - 1);
}

// A function Excel does not number (an add-in's, or one Excel 2003 lacks)
// is stored as Excel 2003 stores it: the function's name first (tNameX to
// an EXTERNNAME of the add-in SUPBOOK), then the arguments, then tFuncVar
// 255 counting the name as one more argument.
void Encoder::emit_addin_call(const f::Node& node, char cls, Blanks head) {
  const std::size_t argc = node.children.size();
  if (argc + 1 > 30) fail("the function " + node.text + " is called with more arguments than Excel accepts");
  const auto [entry, index] = links_.addin_call(node.text);
  tokens_.u8(tok::NameX).u16(entry).u16(index).u16(0);
  for (const f::Node& child : node.children) emit(child, 'R', {});
  if (argc > 0) emit_operand_blanks(tail(node.children.back()), 4);
  emit_operand_blanks(head + node.leading, 0);
  tokens_.u8(static_cast<std::uint8_t>(tok::FuncVar + class_offset(cls))).u8(static_cast<std::uint8_t>(argc + 1))
      .u16(tok::AddinFunction);
}

void Encoder::emit_call(const f::Node& node, char cls, Blanks head) {
  if (node.function && node.function->is_volatile) calls_volatile_ = true;
  const BiffFunction* function = biff_function_by_name(node.text);
  if (!function) return emit_addin_call(node, cls, head);
  const std::size_t argc = node.children.size();
  if (static_cast<int>(argc) < function->min_args || static_cast<int>(argc) > function->max_args)
    fail("the function " + node.text + " is called with a number of arguments Excel does not accept");
  const bool jumps = (function->index == 1 || function->index == 100) && argc >= 2;
  if (jumps) {
    emit_jumping_call(node, *function);
  } else {
    for (std::size_t i = 0; i < argc; ++i) emit(node.children[i], argument_class(*function, i), {});
    if (argc > 0) emit_operand_blanks(tail(node.children.back()), 4);
  }
  emit_operand_blanks(head + node.leading, 0);
  if (jumps) return;
  if (function->index == 4 && argc == 1) return attr(tok::AttrSum, 0);
  emit_function_token(*function, argc, cls);
}

void Encoder::emit(const f::Node& node, char cls, Blanks head) {
  using K = f::NodeKind;
  switch (node.kind) {
    case K::Binary: {
      const bool reference_op = node.op == f::Operator::Range || node.op == f::Operator::Intersect ||
                                node.op == f::Operator::Union;
      const char operand_class = reference_op ? 'R' : 'V';
      emit(node.children[0], operand_class, head + node.leading);
      emit(node.children[1], operand_class, {});
      Blanks before_operator = tail(node.children[0]);
      if (node.op == f::Operator::Intersect && node.space.size() > 1)
        before_operator += std::string_view(node.space).substr(1);
      emit_operand_blanks(before_operator, 0);
      static constexpr std::pair<f::Operator, std::uint8_t> kOps[] = {
          {f::Operator::Add, tok::Add},    {f::Operator::Subtract, tok::Sub},      {f::Operator::Multiply, tok::Mul},
          {f::Operator::Divide, tok::Div}, {f::Operator::Power, tok::Power},       {f::Operator::Concat, tok::Concat},
          {f::Operator::Less, tok::Lt},    {f::Operator::LessEqual, tok::Le},      {f::Operator::Equal, tok::Eq},
          {f::Operator::GreaterEqual, tok::Ge}, {f::Operator::Greater, tok::Gt}, {f::Operator::NotEqual, tok::Ne},
          {f::Operator::Intersect, tok::Isect}, {f::Operator::Union, tok::Union}, {f::Operator::Range, tok::Range}};
      for (auto [op, code] : kOps)
        if (op == node.op) return (void)tokens_.u8(code);
      fail("a formula holds an operator Excel cannot store");
    }
    case K::Unary:
      emit(node.children[0], 'V', {});
      emit_operand_blanks(head + node.leading, 0);
      tokens_.u8(node.op == f::Operator::Minus ? tok::Uminus : tok::Uplus);
      return;
    case K::Percent:
      emit(node.children[0], 'V', head + node.leading);
      emit_operand_blanks(tail(node.children[0]), 0);
      tokens_.u8(tok::Percent);
      return;
    case K::Paren:
      emit_operand_blanks(head + node.leading, 2);
      emit(node.children[0], cls, {});
      emit_operand_blanks(tail(node.children[0]), 4);
      tokens_.u8(tok::Paren);
      return;
    case K::Call: return emit_call(node, cls, head);
    default: break;
  }
  emit_operand_blanks(head + node.leading, 0);
  switch (node.kind) {
    case K::Number:
      if (node.number >= 0 && node.number <= 65535 && std::floor(node.number) == node.number &&
          !std::signbit(node.number)) {
        tokens_.u8(tok::Int).u16(static_cast<std::uint16_t>(node.number));
      } else {
        tokens_.u8(tok::Num).f64(node.number);
      }
      return;
    case K::Text:
      if (utf8_to_utf16(node.text).size() > 255) fail("a text in a formula is longer than 255 characters");
      tokens_.u8(tok::Str).string8(node.text);
      return;
    case K::Boolean: tokens_.u8(tok::Bool).u8(node.boolean ? 1 : 0); return;
    case K::Error: tokens_.u8(tok::Err).u8(static_cast<std::uint8_t>(node.error)); return;
    case K::Missing: tokens_.u8(tok::MissArg); return;
    case K::Array: return emit_array(node, cls == 'R' ? 'V' : cls);
    case K::Reference: case K::DeletedReference: return emit_reference(node, cls);
    case K::Name:
      tokens_.u8(static_cast<std::uint8_t>(tok::Name + class_offset(cls)))
          .u16(links_.name_index(node.text, origin_.sheet))
          .u16(0);
      return;
    default: fail("a formula holds a part Excel cannot store");
  }
}

void Encoder::run(const f::Formula& formula, FormulaRole role) {
  offset_ = f::offset_from_anchor(formula, origin_.row, origin_.column);
  emit(formula.root(), role == FormulaRole::Name ? 'R' : role == FormulaRole::Array ? 'A' : 'V', {});
  // A formula calling a volatile function starts with the volatile
  // attribute; the jumps' offsets count from their own tokens, so moving
  // every token along by its four bytes leaves them right.
  if (calls_volatile_) {
    const std::uint8_t volatile_attr[] = {tok::Attr, tok::AttrVolatile, 0, 0};
    tokens_.insert(start_, volatile_attr);
  }
  if (tokens_.size() - start_ > 0xFFFF) fail("a formula is too long to be saved");
}

}  // namespace

void encode_formula(const formula::Formula& formula, LinkTable& links, const FormulaOrigin& origin, FormulaRole role,
                    RecordBody& tokens, RecordBody& extra) {
  Encoder(links, origin, tokens, extra).run(formula, role);
}

EncodedFormula encode_formula(const formula::Formula& formula, LinkTable& links, const FormulaOrigin& origin,
                              FormulaRole role) {
  RecordBody tokens, extra;
  encode_formula(formula, links, origin, role, tokens, extra);
  return {tokens.take(), extra.take()};
}

}  // namespace engine::xls
