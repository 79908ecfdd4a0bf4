// DATE, TODAY, NOW, YEAR, MONTH, DAY.
#include <cmath>

#include "engine/formula/dates.hpp"
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {
namespace {

// Years 0-1899 are counted from 1900, as Excel does: DATE(103,1,1) is 2003.
Operand date(Arguments& args) {
  int year = to_index(args.number(0));
  const int month = to_index(args.number(1)), day = to_index(args.number(2));
  if (year >= 0 && year < 1900) year += 1900;
  if (year < 1900 || year > 9999 || std::abs(month) > 120000 || std::abs(day) > 3000000) return Value(CellError::Num);
  const double serial = serial_from_date(year, month, day);
  if (serial < 0 || serial > max_serial) return Value(CellError::Num);
  return Value(serial);
}

CivilDate date_argument(Arguments& args) {
  const double serial = args.number(0);
  if (serial < 0 || serial >= max_serial + 1) fail_with(CellError::Num);
  return date_from_serial(serial);
}

Operand today(Arguments& args) { return Value(std::floor(args.context().now())); }
Operand now(Arguments& args) { return Value(args.context().now()); }
Operand year(Arguments& args) { return Value(date_argument(args).year); }
Operand month(Arguments& args) { return Value(date_argument(args).month); }
Operand day(Arguments& args) { return Value(date_argument(args).day); }

constexpr FunctionSpec table[] = {
    {"DATE", 3, 3, 65, false, date},
    {"TODAY", 0, 0, 221, true, today},
    {"NOW", 0, 0, 74, true, now},
    {"YEAR", 1, 1, 69, false, year},
    {"MONTH", 1, 1, 68, false, month},
    {"DAY", 1, 1, 67, false, day},
};

}  // namespace

std::span<const FunctionSpec> date_functions() { return table; }

}  // namespace engine::formula
