// A GUID (CLSID) in the registry's text form "{0002DF01-0000-0000-C000-000000000046}".
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::com {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  // The braced form, hex digits in either case; nullopt for anything else.
  static std::optional<Guid> parse(std::string_view text);
  // The braced form with upper-case digits, as the registry writes it.
  std::string to_string() const;

  friend auto operator<=>(const Guid&, const Guid&) = default;
};

}  // namespace platform::com
