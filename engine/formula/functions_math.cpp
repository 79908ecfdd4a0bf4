// SUM, SUMIF, PRODUCT, SUBTOTAL, ROUND and its kin, INT, ABS, MOD, POWER, SQRT.
#include <cmath>

#include "engine/formula/aggregates.hpp"
#include "engine/formula/criteria.hpp"
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {
namespace {

Value checked(double result) { return std::isfinite(result) ? Value(result) : Value(CellError::Num); }

// Cuts a product like 2.675 * 100 = 267.49999999999997 back to the 15
// digits Excel works with, so that rounding sees the number the user sees.
double to_15_digits(double x) {
  if (x == 0 || !std::isfinite(x)) return x;
  const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(x))));
  const double scale = std::pow(10.0, 14 - magnitude);
  return std::round(x * scale) / scale;
}

enum class Rounding { Nearest, Up, Down };

Operand round_with(Arguments& args, Rounding rounding) {
  const double x = args.number(0);
  const int digits = to_index(args.number(1));
  if (digits > 15) return Value(x);
  const double scale = std::pow(10.0, std::abs(digits));
  double scaled = to_15_digits(digits >= 0 ? x * scale : x / scale);
  switch (rounding) {
    case Rounding::Nearest: scaled = std::round(scaled); break;  // halves away from zero
    case Rounding::Up: scaled = scaled < 0 ? std::floor(scaled) : std::ceil(scaled); break;
    case Rounding::Down: scaled = std::trunc(scaled); break;
  }
  return checked(digits >= 0 ? scaled / scale : scaled * scale);
}

Operand round(Arguments& args) { return round_with(args, Rounding::Nearest); }
Operand roundup(Arguments& args) { return round_with(args, Rounding::Up); }
Operand rounddown(Arguments& args) { return round_with(args, Rounding::Down); }
Operand int_(Arguments& args) { return Value(std::floor(args.number(0))); }
Operand abs(Arguments& args) { return Value(std::fabs(args.number(0))); }

Operand mod(Arguments& args) {
  const double n = args.number(0), d = args.number(1);
  if (d == 0) return Value(CellError::Div0);
  return checked(n - d * std::floor(n / d));
}

Operand power(Arguments& args) {
  const double base = args.number(0), exponent = args.number(1);
  if (base == 0 && exponent == 0) return Value(CellError::Num);
  if (base == 0 && exponent < 0) return Value(CellError::Div0);
  return checked(std::pow(base, exponent));
}

Operand sqrt(Arguments& args) {
  const double x = args.number(0);
  return x < 0 ? Value(CellError::Num) : Value(std::sqrt(x));
}

Operand sum(Arguments& args) { return sum_of(collect_numbers(args, 0, DirectValues::Convert)); }
Operand product(Arguments& args) { return product_of(collect_numbers(args, 0, DirectValues::Convert)); }

// The sum range takes the criteria range's size from its own top-left cell.
Operand sumif(Arguments& args) {
  const auto criteria_areas = args.reference(0);
  if (criteria_areas.size() != 1) fail_with(CellError::Value);
  const Area criteria_area = criteria_areas.front();
  const Criterion criterion(args.scalar(1));
  Area sum_area = criteria_area;
  if (args.present(2)) {
    const auto sum_areas = args.reference(2);
    const Area& given = sum_areas.front();
    sum_area = Area{given.sheet, given.first_row, given.first_column,
                    given.first_row + criteria_area.last_row - criteria_area.first_row,
                    given.first_column + criteria_area.last_column - criteria_area.first_column};
    if (sum_area.last_row >= max_rows || sum_area.last_column >= max_columns) fail_with(CellError::Ref);
  }
  const int dr = sum_area.first_row - criteria_area.first_row, dc = sum_area.first_column - criteria_area.first_column;
  const EvalContext& context = args.context();
  double total = 0;
  if (criterion.matches(Value())) {
    // Blank criteria cells match: walk the numbers to add instead.
    context.visit_cells(sum_area, [&](int row, int column, const Value& v) {
      if (v.is_number() && criterion.matches(context.cell_value({criteria_area.sheet, row - dr, column - dc})))
        total += v.number();
    });
  } else {
    context.visit_cells(criteria_area, [&](int row, int column, const Value& v) {
      if (!criterion.matches(v)) return;
      const Value n = context.cell_value({sum_area.sheet, row + dr, column + dc});
      if (n.is_number()) total += n.number();
    });
  }
  return checked(total);
}

// SUBTOTAL skips the cells that hold SUBTOTALs themselves, so that a grand
// total over detail and subtotal rows counts each figure once; 101-111
// also skip hidden rows.
Operand subtotal(Arguments& args) {
  const int code = to_index(args.number(0));
  const int function = code > 100 ? code - 100 : code;
  if (function < 1 || function > 11 || (code > 11 && code < 101)) return Value(CellError::Value);
  const bool skip_hidden = code > 100;
  const EvalContext& context = args.context();
  std::vector<double> numbers;
  double nonempty = 0;
  for (std::size_t i = 1; i < args.size(); ++i) {
    for (const Area& area : args.reference(i)) {
      context.visit_cells(area, [&](int row, int column, const Value& v) {
        if (skip_hidden && context.row_hidden(area.sheet, row)) return;
        if (context.holds_subtotal({area.sheet, row, column})) return;
        if (v.is_error()) fail_with(v.error());
        ++nonempty;
        if (v.is_number()) numbers.push_back(v.number());
      });
    }
  }
  switch (function) {
    case 1: return average_of(numbers);
    case 2: return Value(static_cast<double>(numbers.size()));
    case 3: return Value(nonempty);
    case 4: return max_of(numbers);
    case 5: return min_of(numbers);
    case 6: return product_of(numbers);
    case 7: return deviation_of(numbers, false);
    case 8: return deviation_of(numbers, true);
    case 9: return sum_of(numbers);
    case 10: return variance_of(numbers, false);
    default: return variance_of(numbers, true);
  }
}

constexpr FunctionSpec table[] = {
    {"SUM", 0, 30, 4, false, sum},
    {"SUMIF", 2, 3, 345, false, sumif},
    {"PRODUCT", 1, 30, 183, false, product},
    {"SUBTOTAL", 2, 30, 344, false, subtotal},
    {"ROUND", 2, 2, 27, false, round},
    {"ROUNDUP", 2, 2, 212, false, roundup},
    {"ROUNDDOWN", 2, 2, 213, false, rounddown},
    {"INT", 1, 1, 25, false, int_},
    {"ABS", 1, 1, 24, false, abs},
    {"MOD", 2, 2, 39, false, mod},
    {"POWER", 2, 2, 337, false, power},
    {"SQRT", 1, 1, 20, false, sqrt},
};

}  // namespace

std::span<const FunctionSpec> math_functions() { return table; }

}  // namespace engine::formula
