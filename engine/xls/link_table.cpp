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
  entries_.push_back(span);
  return static_cast<std::uint16_t>(entries_.size() - 1);
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
