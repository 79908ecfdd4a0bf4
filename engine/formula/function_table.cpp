#include <algorithm>
#include <string>
#include <unordered_map>
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

// A name with its letter case folded the way equal_ignoring_case folds it,
// so that equal keys are exactly the names it calls equal. Function names
// are ASCII nearly always, which is folded without decoding.
std::string case_blind_key(std::string_view name) {
  if (!std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return to_lower(name);
  std::string key(name);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

// Parsing looks up every function call's name: a hash of the folded names
// rather than a scan comparing each entry case-blind.
const std::unordered_map<std::string, const FunctionSpec*>& functions_by_name() {
  static const std::unordered_map<std::string, const FunctionSpec*> table = [] {
    std::unordered_map<std::string, const FunctionSpec*> out;
    for (const FunctionSpec* spec : all_functions()) out.try_emplace(case_blind_key(spec->name), spec);
    return out;
  }();
  return table;
}

}  // namespace

const FunctionSpec* find_function(std::string_view name) {
  const auto& table = functions_by_name();
  const auto found = table.find(case_blind_key(name));
  return found == table.end() ? nullptr : found->second;
}

const FunctionSpec* find_function_by_index(int biff_index) {
  const auto& table = all_functions();
  auto it = std::find_if(table.begin(), table.end(),
                         [&](const FunctionSpec* spec) { return spec->biff_index == biff_index; });
  return it == table.end() ? nullptr : *it;
}

}  // namespace engine::formula
