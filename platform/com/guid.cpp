#include "platform/com/guid.hpp"

#include <charconv>
#include <cstdio>

namespace platform::com {

namespace {

// Exactly `digits` hex digits at `pos`, or nullopt.
std::optional<std::uint32_t> hex_field(std::string_view text, std::size_t pos, std::size_t digits) {
  std::uint32_t value = 0;
  const char* first = text.data() + pos;
  const char* last = first + digits;
  if (*first == '+' || *first == '-') return std::nullopt;
  const auto [end, ec] = std::from_chars(first, last, value, 16);
  if (ec != std::errc() || end != last) return std::nullopt;
  return value;
}

}  // namespace

std::optional<Guid> Guid::parse(std::string_view text) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
  for (std::size_t dash : {9u, 14u, 19u, 24u})
    if (text[dash] != '-') return std::nullopt;
  const auto d1 = hex_field(text, 1, 8), d2 = hex_field(text, 10, 4), d3 = hex_field(text, 15, 4);
  if (!d1 || !d2 || !d3) return std::nullopt;
  Guid g{*d1, static_cast<std::uint16_t>(*d2), static_cast<std::uint16_t>(*d3), {}};
  constexpr std::size_t kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (std::size_t i = 0; i < 8; ++i) {
    const auto byte = hex_field(text, kByteAt[i], 2);
    if (!byte) return std::nullopt;
    g.data4[i] = static_cast<std::uint8_t>(*byte);
  }
  return g;
}

std::string Guid::to_string() const {
  char buf[39];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3, data4[0],
                data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
  return buf;
}

}  // namespace platform::com
