// IF, AND, OR, NOT, TRUE, FALSE.
#include <algorithm>

#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {
namespace {

// A branch as IF gives it: an absent third argument is FALSE, an empty one 0.
Operand branch_operand(Arguments& args, std::size_t branch) {
  if (branch >= args.size()) return Value(false);
  if (!args.present(branch)) return Value(0.0);
  return args.operand(branch);
}

Operand if_value(Arguments& args, const Value& condition) {
  if (condition.is_error()) return condition;
  return branch_operand(args, to_boolean(condition) ? 1 : 2);
}

// IF over an array of conditions (in an array formula or argument): both
// branches are computed, and each element takes its condition's branch,
// stretched over the conditions as operators stretch their operands.
Operand if_over_array(Arguments& args, const Array& conditions) {
  const Array when_true = operand_array(args.context(), branch_operand(args, 1));
  const Array when_false = operand_array(args.context(), branch_operand(args, 2));
  const int rows = std::max({conditions.rows, when_true.rows, when_false.rows});
  const int columns = std::max({conditions.columns, when_true.columns, when_false.columns});
  if (static_cast<double>(rows) * columns > max_array_cells) return Value(CellError::Num);
  Array out{rows, columns, {}};
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const Value condition = stretched_at(conditions, r, c);
      try {
        out.cells.push_back(stretched_at(to_boolean(condition) ? when_true : when_false, r, c));
      } catch (const ErrorResult& e) {
        out.cells.emplace_back(e.error);
      }
    }
  }
  return out;
}

// Only the branch taken is evaluated, unless the condition is an array.
Operand if_(Arguments& args) {
  if (args.in_array_argument()) {
    const Operand condition = args.operand(0);
    if (!condition.is_value()) return if_over_array(args, operand_array(args.context(), condition));
    return if_value(args, condition.value());
  }
  return if_value(args, args.scalar(0));
}

// The logical values of the arguments: cells holding text or nothing are
// skipped, text typed as an argument is #VALUE!; none at all is #VALUE!.
template <typename Combine>
Operand logical(Arguments& args, bool start, Combine combine) {
  bool result = start, any = false;
  auto take = [&](const Value& v) {
    if (v.is_error()) fail_with(v.error());
    if (v.is_number() || v.is_boolean()) {
      result = combine(result, to_boolean(v));
      any = true;
    }
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Operand operand = args.operand(i);
    if (operand.is_reference()) {
      visit_areas(args.context(), operand.areas(), [&](int, int, const Value& v) { take(v); });
    } else if (operand.is_array()) {
      for (const Value& v : operand.array().cells) take(v);
    } else {
      const Value& v = operand.value();
      take(v.is_text() ? Value(to_boolean(v)) : v);
    }
  }
  if (!any) return Value(CellError::Value);
  return Value(result);
}

Operand and_(Arguments& args) { return logical(args, true, [](bool a, bool b) { return a && b; }); }
Operand or_(Arguments& args) { return logical(args, false, [](bool a, bool b) { return a || b; }); }
Operand not_(Arguments& args) { return Value(!args.boolean(0)); }
Operand true_(Arguments&) { return Value(true); }
Operand false_(Arguments&) { return Value(false); }

constexpr FunctionSpec table[] = {
    {"IF", 2, 3, 1, false, if_},
    {"AND", 1, 30, 36, false, and_},
    {"OR", 1, 30, 37, false, or_},
    {"NOT", 1, 1, 38, false, not_, true},
    {"TRUE", 0, 0, 34, false, true_},
    {"FALSE", 0, 0, 35, false, false_},
};

}  // namespace

std::span<const FunctionSpec> logical_functions() { return table; }

}  // namespace engine::formula
