// AVERAGE, MIN, MAX, COUNT, COUNTA, COUNTBLANK, COUNTIF, STDEV, VAR.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/formula/aggregates.hpp"
#include "engine/formula/criteria.hpp"
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {

Value sum_of(const std::vector<double>& numbers) {
  const double total = std::accumulate(numbers.begin(), numbers.end(), 0.0);
  return std::isfinite(total) ? Value(total) : Value(CellError::Num);
}

Value average_of(const std::vector<double>& numbers) {
  if (numbers.empty()) return Value(CellError::Div0);
  const Value total = sum_of(numbers);
  return total.is_error() ? total : Value(total.number() / static_cast<double>(numbers.size()));
}

Value min_of(const std::vector<double>& numbers) {
  return numbers.empty() ? Value(0.0) : Value(*std::min_element(numbers.begin(), numbers.end()));
}

Value max_of(const std::vector<double>& numbers) {
  return numbers.empty() ? Value(0.0) : Value(*std::max_element(numbers.begin(), numbers.end()));
}

Value product_of(const std::vector<double>& numbers) {
  if (numbers.empty()) return Value(0.0);
  const double product = std::accumulate(numbers.begin(), numbers.end(), 1.0, std::multiplies<>());
  return std::isfinite(product) ? Value(product) : Value(CellError::Num);
}

Value variance_of(const std::vector<double>& numbers, bool population) {
  const std::size_t needed = population ? 1 : 2;
  if (numbers.size() < needed) return Value(CellError::Div0);
  const double mean = std::accumulate(numbers.begin(), numbers.end(), 0.0) / static_cast<double>(numbers.size());
  double squares = 0;
  for (double x : numbers) squares += (x - mean) * (x - mean);
  return Value(squares / static_cast<double>(numbers.size() - (population ? 0 : 1)));
}

Value deviation_of(const std::vector<double>& numbers, bool population) {
  const Value variance = variance_of(numbers, population);
  return variance.is_error() ? variance : Value(std::sqrt(variance.number()));
}

namespace {

Operand average(Arguments& args) { return average_of(collect_numbers(args, 0, DirectValues::Convert)); }
Operand min(Arguments& args) { return min_of(collect_numbers(args, 0, DirectValues::Convert)); }
Operand max(Arguments& args) { return max_of(collect_numbers(args, 0, DirectValues::Convert)); }
Operand stdev(Arguments& args) { return deviation_of(collect_numbers(args, 0, DirectValues::Convert), false); }
Operand var(Arguments& args) { return variance_of(collect_numbers(args, 0, DirectValues::Convert), false); }

Operand count(Arguments& args) {
  return Value(static_cast<double>(collect_numbers(args, 0, DirectValues::Count).size()));
}

Operand counta(Arguments& args) {
  double n = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Operand operand = args.operand(i);
    if (operand.is_reference()) {
      visit_areas(args.context(), operand.areas(), [&](int, int, const Value&) { ++n; });
    } else if (operand.is_array()) {
      n += static_cast<double>(operand.array().cells.size());
    } else if (args.present(i)) {
      ++n;
    }
  }
  return Value(n);
}

// Blank cells are the ones never visited plus those holding "".
Operand countblank(Arguments& args) {
  const auto areas = args.reference(0);
  double filled = 0;
  visit_areas(args.context(), areas, [&](int, int, const Value& v) {
    if (!(v.is_text() && v.text().empty())) ++filled;
  });
  return Value(area_cell_count(areas) - filled);
}

Operand countif(Arguments& args) {
  const auto areas = args.reference(0);
  const Criterion criterion(args.scalar(1));
  double matched = 0, visited = 0;
  visit_areas(args.context(), areas, [&](int, int, const Value& v) {
    ++visited;
    if (criterion.matches(v)) ++matched;
  });
  if (criterion.matches(Value())) matched += area_cell_count(areas) - visited;
  return Value(matched);
}

constexpr FunctionSpec table[] = {
    {"AVERAGE", 1, 30, 5, false, average},
    {"MIN", 1, 30, 6, false, min},
    {"MAX", 1, 30, 7, false, max},
    {"COUNT", 0, 30, 0, false, count},
    {"COUNTA", 1, 30, 169, false, counta},
    {"COUNTBLANK", 1, 1, 347, false, countblank},
    {"COUNTIF", 2, 2, 346, false, countif},
    {"STDEV", 1, 30, 12, false, stdev},
    {"VAR", 1, 30, 46, false, var},
};

}  // namespace

std::span<const FunctionSpec> statistical_functions() { return table; }

}  // namespace engine::formula
