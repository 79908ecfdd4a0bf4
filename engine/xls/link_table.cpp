#include <algorithm>
#include <cctype>

#include "engine/xls/formula_codec.hpp"

namespace engine::xls {

namespace {
bool same_text(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

std::optional<int> LinkTable::sheet_index(std::string_view name) const {
  for (std::size_t i = 0; i < sheets_.size(); ++i)
    if (same_text(sheets_[i], name)) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<SheetSpan> LinkTable::entry(std::size_t index) const {
  return index < entries_.size() ? entries_[index] : std::nullopt;
}

std::uint16_t LinkTable::entry_for(SheetSpan span) {
  const auto it = std::find(entries_.begin(), entries_.end(), std::optional<SheetSpan>(span));
  if (it != entries_.end()) return static_cast<std::uint16_t>(it - entries_.begin());
  add_entry(span);
  return static_cast<std::uint16_t>(entries_.size() - 1);
}

void LinkTable::add_addin_entry() {
  entries_.push_back(std::nullopt);
  addin_entries_.push_back(true);
}

bool LinkTable::is_addin_entry(std::size_t entry) const {
  return entry < addin_entries_.size() && addin_entries_[entry];
}

std::optional<std::string_view> LinkTable::addin_function(std::size_t entry, std::size_t index) const {
  if (!is_addin_entry(entry) || index == 0 || index > addin_functions_.size()) return std::nullopt;
  return addin_functions_[index - 1];
}

std::pair<std::uint16_t, std::uint16_t> LinkTable::addin_call(std::string_view name) {
  auto entry = std::find(addin_entries_.begin(), addin_entries_.end(), true);
  if (entry == addin_entries_.end()) {
    add_addin_entry();
    entry = addin_entries_.end() - 1;
  }
  // Names are kept as typed, each spelling its own, so that formulas print back as they were.
  auto known = std::find(addin_functions_.begin(), addin_functions_.end(), name);
  if (known == addin_functions_.end()) known = addin_functions_.insert(known, std::string(name));
  return {static_cast<std::uint16_t>(entry - addin_entries_.begin()),
          static_cast<std::uint16_t>(known - addin_functions_.begin() + 1)};
}

std::uint16_t LinkTable::name_index(std::string_view name, int sheet) {
  auto find = [&](int scope) -> std::optional<std::uint16_t> {
    for (std::size_t i = 0; i < names_.size(); ++i)
      if (names_[i].sheet == scope && same_text(names_[i].name, name)) return static_cast<std::uint16_t>(i + 1);
    return std::nullopt;
  };
  if (sheet >= 0)
    if (auto local = find(sheet)) return *local;
  if (auto global = find(-1)) return *global;
  names_.push_back({std::string(name), -1});
  return static_cast<std::uint16_t>(names_.size());
}

}  // namespace engine::xls
