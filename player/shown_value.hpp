// A value as the spreadsheet's immediate window shows it: the text CStr
// gives, "Nothing" for an empty object reference, "<Class>" for an object,
// "<Type>" for what has no text (an array, an error value).
#pragma once

#include <string>

#include "platform/com/variant.hpp"

namespace d72506::player {

std::string shown_value(const platform::com::Variant& value);

}  // namespace d72506::player
