// Reading formula tokens: a stack machine over the reverse Polish tokens
// that builds the tree engine/formula prints and evaluates.
#include <algorithm>
#include <cctype>
#include <utility>

#include "engine/formula/functions.hpp"
#include "engine/xls/file_error.hpp"
#include "engine/xls/formula_codec.hpp"
#include "engine/xls/function_table.hpp"
#include "engine/xls/formula_tokens.hpp"

namespace engine::xls {

namespace f = engine::formula;

namespace {

// Deeper trees are refused before they are built: engine/formula refuses
// them anyway, and tearing one down recurses once per level.
constexpr int kMaxDepth = 200;
constexpr std::size_t kInitialStack = 8;

struct Item {
  f::Node node;
  std::size_t start;  // token offset of the first token that built it
  int depth;
  bool addin_name = false;  // a tNameX naming the add-in function a tFuncVar 255 calls
};

class Decoder {
 public:
  Decoder(ByteSpan tokens, ByteSpan extra, const LinkTable& links, const FormulaOrigin& origin,
          std::optional<f::Anchor> anchor)
      : token_record_{0, 0, {tokens}}, extra_record_{0, 0, {extra}}, tokens_(token_record_),
        extra_(extra_record_), size_(tokens.size()), links_(links), origin_(origin), anchor_(anchor) {
    // Nodes are large: growing the stack from nothing moves them again and again.
    stack_.reserve(kInitialStack);
  }

  DecodedFormula run();

 private:
  std::size_t position() const { return size_ - tokens_.remaining(); }
  void token(std::uint8_t code, std::size_t at);
  void classed_token(std::uint8_t base, std::size_t at);
  void attribute();
  void apply_pending_blanks(f::Node& node, bool before_operand);

  void push(f::Node node, std::size_t at, int depth = 1);
  Item pop();
  void binary(f::Operator op);
  void unary(f::NodeKind kind, f::Operator op);
  void call(const BiffFunction& function, std::size_t argc);
  void call(const std::string& name, std::size_t argc);
  void addin_call(std::size_t argc);

  f::CellRef cell(std::uint16_t row, std::uint16_t column_field, bool relative_offsets) const;
  f::Reference area(bool relative_offsets);
  f::Reference single(bool relative_offsets);
  void qualify(f::Reference& reference, std::uint16_t ixti, bool& deleted) const;
  std::vector<std::vector<f::Value>> array_constant();

  Record token_record_;
  Record extra_record_;
  RecordCursor tokens_;
  RecordCursor extra_;
  std::size_t size_;
  const LinkTable& links_;
  const FormulaOrigin& origin_;
  std::optional<f::Anchor> anchor_;
  std::vector<Item> stack_;
  std::string pending_blanks_;         // before the next token
  std::string pending_paren_blanks_;  // before the next "("
  std::vector<std::pair<std::size_t, std::string>> paren_blanks_;  // token offset -> blanks
  std::string pending_close_blanks_;  // before the next ")"
};

// A cell of a reference token, as the cell at `origin` reads it.
f::CellRef cell_fields(std::uint16_t row, std::uint16_t column_field, bool relative_offsets, const FormulaOrigin& origin) {
  f::CellRef ref;
  ref.row_absolute = !(column_field & 0x8000);
  ref.column_absolute = !(column_field & 0x4000);
  int r = row;
  int c = column_field & 0x00FF;
  // Shared formulas store relative coordinates as signed offsets from the cell.
  if (relative_offsets && !ref.row_absolute) r = (origin.row + static_cast<std::int16_t>(row)) & 0xFFFF;
  if (relative_offsets && !ref.column_absolute) c = (origin.column + static_cast<std::int8_t>(c)) & 0xFF;
  ref.row = r;
  ref.column = c;
  return ref;
}

std::string blanks(std::uint8_t type, std::uint8_t count) {
  return std::string(count, (type % 2 == 1) ? '\n' : ' ');
}

f::Node leaf(f::NodeKind kind) {
  f::Node node;
  node.kind = kind;
  return node;
}

void Decoder::push(f::Node node, std::size_t at, int depth) {
  if (depth > kMaxDepth) fail("a formula is nested too deeply");
  stack_.push_back({std::move(node), at, depth});
}

Item Decoder::pop() {
  if (stack_.empty()) fail("a formula's tokens do not form an expression");
  Item item = std::move(stack_.back());
  stack_.pop_back();
  return item;
}

void Decoder::apply_pending_blanks(f::Node& node, bool before_operand) {
  if (before_operand) node.leading += pending_blanks_;
  pending_blanks_.clear();
}

void Decoder::binary(f::Operator op) {
  Item right = pop();
  Item left = pop();
  left.node.trailing += pending_blanks_;
  pending_blanks_.clear();
  f::Node node = leaf(f::NodeKind::Binary);
  node.op = op;
  if (op == f::Operator::Intersect) node.space = " ";
  const int depth = 1 + std::max(left.depth, right.depth);
  const std::size_t start = left.start;
  node.children.reserve(2);
  node.children.push_back(std::move(left.node));
  node.children.push_back(std::move(right.node));
  push(std::move(node), start, depth);
}

void Decoder::unary(f::NodeKind kind, f::Operator op) {
  Item operand = pop();
  f::Node node = leaf(kind);
  node.op = op;
  if (kind == f::NodeKind::Percent) {
    operand.node.trailing += pending_blanks_;
  } else {
    node.leading += pending_blanks_;
  }
  pending_blanks_.clear();
  const std::size_t start = operand.start;
  const int depth = operand.depth + 1;
  if (kind == f::NodeKind::Paren) {
    operand.node.trailing += pending_close_blanks_;
    pending_close_blanks_.clear();
    for (auto& [at, text] : paren_blanks_)
      if (at == start) node.leading += std::exchange(text, {});
  }
  node.children.push_back(std::move(operand.node));
  push(std::move(node), start, depth);
}

// tFuncVar 255: the first of its arguments names the function.
void Decoder::addin_call(std::size_t argc) {
  if (argc == 0 || argc > stack_.size()) fail("a function in a formula has fewer arguments than it says");
  const auto name = stack_.end() - static_cast<std::ptrdiff_t>(argc);
  // Excel 2003 names an add-in's function by tNameX; Excel 2007 and
  // LibreOffice name the functions Excel 2003 lacks ("_xlfn.IFERROR") by a
  // tName to a NAME record of that name.
  const bool named = name->addin_name || (name->node.kind == f::NodeKind::Name && name->node.reference.sheet.empty());
  if (!named) fail("a formula calls an add-in function it does not name");
  const std::string function = std::move(name->node.text);
  stack_.erase(name);
  call(function, argc - 1);
}

void Decoder::call(const BiffFunction& function, std::size_t argc) { call(std::string(function.name), argc); }

void Decoder::call(const std::string& name, std::size_t argc) {
  if (argc > stack_.size()) fail("a function in a formula has fewer arguments than it says");
  f::Node node = leaf(f::NodeKind::Call);
  node.text = name;
  node.function = f::find_function(name);
  apply_pending_blanks(node, true);
  const auto first = stack_.end() - static_cast<std::ptrdiff_t>(argc);
  int depth = 1;
  std::size_t start = first == stack_.end() ? position() : first->start;
  node.children.reserve(argc);
  for (auto it = first; it != stack_.end(); ++it) {
    depth = std::max(depth, it->depth + 1);
    node.children.push_back(std::move(it->node));
  }
  stack_.erase(first, stack_.end());
  if (!node.children.empty()) node.children.back().trailing += pending_close_blanks_;
  pending_close_blanks_.clear();
  push(std::move(node), start, depth);
}

f::CellRef Decoder::cell(std::uint16_t row, std::uint16_t column_field, bool relative_offsets) const {
  return cell_fields(row, column_field, relative_offsets, origin_);
}

f::Reference Decoder::single(bool relative_offsets) {
  const std::uint16_t row = tokens_.u16();
  const std::uint16_t column = tokens_.u16();
  f::Reference reference;
  reference.first = reference.last = cell(row, column, relative_offsets);
  return reference;
}

f::Reference Decoder::area(bool relative_offsets) {
  const std::uint16_t row1 = tokens_.u16();
  const std::uint16_t row2 = tokens_.u16();
  const std::uint16_t col1 = tokens_.u16();
  const std::uint16_t col2 = tokens_.u16();
  f::Reference reference;
  reference.is_area = true;
  reference.first = cell(row1, col1, relative_offsets);
  reference.last = cell(row2, col2, relative_offsets);
  if (reference.first.column == 0 && reference.last.column == f::max_columns - 1)
    reference.shape = f::AreaShape::Rows;
  else if (reference.first.row == 0 && reference.last.row == f::max_rows - 1)
    reference.shape = f::AreaShape::Columns;
  if (reference.first.row > reference.last.row) std::swap(reference.first.row, reference.last.row);
  if (reference.first.column > reference.last.column) std::swap(reference.first.column, reference.last.column);
  return reference;
}

void Decoder::qualify(f::Reference& reference, std::uint16_t ixti, bool& deleted) const {
  const auto span = links_.entry(ixti);
  if (!span) fail("a formula refers to another workbook or to an unknown sheet list entry");
  const auto& sheets = links_.sheets();
  if (span->first < 0 || span->first >= static_cast<int>(sheets.size()) || span->last < span->first ||
      span->last >= static_cast<int>(sheets.size())) {
    deleted = true;  // a sheet since deleted: Excel shows #REF!
    return;
  }
  reference.sheet = sheets[static_cast<std::size_t>(span->first)];
  if (span->last != span->first) reference.last_sheet = sheets[static_cast<std::size_t>(span->last)];
}

std::vector<std::vector<f::Value>> Decoder::array_constant() {
  const std::size_t columns = extra_.u8() + 1u;
  const std::size_t rows = extra_.u16() + 1u;
  if (rows * columns * 4 > extra_.remaining())  // no value takes fewer than 4 bytes
    fail("an array constant is larger than its formula");
  std::vector<std::vector<f::Value>> values(rows);
  for (auto& row : values) {
    for (std::size_t c = 0; c < columns; ++c) {
      const std::uint8_t kind = extra_.u8();
      switch (kind) {
        case 0x00: extra_.skip(8); row.emplace_back(); break;
        case 0x01: row.emplace_back(extra_.f64()); break;
        case 0x02: row.emplace_back(extra_.string16()); break;
        case 0x04: row.emplace_back(extra_.u8() != 0); extra_.skip(7); break;
        case 0x10: {
          const auto error = f::error_from_code(extra_.u8());
          extra_.skip(7);
          if (!error) fail("an array constant holds an unknown error code");
          row.emplace_back(*error);
          break;
        }
        default: fail("an array constant holds a value of unknown kind");
      }
    }
  }
  return values;
}

void Decoder::attribute() {
  const std::uint8_t flags = tokens_.u8();
  const std::uint16_t data = tokens_.u16();
  if (flags & tok::AttrChoose) tokens_.skip((data + 1u) * 2u);  // the jump table
  if (flags & tok::AttrSum) {
    call(*biff_function_by_index(4), 1);
    return;
  }
  if (flags & tok::AttrSpace) {
    const auto type = static_cast<std::uint8_t>(data & 0xFF);
    const auto count = static_cast<std::uint8_t>(data >> 8);
    switch (type) {
      case 0: case 1: pending_blanks_ += blanks(type, count); break;
      case 2: case 3: paren_blanks_.emplace_back(position(), blanks(type, count)); break;
      case 4: case 5: pending_close_blanks_ += blanks(type, count); break;
      default: break;  // blanks before the "=" are not part of the formula's text
    }
  }
  // IF and CHOOSE jumps, gotos and the volatile mark carry nothing the tree needs.
}

void Decoder::classed_token(std::uint8_t base, std::size_t at) {
  bool deleted = false;
  switch (base) {
    case tok::Array: {
      tokens_.skip(7);
      f::Node node = leaf(f::NodeKind::Array);
      node.array = array_constant();
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    case tok::Func: {
      const auto* function = biff_function_by_index(tokens_.u16());
      if (!function || function->min_args != function->max_args)
        fail("a formula calls a function this application does not know");
      return call(*function, static_cast<std::size_t>(function->min_args));
    }
    case tok::FuncVar: {
      const std::size_t argc = tokens_.u8() & 0x7F;
      const std::uint16_t index = tokens_.u16() & 0x7FFF;
      if (index == tok::AddinFunction) return addin_call(argc);
      const auto* function = biff_function_by_index(index);
      if (!function) fail("a formula calls a function this application does not know");
      return call(*function, argc);
    }
    case tok::NameX: {
      const std::size_t entry = tokens_.u16();
      const std::size_t index = tokens_.u16();
      tokens_.skip(2);
      const auto function = links_.addin_function(entry, index);
      if (!function) fail("a formula uses a name of another workbook");
      f::Node node = leaf(f::NodeKind::Call);
      node.text = std::string(*function);
      push(std::move(node), at);
      stack_.back().addin_name = true;
      return;
    }
    case tok::Name: {
      const std::size_t index = tokens_.u16();
      tokens_.skip(2);
      if (index == 0 || index > links_.names().size()) fail("a formula uses a name that is not defined");
      f::Node node = leaf(f::NodeKind::Name);
      node.text = links_.names()[index - 1].name;
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    case tok::MemArea: case tok::MemErr: case tok::MemNoMem:
      tokens_.skip(6);  // a cached sub-expression: its own tokens follow
      if (base == tok::MemArea) {
        const std::size_t ranges = extra_.u16();
        extra_.skip(ranges * 8);
      }
      return;
    case tok::MemFunc: tokens_.skip(2); return;
    case tok::Ref: case tok::RefN: case tok::Area: case tok::AreaN: {
      f::Node node = leaf(f::NodeKind::Reference);
      const bool relative = base == tok::RefN || base == tok::AreaN;
      node.reference = (base == tok::Ref || base == tok::RefN) ? single(relative) : area(relative);
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    case tok::RefErr: case tok::AreaErr: {
      tokens_.skip(base == tok::RefErr ? 4 : 8);
      f::Node node = leaf(f::NodeKind::DeletedReference);
      node.reference.is_area = base == tok::AreaErr;
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    case tok::Ref3d: case tok::Area3d: case tok::RefErr3d: case tok::AreaErr3d: {
      const std::uint16_t ixti = tokens_.u16();
      f::Node node = leaf(f::NodeKind::Reference);
      node.reference = (base == tok::Ref3d || base == tok::RefErr3d) ? single(false) : area(false);
      qualify(node.reference, ixti, deleted);
      if (deleted || base == tok::RefErr3d || base == tok::AreaErr3d) node.kind = f::NodeKind::DeletedReference;
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    default: fail("a formula holds a token this application does not support");
  }
}

void Decoder::token(std::uint8_t code, std::size_t at) {
  using f::Operator;
  if (code >= 0x20) return classed_token(static_cast<std::uint8_t>((code & 0x1F) | 0x20), at);
  switch (code) {
    case tok::Add: return binary(Operator::Add);
    case tok::Sub: return binary(Operator::Subtract);
    case tok::Mul: return binary(Operator::Multiply);
    case tok::Div: return binary(Operator::Divide);
    case tok::Power: return binary(Operator::Power);
    case tok::Concat: return binary(Operator::Concat);
    case tok::Lt: return binary(Operator::Less);
    case tok::Le: return binary(Operator::LessEqual);
    case tok::Eq: return binary(Operator::Equal);
    case tok::Ge: return binary(Operator::GreaterEqual);
    case tok::Gt: return binary(Operator::Greater);
    case tok::Ne: return binary(Operator::NotEqual);
    case tok::Isect: return binary(Operator::Intersect);
    case tok::Union: return binary(Operator::Union);
    case tok::Range: return binary(Operator::Range);
    case tok::Uplus: return unary(f::NodeKind::Unary, Operator::Plus);
    case tok::Uminus: return unary(f::NodeKind::Unary, Operator::Minus);
    case tok::Percent: return unary(f::NodeKind::Percent, Operator::None);
    case tok::Paren: return unary(f::NodeKind::Paren, Operator::None);
    case tok::MissArg: {
      f::Node node = leaf(f::NodeKind::Missing);
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    case tok::Str: {
      f::Node node = leaf(f::NodeKind::Text);
      node.text = tokens_.string8();
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    case tok::Attr: return attribute();
    case tok::Err: {
      const auto error = f::error_from_code(tokens_.u8());
      if (!error) fail("a formula holds an unknown error code");
      f::Node node = leaf(f::NodeKind::Error);
      node.error = *error;
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    case tok::Bool: {
      f::Node node = leaf(f::NodeKind::Boolean);
      node.boolean = tokens_.u8() != 0;
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    case tok::Int: case tok::Num: {
      f::Node node = leaf(f::NodeKind::Number);
      node.number = code == tok::Int ? tokens_.u16() : tokens_.f64();
      apply_pending_blanks(node, true);
      return push(std::move(node), at);
    }
    default: fail("a formula holds a token this application does not support");
  }
}

DecodedFormula Decoder::run() {
  if (size_ == 5 && tokens_.u8() == tok::Exp) {
    const int row = tokens_.u16();
    const int column = tokens_.u16();
    return SharedFormulaRef{row, column};
  }
  tokens_ = RecordCursor(token_record_);
  if (size_ == 0) fail("a formula is empty");
  while (!tokens_.at_end()) {
    const std::size_t at = position();
    const std::uint8_t code = tokens_.u8();
    if (code == tok::Exp || code == tok::Tbl) fail("a formula refers to a shared formula or data table in the wrong place");
    token(code, at);
  }
  if (stack_.size() != 1) fail("a formula's tokens do not form a single expression");
  try {
    return std::make_shared<const f::Formula>(std::move(stack_.back().node), anchor_);
  } catch (const f::ParseError& error) {
    fail(std::string("a formula is beyond Excel's limits: ") + error.what());
  }
}

}  // namespace

DecodedFormula decode_formula(ByteSpan tokens, ByteSpan extra, const LinkTable& links, const FormulaOrigin& origin,
                              std::optional<f::Anchor> anchor) {
  return Decoder(tokens, extra, links, origin, anchor).run();
}

namespace {

// Walks the tokens for sharing_key: copies what does not depend on the
// cell and rewrites the coordinates that do.
class KeyWriter {
 public:
  KeyWriter(ByteSpan tokens, const FormulaOrigin& origin) : in_(tokens), origin_(origin) {
    key_.reserve(2 * tokens.size() + 16);
  }

  bool run() {
    while (at_ < in_.size()) {
      if (!token(in_[at_++])) return false;
    }
    return true;
  }
  std::string take() { return std::move(key_); }

 private:
  bool token(std::uint8_t code) {
    key_.push_back(static_cast<char>(code));
    if (code >= 0x20) return classed(static_cast<std::uint8_t>((code & 0x1F) | 0x20));
    if (code >= tok::Add && code <= tok::MissArg) return true;
    switch (code) {
      case tok::Str: {
        if (!has(2) || (in_[at_ + 1] & ~0x01) != 0) return false;  // no rich or phonetic text here
        return copy(2 + std::size_t{in_[at_]} * (in_[at_ + 1] & 0x01 ? 2 : 1));
      }
      case tok::Attr: {
        if (!has(3)) return false;
        const bool choose = in_[at_] & tok::AttrChoose;
        const std::size_t jumps = choose ? (std::size_t{in_[at_ + 1]} + (std::size_t{in_[at_ + 2]} << 8) + 1) * 2 : 0;
        return copy(3 + jumps);
      }
      case tok::Err: case tok::Bool: return copy(1);
      case tok::Int: return copy(2);
      case tok::Num: return copy(8);
      default: return false;
    }
  }

  bool classed(std::uint8_t base) {
    switch (base) {
      case tok::Array: return copy(7);
      case tok::Func: case tok::MemFunc: return copy(2);
      case tok::FuncVar: return copy(3);
      case tok::Name: return copy(4);
      case tok::MemArea: case tok::MemErr: case tok::MemNoMem: case tok::NameX: return copy(6);
      case tok::RefErr: return copy(4);
      case tok::AreaErr: return copy(8);
      case tok::Ref: case tok::RefN: return cells(1, base == tok::RefN);
      case tok::Area: case tok::AreaN: return cells(2, base == tok::AreaN);
      case tok::Ref3d: return copy(2) && cells(1, false);
      case tok::Area3d: return copy(2) && cells(2, false);
      case tok::RefErr3d: return copy(6);
      case tok::AreaErr3d: return copy(10);
      default: return false;
    }
  }

  // One cell (rows then columns for an area, as stored), each coordinate
  // absolute or as its distance from the cell, with its flags. An area also
  // notes how the decoder will shape and order it, which depends on where
  // its corners are.
  bool cells(int count, bool relative_offsets) {
    if (!has(4 * static_cast<std::size_t>(count))) return false;
    const auto u16 = [this](std::size_t i) { return static_cast<std::uint16_t>(in_[at_ + i] | (in_[at_ + i + 1] << 8)); };
    f::CellRef corners[2];
    for (int i = 0; i < count; ++i) {
      const std::uint16_t row = u16(count == 1 ? 0 : 2 * static_cast<std::size_t>(i));
      const std::uint16_t column = u16(count == 1 ? 2 : 4 + 2 * static_cast<std::size_t>(i));
      corners[i] = cell_fields(row, column, relative_offsets, origin_);
    }
    at_ += 4 * static_cast<std::size_t>(count);
    for (int i = 0; i < count; ++i) {
      const f::CellRef& c = corners[i];
      key_.push_back(static_cast<char>((c.row_absolute ? 1 : 0) | (c.column_absolute ? 2 : 0)));
      put(c.row_absolute ? c.row : c.row - origin_.row);
      put(c.column_absolute ? c.column : c.column - origin_.column);
    }
    if (count == 2) {
      const f::CellRef& a = corners[0];
      const f::CellRef& b = corners[1];
      key_.push_back(static_cast<char>((a.column == 0 && b.column == f::max_columns - 1 ? 1 : 0) |
                                       (a.row == 0 && b.row == f::max_rows - 1 ? 2 : 0) |
                                       (a.row > b.row ? 4 : 0) | (a.column > b.column ? 8 : 0)));
    }
    return true;
  }

  void put(int value) { key_.append(reinterpret_cast<const char*>(&value), sizeof value); }
  bool has(std::size_t count) const { return at_ + count <= in_.size(); }
  bool copy(std::size_t count) {
    if (!has(count)) return false;
    key_.append(reinterpret_cast<const char*>(in_.data() + at_), count);
    at_ += count;
    return true;
  }

  ByteSpan in_;
  const FormulaOrigin& origin_;
  std::size_t at_ = 0;
  std::string key_;
};

}  // namespace

std::optional<std::string> sharing_key(ByteSpan tokens, ByteSpan extra, const FormulaOrigin& origin) {
  KeyWriter writer(tokens, origin);
  if (!writer.run()) return std::nullopt;
  std::string key = writer.take();
  // The constants behind the tokens follow their length, so that no token
  // run can pass for another's constants.
  const std::size_t size = extra.size();
  key.insert(0, reinterpret_cast<const char*>(&size), sizeof size);
  key.append(reinterpret_cast<const char*>(extra.data()), extra.size());
  return key;
}

DecodedFormula SheetFormulas::decode(ByteSpan tokens, ByteSpan extra, const LinkTable& links,
                                     const FormulaOrigin& origin) {
  auto key = sharing_key(tokens, extra, origin);
  if (!key) return decode_formula(tokens, extra, links, origin);
  if (const auto known = trees_.find(*key); known != trees_.end()) return known->second;
  DecodedFormula decoded = decode_formula(tokens, extra, links, origin, f::Anchor{origin.row, origin.column});
  trees_.emplace(std::move(*key), std::get<std::shared_ptr<const f::Formula>>(decoded));
  return decoded;
}

}  // namespace engine::xls
