// Text helpers the engine shares: letter case as Excel ignores it, blanks,
// and counting characters rather than bytes of UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine::formula {

std::string to_upper(std::string_view text);  // all of Unicode
std::string to_lower(std::string_view text);

// Comparisons that ignore letter case, all of Unicode.
bool equal_ignoring_case(std::string_view a, std::string_view b);
int compare_ignoring_case(std::string_view a, std::string_view b);

// Without the blanks (spaces, tabs, line breaks) at either end.
std::string_view trim_blanks(std::string_view text);

// Characters (code points), not bytes.
std::size_t character_count(std::string_view text);

// `count` characters from character `start` (0-based), fewer at the end.
std::string character_substring(std::string_view text, std::size_t start, std::size_t count);

// Excel's criteria wildcards: "*" any run, "?" one character, "~" escapes
// the next; letter case ignored.
bool wildcard_match(std::string_view pattern, std::string_view text);

// The 0-based character position of the first match of `pattern` (with
// the wildcards above, letter case ignored) at or after character `start`,
// as SEARCH finds it; nullopt when there is none.
std::optional<std::size_t> wildcard_find(std::string_view pattern, std::string_view text, std::size_t start);

// The 0-based character position of `needle` in `text` at or after
// character `start`, letter case kept (FIND); nullopt when absent.
std::optional<std::size_t> character_find(std::string_view needle, std::string_view text, std::size_t start);

// Each word's first letter upper case, the other letters lower case; a
// letter starts a word when what precedes it is not a letter ("2nd" gives
// "2Nd", as Excel's PROPER does).
std::string to_proper(std::string_view text);

// Whether the pattern uses a wildcard at all.
bool has_wildcards(std::string_view pattern);

}  // namespace engine::formula
