// IF, AND, OR, NOT, TRUE, FALSE.
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {
namespace {

// Only the branch taken is evaluated; an absent third argument is FALSE,
// an empty one 0.
Operand if_(Arguments& args) {
  const Value condition = args.scalar(0);
  if (condition.is_error()) return condition;
  const std::size_t branch = to_boolean(condition) ? 1 : 2;
  if (branch >= args.size()) return Value(false);
  if (!args.present(branch)) return Value(0.0);
  return args.operand(branch);
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
