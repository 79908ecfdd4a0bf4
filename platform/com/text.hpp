// The runtime's string functions over UTF-8 text. The original strings are
// UTF-16, so lengths, positions and orderings here count and compare UTF-16
// code units: a character outside the Basic Multilingual Plane (an emoji)
// has length 2, and Left/Mid/Right may cut it in half.
//
// Malformed input never fails: each byte that does not belong to a valid
// UTF-8 sequence reads as U+FFFD, and half of a surrogate pair that a cut
// leaves alone is written out as U+FFFD.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::com {

std::u16string to_utf16(std::string_view utf8);
std::string to_utf8(std::u16string_view utf16);

// Len.
std::int32_t len(std::string_view s);

// Left, Right: at most `count` code units; a negative count raises 5.
std::string left(std::string_view s, std::int32_t count);
std::string right(std::string_view s, std::int32_t count);

// Mid: from the 1-based `start`, `length` code units or to the end. A start
// below 1 or a negative length raises 5; a start past the end gives "".
std::string mid(std::string_view s, std::int32_t start, std::optional<std::int32_t> length = std::nullopt);

// InStr with binary comparison: the 1-based position of `find` in `s` at or
// after `start`, 0 when absent. An empty `find` is found at `start` (when
// start lies within `s`); an empty `s` finds nothing; a start below 1 raises 5.
std::int32_t instr(std::string_view s, std::string_view find);
std::int32_t instr(std::int32_t start, std::string_view s, std::string_view find);

// LCase, UCase: every cased letter of Unicode, one character for one
// ("Détail" -> "détail", "ESPAÑA" -> "españa"); other text unchanged.
std::string lcase(std::string_view s);
std::string ucase(std::string_view s);

// StrComp with binary comparison: -1, 0 or 1 by UTF-16 code unit order.
int str_comp(std::string_view a, std::string_view b);

}  // namespace platform::com
