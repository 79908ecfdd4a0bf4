#include "platform/script/constants.hpp"

#include <cstdint>

#include "platform/excel/constants.hpp"

namespace platform::script {

namespace {

struct TextConstant {
  std::string_view name;
  std::string_view value;
};

constexpr TextConstant kTextConstants[] = {
    {"vbCrLf", "\r\n"},   {"vbNewLine", "\r\n"}, {"vbCr", "\r"},           {"vbLf", "\n"},
    {"vbTab", "\t"},      {"vbNullString", ""},  {"vbNullChar", {"\0", 1}},
};

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

}  // namespace

std::optional<com::Variant> find_constant(std::string_view name) {
  for (const auto& c : excel::kNamedConstants)
    if (same_name(c.name, name)) return com::Variant(std::int32_t{c.value});
  for (const auto& c : kTextConstants)
    if (same_name(c.name, name)) return com::Variant(c.value);
  return std::nullopt;
}

}  // namespace platform::script
