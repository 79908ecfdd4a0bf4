#include "engine/model/text.hpp"

#include <utf8proc.h>

namespace engine::model {

namespace {

// Calls `each(code_point, bytes)` for every code point; an invalid byte is
// passed on as itself with code point -1.
template <typename Each>
void for_each_code_point(std::string_view text, Each each) {
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  utf8proc_ssize_t at = 0;
  const auto size = static_cast<utf8proc_ssize_t>(text.size());
  while (at < size) {
    utf8proc_int32_t code_point = -1;
    utf8proc_ssize_t length = utf8proc_iterate(bytes + at, size - at, &code_point);
    if (length <= 0) {
      length = 1;
      code_point = -1;
    }
    each(code_point, text.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(length)));
    at += length;
  }
}

}  // namespace

std::string lower(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for_each_code_point(text, [&out](utf8proc_int32_t code_point, std::string_view bytes) {
    if (code_point < 0) {
      out += bytes;
      return;
    }
    utf8proc_uint8_t buffer[4];
    const auto length = utf8proc_encode_char(utf8proc_tolower(code_point), buffer);
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
  });
  return out;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

std::size_t utf16_length(std::string_view text) {
  std::size_t units = 0;
  for_each_code_point(text, [&units](utf8proc_int32_t code_point, std::string_view) {
    units += code_point > 0xFFFF ? 2 : 1;
  });
  return units;
}

}  // namespace engine::model
