// ISBLANK, ISNUMBER, ISTEXT, ISERROR: they look at a value without
// propagating its error.
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {
namespace {

Operand isblank(Arguments& args) {
  const Operand operand = args.operand(0);
  return Value(operand.is_reference() && args.scalar_of(operand).is_empty());
}

Operand isnumber(Arguments& args) { return Value(args.scalar(0).is_number()); }
Operand istext(Arguments& args) { return Value(args.scalar(0).is_text()); }
Operand iserror(Arguments& args) { return Value(args.scalar(0).is_error()); }

constexpr FunctionSpec table[] = {
    {"ISBLANK", 1, 1, 129, false, isblank},
    {"ISNUMBER", 1, 1, 128, false, isnumber},
    {"ISTEXT", 1, 1, 127, false, istext},
    {"ISERROR", 1, 1, 3, false, iserror},
};

}  // namespace

std::span<const FunctionSpec> information_functions() { return table; }

}  // namespace engine::formula
