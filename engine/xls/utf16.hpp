// Text is UTF-8 in the engine and UTF-16 in the file.
#pragma once

#include <string>
#include <string_view>

namespace engine::xls {

// Malformed input (a lone surrogate, a bad byte sequence) becomes U+FFFD:
// a file with damaged text still opens, with the damage visible.
std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);

// True when every code unit fits in one byte, so BIFF8 may store the text
// in its compressed (Latin-1) form.
bool fits_latin1(std::u16string_view text);

}  // namespace engine::xls
