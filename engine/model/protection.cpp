#include "engine/model/protection.hpp"

#include <string>

#include "platform/com/error.hpp"

namespace engine::model {

namespace {

// The hash works on the password's bytes in the Windows ANSI code page; for
// the Latin-1 range that is the code point itself.
std::string to_single_bytes(std::string_view utf8) {
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      const unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
      bytes += code < 0x100 ? static_cast<char>(code) : '?';
    } else {
      bytes += '?';
      while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
    }
  }
  return bytes;
}

}  // namespace

std::uint16_t password_hash(std::string_view password) {
  if (password.empty()) return 0;
  const std::string bytes = to_single_bytes(password);
  // A 15-bit rotation left by one, then each byte from the last to the first.
  const auto rotate = [](std::uint16_t v) { return static_cast<std::uint16_t>(((v >> 14) & 1) | ((v << 1) & 0x7FFF)); };
  std::uint16_t verifier = 0;
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    verifier = static_cast<std::uint16_t>(rotate(verifier) ^ static_cast<unsigned char>(*it));
  }
  verifier = static_cast<std::uint16_t>(rotate(verifier) ^ (bytes.size() & 0xFFFF) ^ 0xCE4B);
  return verifier;
}

void protect(SheetProtection& protection, std::string_view password, bool contents, bool drawing_objects,
             bool scenarios) {
  protection.contents = contents;
  protection.drawing_objects = drawing_objects;
  protection.scenarios = scenarios;
  protection.password_hash = password_hash(password);
}

void unprotect(SheetProtection& protection, std::string_view password) {
  if (protection.is_protected() && protection.password_hash != password_hash(password)) {
    platform::com::raise(platform::com::err::ApplicationDefined, "Worksheet",
                         "The password you supplied is not correct");
  }
  protection = SheetProtection{};
}

}  // namespace engine::model
