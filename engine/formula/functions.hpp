// The table of worksheet functions: one entry per function, the entries of
// each family in their own file (functions_math.cpp, functions_text.cpp...).
#pragma once

#include <span>
#include <string_view>

namespace engine::formula {

struct Operand;
class Arguments;
using Implementation = Operand (*)(Arguments& args);

struct FunctionSpec {
  std::string_view name;  // canonical, upper case
  int min_args;
  int max_args;           // Excel 2003 allows at most 30
  int biff_index;         // the function's number in BIFF8 tFunc/tFuncVar tokens
  bool is_volatile;       // recomputed at every recalculation
  Implementation implementation;
  // Takes single values only: inside an array argument it applies to each
  // element of an array given to it (LEN(A1:A3) is three lengths).
  bool lifts_over_arrays = false;
};

// The function of that name, letter case ignored; null when unknown.
const FunctionSpec* find_function(std::string_view name);

// The function stored under a BIFF8 number; null when not supported.
const FunctionSpec* find_function_by_index(int biff_index);

// Each family's entries.
std::span<const FunctionSpec> math_functions();
std::span<const FunctionSpec> statistical_functions();
std::span<const FunctionSpec> logical_functions();
std::span<const FunctionSpec> text_functions();
std::span<const FunctionSpec> date_functions();
std::span<const FunctionSpec> lookup_functions();
std::span<const FunctionSpec> information_functions();
std::span<const FunctionSpec> financial_functions();

}  // namespace engine::formula
