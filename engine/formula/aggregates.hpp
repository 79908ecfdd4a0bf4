// The computations shared by the aggregate functions and SUBTOTAL, over the
// numbers already picked from the arguments.
#pragma once

#include <vector>

#include "engine/formula/value.hpp"

namespace engine::formula {

Value sum_of(const std::vector<double>& numbers);
Value average_of(const std::vector<double>& numbers);
Value min_of(const std::vector<double>& numbers);
Value max_of(const std::vector<double>& numbers);
Value product_of(const std::vector<double>& numbers);
Value variance_of(const std::vector<double>& numbers, bool population);
Value deviation_of(const std::vector<double>& numbers, bool population);

}  // namespace engine::formula
