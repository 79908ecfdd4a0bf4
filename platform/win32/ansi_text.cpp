#include "platform/win32/ansi_text.hpp"

#include <utf8proc.h>

#include <cstdint>

namespace platform::win32 {

namespace {

// The bytes 0x80 to 0x9F of Windows-1252; the five the code page leaves
// undefined carry the C1 control of the same value, as Windows maps them.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char to_byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < 32; ++i)
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::string to_windows_1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
  auto left = static_cast<utf8proc_ssize_t>(utf8.size());
  while (left > 0) {
    utf8proc_int32_t cp = 0;
    utf8proc_ssize_t n = utf8proc_iterate(p, left, &cp);
    if (n <= 0) {  // a byte that is not UTF-8
      out.push_back('?');
      n = 1;
    } else {
      out.push_back(to_byte(static_cast<char32_t>(cp)));
    }
    p += n;
    left -= n;
  }
  return out;
}

}  // namespace platform::win32
