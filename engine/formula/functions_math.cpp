// SUM, SUMIF, SUMPRODUCT, PRODUCT, SUBTOTAL, ROUND and its kin (ROUNDUP,
// ROUNDDOWN, TRUNC, INT, CEILING, FLOOR), ABS, SIGN, MOD, POWER, SQRT, PI.
#include <cmath>
#include <numbers>

#include "engine/formula/aggregates.hpp"
#include "engine/formula/criteria.hpp"
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {
namespace {

Value checked(double result) { return std::isfinite(result) ? Value(result) : Value(CellError::Num); }

Operand round_with(Arguments& args, Rounding rounding) {
  const double x = args.number(0);
  return checked(round_to_digits(x, to_index(args.number_or(1, 0)), rounding));
}

Operand round(Arguments& args) { return round_with(args, Rounding::Nearest); }
Operand roundup(Arguments& args) { return round_with(args, Rounding::Up); }
Operand rounddown(Arguments& args) { return round_with(args, Rounding::Down); }
Operand trunc(Arguments& args) { return round_with(args, Rounding::Down); }
Operand int_(Arguments& args) { return Value(std::floor(to_15_digits(args.number(0)))); }
Operand abs(Arguments& args) { return Value(std::fabs(args.number(0))); }
Operand sign(Arguments& args) {
  const double x = args.number(0);
  return Value(x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0);
}
Operand pi(Arguments&) { return Value(std::numbers::pi); }

// CEILING rounds away from zero and FLOOR towards it, to a multiple of the
// significance, which must have the number's sign.
Operand multiple_with(Arguments& args, bool away_from_zero) {
  const double x = args.number(0), significance = args.number(1);
  if (x == 0) return Value(0.0);
  if (significance == 0) return away_from_zero ? Value(0.0) : Value(CellError::Div0);
  if ((x > 0) != (significance > 0)) return Value(CellError::Num);
  const double steps = to_15_digits(x / significance);
  return checked((away_from_zero ? std::ceil(steps) : std::floor(steps)) * significance);
}
Operand ceiling(Arguments& args) { return multiple_with(args, true); }
Operand floor_(Arguments& args) { return multiple_with(args, false); }

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

// The sum of the products of the arrays' elements; the arrays must have
// one shape, and what is not a number counts as 0. Its arguments are array
// arguments: SUMPRODUCT((A1:A9>20)*B1:B9) compares and multiplies cell by cell.
Operand sumproduct(Arguments& args) {
  std::vector<double> products;
  int rows = 0, columns = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Array array = operand_array(args.context(), args.array_operand(i));
    if (i == 0) {
      products.assign(array.cells.size(), 1.0);
      rows = array.rows;
      columns = array.columns;
    } else if (array.rows != rows || array.columns != columns) {
      return Value(CellError::Value);
    }
    for (std::size_t k = 0; k < array.cells.size(); ++k) {
      const Value& v = array.cells[k];
      if (v.is_error()) return v;
      products[k] *= v.is_number() ? v.number() : 0.0;
    }
  }
  return sum_of(products);
}

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
// total over detail and subtotal rows counts each figure once, and the rows
// an AutoFilter hides, whatever the function number; 101-111 also skip the
// rows hidden by hand.
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
        if (context.row_filtered(area.sheet, row)) return;
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
    {"SUMPRODUCT", 1, 30, 228, false, sumproduct},
    {"SUMIF", 2, 3, 345, false, sumif},
    {"PRODUCT", 1, 30, 183, false, product},
    {"SUBTOTAL", 2, 30, 344, false, subtotal},
    {"ROUND", 2, 2, 27, false, round, true},
    {"ROUNDUP", 2, 2, 212, false, roundup, true},
    {"ROUNDDOWN", 2, 2, 213, false, rounddown, true},
    {"TRUNC", 1, 2, 197, false, trunc, true},
    {"INT", 1, 1, 25, false, int_, true},
    {"CEILING", 2, 2, 288, false, ceiling, true},
    {"FLOOR", 2, 2, 285, false, floor_, true},
    {"ABS", 1, 1, 24, false, abs, true},
    {"SIGN", 1, 1, 26, false, sign, true},
    {"PI", 0, 0, 19, false, pi},
    {"MOD", 2, 2, 39, false, mod, true},
    {"POWER", 2, 2, 337, false, power, true},
    {"SQRT", 1, 1, 20, false, sqrt, true},
};

}  // namespace

std::span<const FunctionSpec> math_functions() { return table; }

}  // namespace engine::formula
