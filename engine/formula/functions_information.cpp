// ISBLANK, ISNUMBER, ISTEXT, ISNONTEXT, ISLOGICAL, ISERROR, ISERR, ISNA:
// they look at a value without propagating its error. N and NA.
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
Operand isnontext(Arguments& args) { return Value(!args.scalar(0).is_text()); }
Operand islogical(Arguments& args) { return Value(args.scalar(0).is_boolean()); }
Operand iserror(Arguments& args) { return Value(args.scalar(0).is_error()); }
Operand isna(Arguments& args) {
  const Value v = args.scalar(0);
  return Value(v.is_error() && v.error() == CellError::NA);
}
Operand iserr(Arguments& args) {
  const Value v = args.scalar(0);
  return Value(v.is_error() && v.error() != CellError::NA);
}
Operand na(Arguments&) { return Value(CellError::NA); }

// A number as it is, TRUE as 1, anything else 0; of a reference, its
// first cell.
Operand n(Arguments& args) {
  const Operand operand = args.operand(0);
  Value v;
  if (operand.is_reference()) {
    const Area& a = operand.areas().front();
    v = args.context().cell_value({a.sheet, a.first_row, a.first_column});
  } else {
    v = args.scalar_of(operand);
  }
  if (v.is_error()) return v;
  if (v.is_number()) return v;
  return Value(v.is_boolean() && v.boolean() ? 1.0 : 0.0);
}

constexpr FunctionSpec table[] = {
    {"ISBLANK", 1, 1, 129, false, isblank},
    {"ISNUMBER", 1, 1, 128, false, isnumber, true},
    {"ISTEXT", 1, 1, 127, false, istext, true},
    {"ISNONTEXT", 1, 1, 190, false, isnontext, true},
    {"ISLOGICAL", 1, 1, 198, false, islogical, true},
    {"ISERROR", 1, 1, 3, false, iserror, true},
    {"ISERR", 1, 1, 126, false, iserr, true},
    {"ISNA", 1, 1, 2, false, isna, true},
    {"NA", 0, 0, 10, false, na},
    {"N", 1, 1, 131, false, n},
};

}  // namespace

std::span<const FunctionSpec> information_functions() { return table; }

}  // namespace engine::formula
