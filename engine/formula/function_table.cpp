#include <algorithm>
#include <vector>

#include "engine/formula/functions.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// Every family's entries in one list, built once on first use and never
// changed afterwards.
const std::vector<const FunctionSpec*>& all_functions() {
  static const std::vector<const FunctionSpec*> table = [] {
    std::vector<const FunctionSpec*> out;
    for (auto family : {math_functions(), statistical_functions(), logical_functions(), text_functions(),
                        date_functions(), lookup_functions(), information_functions(), financial_functions()})
      for (const FunctionSpec& spec : family) out.push_back(&spec);
    return out;
  }();
  return table;
}

}  // namespace

const FunctionSpec* find_function(std::string_view name) {
  const auto& table = all_functions();
  auto it = std::find_if(table.begin(), table.end(),
                         [&](const FunctionSpec* spec) { return equal_ignoring_case(spec->name, name); });
  return it == table.end() ? nullptr : *it;
}

const FunctionSpec* find_function_by_index(int biff_index) {
  const auto& table = all_functions();
  auto it = std::find_if(table.begin(), table.end(),
                         [&](const FunctionSpec* spec) { return spec->biff_index == biff_index; });
  return it == table.end() ? nullptr : *it;
}

}  // namespace engine::formula
