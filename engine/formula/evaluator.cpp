#include "engine/formula/evaluator.hpp"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <utility>

#include "engine/formula/dates.hpp"
#include "engine/formula/functions.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// Names may refer to names; a chain this long is a loop.
constexpr int max_name_depth = 32;

Value checked(double result) {
  if (!std::isfinite(result)) return Value(CellError::Num);
  return Value(result);
}

// Arithmetic on two numbers; errors of the operands come first, left side first.
Value arithmetic(Operator op, const Value& left, const Value& right) {
  if (left.is_error()) return left;
  if (right.is_error()) return right;
  double a = 0, b = 0;
  try {
    a = to_number(left);
    b = to_number(right);
  } catch (const ErrorResult& e) {
    return Value(e.error);
  }
  switch (op) {
    case Operator::Add: return checked(a + b);
    case Operator::Subtract: return checked(a - b);
    case Operator::Multiply: return checked(a * b);
    case Operator::Divide: return b == 0 ? Value(CellError::Div0) : checked(a / b);
    case Operator::Power:
      if (a == 0 && b == 0) return Value(CellError::Num);
      if (a == 0 && b < 0) return Value(CellError::Div0);
      return checked(std::pow(a, b));
    default: return Value(CellError::Value);
  }
}

Value comparison(Operator op, const Value& left, const Value& right) {
  if (left.is_error()) return left;
  if (right.is_error()) return right;
  const int c = compare_values(left, right);
  switch (op) {
    case Operator::Equal: return Value(c == 0);
    case Operator::NotEqual: return Value(c != 0);
    case Operator::Less: return Value(c < 0);
    case Operator::Greater: return Value(c > 0);
    case Operator::LessEqual: return Value(c <= 0);
    default: return Value(c >= 0);
  }
}

Value scalar_operation(Operator op, const Value& left, const Value& right) {
  if (op == Operator::Concat) {
    if (left.is_error()) return left;
    if (right.is_error()) return right;
    return Value(value_to_text(left) + value_to_text(right));
  }
  if (op >= Operator::Equal) return comparison(op, left, right);
  return arithmetic(op, left, right);
}

// Array constants combine element by element; a single value (or a single
// row or column) is stretched over the other side, as Excel does.
Array elementwise(const Array& a, const Array& b, Operator op) {
  Array out;
  out.rows = std::max(a.rows, b.rows);
  out.columns = std::max(a.columns, b.columns);
  // A row stretched over a column could make rows x columns values: past
  // the largest array, the result is #NUM! as for a reference too large.
  if (static_cast<double>(out.rows) * out.columns > max_array_cells) return Array{1, 1, {Value(CellError::Num)}};
  for (int r = 0; r < out.rows; ++r)
    for (int c = 0; c < out.columns; ++c)
      out.cells.push_back(scalar_operation(op, stretched_at(a, r, c), stretched_at(b, r, c)));
  return out;
}

Array as_array(const Value& value) { return Array{1, 1, {value}}; }

std::optional<Area> intersect(const Area& a, const Area& b) {
  if (a.sheet != b.sheet) return std::nullopt;
  Area out{a.sheet, std::max(a.first_row, b.first_row), std::max(a.first_column, b.first_column),
           std::min(a.last_row, b.last_row), std::min(a.last_column, b.last_column)};
  if (out.first_row > out.last_row || out.first_column > out.last_column) return std::nullopt;
  return out;
}

// The area the reference covers from a cell `offset` away from where it
// was written; nothing when that leaves the grid.
std::optional<Area> area_of(const Reference& r, SheetId sheet, Offset offset) {
  if (offset.is_zero()) return Area{sheet, r.first.row, r.first.column, r.last.row, r.last.column};
  const CellRef first = moved_corner(r, r.first, offset);
  const CellRef last = moved_corner(r, r.last, offset);
  if (!on_grid(first) || !on_grid(last)) return std::nullopt;
  return Area{sheet, std::min(first.row, last.row), std::min(first.column, last.column),
              std::max(first.row, last.row), std::max(first.column, last.column)};
}

}  // namespace

double to_number(const Value& value) {
  if (value.is_number()) return value.number();
  if (value.is_empty()) return 0;
  if (value.is_boolean()) return value.boolean() ? 1 : 0;
  if (value.is_error()) fail_with(value.error());
  if (auto n = number_from_any_text(value.text())) return *n;
  fail_with(CellError::Value);
}

std::string to_text(const Value& value) {
  if (value.is_error()) fail_with(value.error());
  return value_to_text(value);
}

bool to_boolean(const Value& value) {
  if (value.is_boolean()) return value.boolean();
  if (value.is_number()) return value.number() != 0;
  if (value.is_empty()) return false;
  if (value.is_error()) fail_with(value.error());
  if (equal_ignoring_case(value.text(), "TRUE")) return true;
  if (equal_ignoring_case(value.text(), "FALSE")) return false;
  fail_with(CellError::Value);
}

Value stretched_at(const Array& array, int row, int column) {
  const int r = array.rows == 1 ? 0 : row, c = array.columns == 1 ? 0 : column;
  if (r >= array.rows || c >= array.columns) return Value(CellError::NA);
  return array.at(r, c);
}

DateReading reading_for(const Arguments& args) {
  DateReading reading;
  reading.current_year = year_of_serial(args.context().now());
  return reading;
}

int to_index(double number) {
  if (number < -2147483648.0 || number > 2147483647.0) fail_with(CellError::Value);
  return static_cast<int>(std::floor(number));
}

Operand Evaluator::evaluate(const Node& node) {
  switch (node.kind) {
    case NodeKind::Number: return Value(node.number);
    case NodeKind::Text: return Value(node.text);
    case NodeKind::Boolean: return Value(node.boolean);
    case NodeKind::Error: return Value(node.error);
    case NodeKind::DeletedReference: return Value(CellError::Ref);
    case NodeKind::Missing: return Value();
    case NodeKind::Array: {
      Array array{static_cast<int>(node.array.size()), static_cast<int>(node.array.front().size()), {}};
      for (const auto& row : node.array) array.cells.insert(array.cells.end(), row.begin(), row.end());
      return array;
    }
    case NodeKind::Reference: return reference(node.reference);
    case NodeKind::Name: return name(node);
    case NodeKind::Call: return call(node);
    case NodeKind::Unary: return unary(node);
    case NodeKind::Percent: {
      Operand inner = operator_operand(evaluate(node.children[0]));
      if (inner.is_array()) return elementwise(inner.array(), as_array(Value(100.0)), Operator::Divide);
      return arithmetic(Operator::Divide, scalar(inner), Value(100.0));
    }
    case NodeKind::Binary: return binary(node);
    case NodeKind::Paren: return evaluate(node.children[0]);
  }
  return Value(CellError::Value);
}

namespace {

// Appends the areas the reference covers, read from a cell of `sheet`
// `offset` away from where it was written; nothing for a sheet the
// workbook lacks or a cell moved off the grid. `Areas` is the evaluator's
// inline list or the dependency graph's vector.
template <typename Areas>
void append_areas(const Reference& r, SheetId sheet, Offset offset, const EvalContext& context, Areas& areas) {
  if (r.sheet.empty()) {
    if (auto area = area_of(r, sheet, offset)) areas.push_back(*area);
  } else if (!r.last_sheet.empty()) {
    for (SheetId each : context.sheets_between(r.sheet, r.last_sheet))
      if (auto area = area_of(r, each, offset)) areas.push_back(*area);
  } else if (const auto named = context.sheet_by_name(r.sheet)) {
    if (auto area = area_of(r, *named, offset)) areas.push_back(*area);
  }
}

}  // namespace

Operand Evaluator::reference(const Reference& r) const {
  AreaList areas;
  append_areas(r, origin_.sheet, offset_, context_, areas);
  if (areas.empty()) return Value(CellError::Ref);
  return areas;
}

Operand Evaluator::evaluate_unmoved(const Node& node) {
  const Offset offset = std::exchange(offset_, Offset{});
  Operand result = evaluate(node);
  offset_ = offset;
  return result;
}

Operand Evaluator::name(const Node& node) {
  SheetId sheet = origin_.sheet;
  if (!node.reference.sheet.empty()) {
    const auto named = context_.sheet_by_name(node.reference.sheet);
    if (!named) return Value(CellError::Ref);
    sheet = *named;
  }
  const auto definition = context_.name_definition(node.text, sheet);
  if (!definition || name_depth_ >= max_name_depth) return Value(CellError::Name);
  // A name met again gives what it gave the first time: the origin is the
  // same, and names that each use the next one twice would otherwise cost
  // two to the power of the chain's length.
  if (!name_values_) name_values_.emplace();
  auto& known_values = (*name_values_)[array_depth_ > 0 ? 1 : 0];
  if (const auto known = known_values.find(definition.get()); known != known_values.end()) return known->second;
  ++name_depth_;
  Operand result = evaluate_unmoved(definition->root());
  --name_depth_;
  known_values.emplace(definition.get(), result);
  return result;
}

Operand Evaluator::call(const Node& node) {
  if (!node.function) return Value(CellError::Name);
  if (array_depth_ > 0 && node.function->lifts_over_arrays) return lifted_call(node);
  Arguments args(*this, node.children);
  try {
    return node.function->implementation(args);
  } catch (const ErrorResult& e) {
    return Value(e.error);
  }
}

namespace {

// A constant node holding the value, so that the function's own argument
// handling sees each element as if it had been typed.
Node literal_node(const Value& value) {
  Node node;
  if (value.is_number()) node.kind = NodeKind::Number, node.number = value.number();
  else if (value.is_text()) node.kind = NodeKind::Text, node.text = value.text();
  else if (value.is_boolean()) node.kind = NodeKind::Boolean, node.boolean = value.boolean();
  else if (value.is_error()) node.kind = NodeKind::Error, node.error = value.error();
  return node;  // empty: a Missing node, which reads as an empty value
}

}  // namespace

// The function applied to each element of its array arguments, single
// values and single rows or columns stretched over the others as operators
// stretch them; each argument is evaluated once.
Operand Evaluator::lifted_call(const Node& node) {
  std::vector<Array> arrays;
  int rows = 1, columns = 1;
  for (const Node& child : node.children) {
    Operand operand = operator_operand(evaluate(child));
    arrays.push_back(operand.is_array() ? operand.array() : as_array(scalar(operand)));
    rows = std::max(rows, arrays.back().rows);
    columns = std::max(columns, arrays.back().columns);
  }
  if (static_cast<double>(rows) * columns > max_array_cells) return Value(CellError::Num);
  Array out{rows, columns, {}};
  std::vector<Node> elements(node.children.size());
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      for (std::size_t i = 0; i < arrays.size(); ++i)
        elements[i] = node.children[i].kind == NodeKind::Missing ? Node{} : literal_node(stretched_at(arrays[i], r, c));
      Arguments args(*this, elements);
      try {
        out.cells.push_back(scalar(node.function->implementation(args)));
      } catch (const ErrorResult& e) {
        out.cells.emplace_back(e.error);
      }
    }
  }
  if (rows == 1 && columns == 1) return out.cells.front();
  return out;
}

Operand Evaluator::evaluate_as_array(const Node& node) {
  ++array_depth_;
  try {
    Operand result = evaluate(node);
    --array_depth_;
    return result;
  } catch (...) {
    --array_depth_;
    throw;
  }
}

Operand Evaluator::operator_operand(Operand operand) const {
  if (array_depth_ == 0 || !operand.is_reference()) return operand;
  try {
    return operand_array(context_, operand);
  } catch (const ErrorResult& e) {
    return Value(e.error);
  }
}

Operand Evaluator::unary(const Node& node) {
  Operand inner = operator_operand(evaluate(node.children[0]));
  // A leading "+" changes nothing, not even a reference or a text.
  if (node.op == Operator::Plus) return inner;
  if (inner.is_array()) return elementwise(as_array(Value(0.0)), inner.array(), Operator::Subtract);
  return arithmetic(Operator::Subtract, Value(0.0), scalar(inner));
}

Operand Evaluator::binary(const Node& node) {
  Operand left = evaluate(node.children[0]);
  Operand right = evaluate(node.children[1]);
  if (node.op == Operator::Range || node.op == Operator::Intersect || node.op == Operator::Union)
    return reference_operator(node.op, left, right);
  const Operand a = operator_operand(std::move(left)), b = operator_operand(std::move(right));
  if (a.is_array() || b.is_array()) {
    return elementwise(a.is_array() ? a.array() : as_array(scalar(a)), b.is_array() ? b.array() : as_array(scalar(b)),
                       node.op);
  }
  return scalar_operation(node.op, scalar(a), scalar(b));
}

Operand Evaluator::reference_operator(Operator op, const Operand& left, const Operand& right) const {
  if (left.is_value() && left.value().is_error()) return left;
  if (right.is_value() && right.value().is_error()) return right;
  if (!left.is_reference() || !right.is_reference()) return Value(CellError::Value);
  const auto& a = left.areas();
  const auto& b = right.areas();
  if (op == Operator::Union) {
    AreaList both = a;
    both.insert(both.end(), b.begin(), b.end());
    return both;
  }
  if (op == Operator::Intersect) {
    AreaList common;
    for (const Area& x : a)
      for (const Area& y : b)
        if (auto i = intersect(x, y)) common.push_back(*i);
    if (common.empty()) return Value(CellError::Null);
    return common;
  }
  Area bounds = a.front();
  for (const auto* list : {&a, &b}) {
    for (const Area& x : *list) {
      if (x.sheet != bounds.sheet) return Value(CellError::Value);
      bounds = Area{bounds.sheet, std::min(bounds.first_row, x.first_row), std::min(bounds.first_column, x.first_column),
                    std::max(bounds.last_row, x.last_row), std::max(bounds.last_column, x.last_column)};
    }
  }
  return AreaList{bounds};
}

Value Evaluator::scalar(const Operand& operand) const {
  if (operand.is_value()) return operand.value();
  if (operand.is_array()) return operand.array().cells.front();
  const auto& areas = operand.areas();
  if (areas.size() != 1) return Value(CellError::Value);
  const Area& a = areas.front();
  if (a.first_row == a.last_row && a.first_column == a.last_column)
    return context_.cell_value({a.sheet, a.first_row, a.first_column});
  // Implicit intersection: the cell of a column in the formula's row, or
  // of a row in the formula's column.
  if (a.first_column == a.last_column && origin_.row >= a.first_row && origin_.row <= a.last_row)
    return context_.cell_value({a.sheet, origin_.row, a.first_column});
  if (a.first_row == a.last_row && origin_.column >= a.first_column && origin_.column <= a.last_column)
    return context_.cell_value({a.sheet, a.first_row, origin_.column});
  return Value(CellError::Value);
}

Operand Arguments::operand(std::size_t i) {
  if (i >= nodes_.size()) return Value();
  return evaluator_.evaluate(nodes_[i]);
}

Operand Arguments::array_operand(std::size_t i) {
  if (i >= nodes_.size()) return Value();
  return evaluator_.evaluate_as_array(nodes_[i]);
}

Value Arguments::scalar(std::size_t i) { return evaluator_.scalar(operand(i)); }

AreaList Arguments::reference(std::size_t i) {
  Operand value = operand(i);
  if (value.is_value() && value.value().is_error()) fail_with(value.value().error());
  if (!value.is_reference()) fail_with(CellError::Value);
  return value.areas();
}

void visit_areas(const EvalContext& context, std::span<const Area> areas, const EvalContext::CellVisitor& visit) {
  for (const Area& area : areas) context.visit_cells(area, visit);
}

double area_cell_count(std::span<const Area> areas) {
  double count = 0;
  for (const Area& a : areas)
    count += static_cast<double>(a.last_row - a.first_row + 1) * static_cast<double>(a.last_column - a.first_column + 1);
  return count;
}

Numbers collect_numbers(Arguments& args, std::size_t from, DirectValues rule, std::size_t to) {
  Numbers numbers;
  const bool counting = rule == DirectValues::Count;
  auto from_cell = [&](const Value& v) {
    if (v.is_number()) numbers.push_back(v.number());
    else if (v.is_error() && !counting) fail_with(v.error());
  };
  for (std::size_t i = from; i < std::min(to, args.size()); ++i) {
    const Operand operand = args.operand(i);
    if (operand.is_reference()) {
      visit_areas(args.context(), operand.areas(), [&](int, int, const Value& v) { from_cell(v); });
    } else if (operand.is_array()) {
      for (const Value& v : operand.array().cells) from_cell(v);
    } else if (!args.present(i)) {
      if (!counting) numbers.push_back(0);
    } else if (counting) {
      const Value& v = operand.value();
      if (v.is_number() || v.is_boolean()) numbers.push_back(v.is_number() ? v.number() : v.boolean());
      else if (v.is_text())
        if (auto n = number_from_any_text(v.text())) numbers.push_back(*n);
    } else {
      numbers.push_back(to_number(operand.value()));
    }
  }
  return numbers;
}

Array operand_array(const EvalContext& context, const Operand& operand) {
  if (operand.is_array()) return operand.array();
  if (operand.is_value()) return Array{1, 1, {operand.value()}};
  const auto& areas = operand.areas();
  if (areas.size() != 1) fail_with(CellError::Value);
  if (area_cell_count(areas) > max_array_cells) fail_with(CellError::Num);
  const Area& a = areas.front();
  Array out{a.last_row - a.first_row + 1, a.last_column - a.first_column + 1, {}};
  out.cells.resize(static_cast<std::size_t>(out.rows) * static_cast<std::size_t>(out.columns));
  context.visit_cells(a, [&](int row, int column, const Value& v) {
    out.cells[static_cast<std::size_t>((row - a.first_row) * out.columns + column - a.first_column)] = v;
  });
  return out;
}

Value evaluate(const Formula& formula, const EvalContext& context, const CellAddress& origin) {
  Evaluator evaluator(context, origin, offset_from_anchor(formula, origin.row, origin.column));
  Value result = evaluator.scalar(evaluator.evaluate(formula.root()));
  return result.is_empty() ? Value(0.0) : result;
}

std::vector<Value> evaluate_array(const Formula& formula, const EvalContext& context, const CellAddress& origin,
                                  int rows, int columns) {
  Evaluator evaluator(context, origin, offset_from_anchor(formula, origin.row, origin.column));
  Array result;
  try {
    result = operand_array(context, evaluator.evaluate_as_array(formula.root()));
  } catch (const ErrorResult& e) {
    result = Array{1, 1, {Value(e.error)}};
  }
  std::vector<Value> cells;
  cells.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      Value v = stretched_at(result, r, c);
      cells.push_back(v.is_empty() ? Value(0.0) : std::move(v));
    }
  }
  return cells;
}

std::vector<Area> precedent_areas(const Formula& formula, const CellAddress& origin, const EvalContext& context) {
  const SheetId sheet = origin.sheet;
  std::vector<Area> areas;
  std::vector<std::pair<const Formula*, int>> pending{{&formula, 0}};
  std::vector<std::shared_ptr<const Formula>> definitions;  // keeps the names' formulas alive while walked
  std::unordered_set<const Formula*> walked;
  const Offset offset = offset_from_anchor(formula, origin.row, origin.column);
  while (!pending.empty()) {
    auto [current, depth] = pending.back();
    pending.pop_back();
    visit_nodes(current->root(), [&](const Node& node) {
      if (node.kind == NodeKind::Reference) {
        // A name's definition is read as written.
        append_areas(node.reference, sheet, depth == 0 ? offset : Offset{}, context, areas);
      } else if (node.kind == NodeKind::Name && depth < max_name_depth) {
        // Each definition is walked once, however many names lead to it.
        SheetId scope = sheet;
        if (!node.reference.sheet.empty()) {
          const auto named = context.sheet_by_name(node.reference.sheet);
          if (!named) return;
          scope = *named;
        }
        auto definition = context.name_definition(node.text, scope);
        if (definition && walked.insert(definition.get()).second) {
          definitions.push_back(definition);
          pending.emplace_back(definition.get(), depth + 1);
        }
      }
    });
  }
  return areas;
}

}  // namespace engine::formula
