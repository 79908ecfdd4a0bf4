#include "engine/model/defined_name.hpp"

#include <cctype>

#include "engine/formula/reference.hpp"
#include "engine/model/text.hpp"

namespace engine::model {

namespace {

bool is_letter(char c) { return std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// "R", "C", "R1", "C12", "RC", "R1C1": names Excel reserves for R1C1 references.
bool looks_like_r1c1(std::string_view name) {
  std::size_t i = 0;
  const auto digits = [&] {
    while (i < name.size() && is_digit(name[i])) ++i;
  };
  if (i < name.size() && (name[i] == 'R' || name[i] == 'r')) {
    ++i;
    digits();
  }
  if (i < name.size() && (name[i] == 'C' || name[i] == 'c')) {
    ++i;
    digits();
  }
  return i > 0 && i == name.size();
}

}  // namespace

bool is_valid_name(std::string_view name) {
  if (name.empty() || utf16_length(name) > 255) return false;
  const char first = name.front();
  if (!is_letter(first) && first != '_' && first != '\\') return false;
  for (char c : name) {
    if (!is_letter(c) && !is_digit(c) && c != '.' && c != '_' && c != '?' && c != '\\') return false;
  }
  return !looks_like_r1c1(name) && !formula::parse_reference(name).has_value();
}

}  // namespace engine::model
