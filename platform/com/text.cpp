#include "platform/com/text.hpp"

#include <utf8proc.h>

#include "platform/com/error.hpp"

namespace platform::com {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Calls `emit` with each code point of `utf8`, U+FFFD for each stray byte.
template <class Emit>
void decode(std::string_view utf8, Emit emit) {
  const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
  auto remaining = static_cast<utf8proc_ssize_t>(utf8.size());
  while (remaining > 0) {
    utf8proc_int32_t cp = 0;
    utf8proc_ssize_t used = utf8proc_iterate(p, remaining, &cp);
    if (used <= 0) {
      cp = kReplacement;
      used = 1;
    }
    emit(static_cast<char32_t>(cp));
    p += used;
    remaining -= used;
  }
}

void append_utf8(std::string& out, char32_t cp) {
  utf8proc_uint8_t buf[4];
  const utf8proc_ssize_t n = utf8proc_encode_char(static_cast<utf8proc_int32_t>(cp), buf);
  out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
}

template <class Map>
std::string map_code_points(std::string_view s, Map map) {
  std::string out;
  out.reserve(s.size());
  decode(s, [&](char32_t cp) { append_utf8(out, static_cast<char32_t>(map(static_cast<utf8proc_int32_t>(cp)))); });
  return out;
}

std::int32_t length_of(const std::u16string& u) { return static_cast<std::int32_t>(u.size()); }

void require_count(std::int32_t count) {
  if (count < 0) raise(err::InvalidCall);
}

}  // namespace

std::u16string to_utf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  decode(utf8, [&](char32_t cp) {
    if (cp < 0x10000) {
      out += static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
  });
  return out;
}

std::string to_utf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t u = utf16[i];
    if (is_high_surrogate(u) && i + 1 < utf16.size() && is_low_surrogate(utf16[i + 1])) {
      append_utf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
      ++i;
    } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
      append_utf8(out, kReplacement);
    } else {
      append_utf8(out, u);
    }
  }
  return out;
}

std::int32_t len(std::string_view s) { return length_of(to_utf16(s)); }

std::string left(std::string_view s, std::int32_t count) {
  require_count(count);
  const std::u16string u = to_utf16(s);
  return to_utf8(std::u16string_view(u).substr(0, static_cast<std::size_t>(count)));
}

std::string right(std::string_view s, std::int32_t count) {
  require_count(count);
  const std::u16string u = to_utf16(s);
  const std::size_t n = std::min(u.size(), static_cast<std::size_t>(count));
  return to_utf8(std::u16string_view(u).substr(u.size() - n));
}

std::string mid(std::string_view s, std::int32_t start, std::optional<std::int32_t> length) {
  if (start < 1) raise(err::InvalidCall);
  if (length) require_count(*length);
  const std::u16string u = to_utf16(s);
  const auto from = static_cast<std::size_t>(start - 1);
  if (from >= u.size()) return {};
  return to_utf8(std::u16string_view(u).substr(from, length ? static_cast<std::size_t>(*length) : std::u16string::npos));
}

std::int32_t instr(std::string_view s, std::string_view find) { return instr(1, s, find); }

std::int32_t instr(std::int32_t start, std::string_view s, std::string_view find) {
  if (start < 1) raise(err::InvalidCall);
  const std::u16string haystack = to_utf16(s);
  if (haystack.empty() || start > length_of(haystack)) return 0;
  const std::size_t at = haystack.find(to_utf16(find), static_cast<std::size_t>(start - 1));
  return at == std::u16string::npos ? 0 : static_cast<std::int32_t>(at + 1);
}

std::string lcase(std::string_view s) { return map_code_points(s, utf8proc_tolower); }
std::string ucase(std::string_view s) {
  // utf8proc gives ß the capital ẞ, which the runtime's case table lacks.
  return map_code_points(s, [](utf8proc_int32_t cp) { return cp == 0xDF ? cp : utf8proc_toupper(cp); });
}

int str_comp(std::string_view a, std::string_view b) {
  const int c = to_utf16(a).compare(to_utf16(b));
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace platform::com
