// AVERAGE, MIN, MAX, MEDIAN, MODE, LARGE, SMALL, RANK, COUNT, COUNTA,
// COUNTBLANK, COUNTIF, STDEV, STDEVP, VAR, VARP.
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "engine/formula/aggregates.hpp"
#include "engine/formula/criteria.hpp"
#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"

namespace engine::formula {

Value sum_of(std::span<const double> numbers) {
  const double total = std::accumulate(numbers.begin(), numbers.end(), 0.0);
  return std::isfinite(total) ? Value(total) : Value(CellError::Num);
}

Value average_of(std::span<const double> numbers) {
  if (numbers.empty()) return Value(CellError::Div0);
  const Value total = sum_of(numbers);
  return total.is_error() ? total : Value(total.number() / static_cast<double>(numbers.size()));
}

Value min_of(std::span<const double> numbers) {
  return numbers.empty() ? Value(0.0) : Value(*std::min_element(numbers.begin(), numbers.end()));
}

Value max_of(std::span<const double> numbers) {
  return numbers.empty() ? Value(0.0) : Value(*std::max_element(numbers.begin(), numbers.end()));
}

Value product_of(std::span<const double> numbers) {
  if (numbers.empty()) return Value(0.0);
  const double product = std::accumulate(numbers.begin(), numbers.end(), 1.0, std::multiplies<>());
  return std::isfinite(product) ? Value(product) : Value(CellError::Num);
}

Value variance_of(std::span<const double> numbers, bool population) {
  const std::size_t needed = population ? 1 : 2;
  if (numbers.size() < needed) return Value(CellError::Div0);
  const double mean = std::accumulate(numbers.begin(), numbers.end(), 0.0) / static_cast<double>(numbers.size());
  double squares = 0;
  for (double x : numbers) squares += (x - mean) * (x - mean);
  return Value(squares / static_cast<double>(numbers.size() - (population ? 0 : 1)));
}

Value deviation_of(std::span<const double> numbers, bool population) {
  const Value variance = variance_of(numbers, population);
  return variance.is_error() ? variance : Value(std::sqrt(variance.number()));
}

namespace {

Operand average(Arguments& args) { return average_of(collect_numbers(args, 0, DirectValues::Convert)); }
Operand min(Arguments& args) { return min_of(collect_numbers(args, 0, DirectValues::Convert)); }
Operand max(Arguments& args) { return max_of(collect_numbers(args, 0, DirectValues::Convert)); }
Operand stdev(Arguments& args) { return deviation_of(collect_numbers(args, 0, DirectValues::Convert), false); }
Operand var(Arguments& args) { return variance_of(collect_numbers(args, 0, DirectValues::Convert), false); }
Operand stdevp(Arguments& args) { return deviation_of(collect_numbers(args, 0, DirectValues::Convert), true); }
Operand varp(Arguments& args) { return variance_of(collect_numbers(args, 0, DirectValues::Convert), true); }

Operand median(Arguments& args) {
  Numbers numbers = collect_numbers(args, 0, DirectValues::Convert);
  if (numbers.empty()) return Value(CellError::Num);
  const std::size_t half = numbers.size() / 2;
  std::nth_element(numbers.begin(), numbers.begin() + static_cast<std::ptrdiff_t>(half), numbers.end());
  const double upper = numbers[half];
  if (numbers.size() % 2 == 1) return Value(upper);
  const double lower = *std::max_element(numbers.begin(), numbers.begin() + static_cast<std::ptrdiff_t>(half));
  return Value(lower + (upper - lower) / 2);
}

// The value met most often; among equally frequent values the one met
// first; #N/A when no value repeats.
Operand mode(Arguments& args) {
  const Numbers numbers = collect_numbers(args, 0, DirectValues::Convert);
  std::map<double, std::pair<int, std::size_t>> seen;  // value -> count, first position
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    auto [entry, added] = seen.try_emplace(numbers[i], 0, i);
    ++entry->second.first;
  }
  const std::pair<const double, std::pair<int, std::size_t>>* best = nullptr;
  for (const auto& entry : seen) {
    const auto [count, first] = entry.second;
    if (count > 1 && (!best || count > best->second.first || (count == best->second.first && first < best->second.second)))
      best = &entry;
  }
  return best ? Value(best->first) : Value(CellError::NA);
}

// The k-th largest (or smallest) number of the first argument.
Operand kth(Arguments& args, bool largest) {
  Numbers numbers = collect_numbers(args, 0, DirectValues::Convert, 1);
  const double k = std::ceil(args.number(1));
  if (k < 1 || k > static_cast<double>(numbers.size())) return Value(CellError::Num);
  const auto at = numbers.begin() + static_cast<std::ptrdiff_t>(k - 1);
  if (largest) std::nth_element(numbers.begin(), at, numbers.end(), std::greater<>());
  else std::nth_element(numbers.begin(), at, numbers.end());
  return Value(*at);
}
Operand large(Arguments& args) { return kth(args, true); }
Operand small(Arguments& args) { return kth(args, false); }

// The number's place in the numbers of a reference: 1 for the largest, or
// with a non-zero order 1 for the smallest; ties share the best place.
Operand rank(Arguments& args) {
  const double number = args.number(0);
  const auto areas = args.reference(1);
  const bool ascending = args.number_or(2, 0) != 0;
  double before = 0;
  bool found = false;
  visit_areas(args.context(), areas, [&](int, int, const Value& v) {
    if (!v.is_number()) return;
    if (v.number() == number) found = true;
    else if (ascending ? v.number() < number : v.number() > number) ++before;
  });
  return found ? Value(before + 1) : Value(CellError::NA);
}

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
    {"MEDIAN", 1, 30, 227, false, median},
    {"MODE", 1, 30, 330, false, mode},
    {"LARGE", 2, 2, 325, false, large},
    {"SMALL", 2, 2, 326, false, small},
    {"RANK", 2, 3, 216, false, rank},
    {"COUNT", 0, 30, 0, false, count},
    {"COUNTA", 1, 30, 169, false, counta},
    {"COUNTBLANK", 1, 1, 347, false, countblank},
    {"COUNTIF", 2, 2, 346, false, countif},
    {"STDEV", 1, 30, 12, false, stdev},
    {"VAR", 1, 30, 46, false, var},
    {"STDEVP", 1, 30, 193, false, stdevp},
    {"VARP", 1, 30, 194, false, varp},
};

}  // namespace

std::span<const FunctionSpec> statistical_functions() { return table; }

}  // namespace engine::formula
