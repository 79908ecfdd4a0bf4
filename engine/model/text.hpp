// Text comparisons the way Excel matches names of sheets, names, styles and
// views: case-insensitive over all of Unicode ("Détail" equals "DÉTAIL").
#pragma once

#include <string>
#include <string_view>

namespace engine::model {

// Lower case of UTF-8 text, code point by code point; invalid bytes are kept.
std::string lower(std::string_view text);

bool equal_ignoring_case(std::string_view a, std::string_view b);

// Length in UTF-16 code units, the unit Excel's limits count in.
std::size_t utf16_length(std::string_view text);

}  // namespace engine::model
