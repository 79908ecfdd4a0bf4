// The computations shared by the aggregate functions and SUBTOTAL, over the
// numbers already picked from the arguments.
#pragma once

#include <span>

#include "engine/formula/value.hpp"

namespace engine::formula {

Value sum_of(std::span<const double> numbers);
Value average_of(std::span<const double> numbers);
Value min_of(std::span<const double> numbers);
Value max_of(std::span<const double> numbers);
Value product_of(std::span<const double> numbers);
Value variance_of(std::span<const double> numbers, bool population);
Value deviation_of(std::span<const double> numbers, bool population);

}  // namespace engine::formula
