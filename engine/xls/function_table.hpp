// Excel's numbering of worksheet functions in BIFF8 formula tokens, with
// what the token stream needs to know of each: the argument counts (fixed
// counts use tFunc, others tFuncVar) and the operand class each argument
// is passed in (a reference for SUM's arguments, a value for ROUND's).
#pragma once

#include <string_view>

namespace engine::xls {

struct BiffFunction {
  int index;
  std::string_view name;
  int min_args;
  int max_args;
  bool returns_reference;      // INDEX, OFFSET, INDIRECT, IF, CHOOSE
  std::string_view arg_classes;  // 'V', 'R' or 'A' per argument; the last repeats
};

const BiffFunction* biff_function_by_index(int index);
const BiffFunction* biff_function_by_name(std::string_view name);  // letter case ignored

// The class of argument `position` (0-based): 'V', 'R' or 'A'.
char argument_class(const BiffFunction& function, std::size_t position);

}  // namespace engine::xls
