// Comparing a value read from the spreadsheet with a constant of the
// checking code, as the runtime compares a Variant with a literal:
//   - with a text literal, through the value's text form (CStr), exactly,
//     code unit by code unit (the number 1 is not "01"; Empty is "");
//   - with a number or a Boolean, numerically (CDbl; True is -1); a value
//     that cannot be taken as a number raises 13;
//   - with Null, no verdict at all: the comparison is Null, and an If on it
//     takes neither the "equal" nor the "different" branch.
// An object compares through its default value; an Error value raises 13.
#pragma once

#include <optional>
#include <string_view>

#include "platform/com/variant.hpp"

namespace platform::com {

// Negative, zero or positive as the value sorts before, with or after the
// constant; std::nullopt when the value is Null.
using Comparison = std::optional<int>;

Comparison compare_as_text(const Variant& value, std::string_view literal);
Comparison compare_as_number(const Variant& value, double constant);
Comparison compare_as_boolean(const Variant& value, bool constant);

// "If value = constant": false for Null.
inline bool equal(Comparison c) { return c.has_value() && *c == 0; }
// "If value <> constant": false for Null, which counts as no difference.
inline bool differs(Comparison c) { return c.has_value() && *c != 0; }

}  // namespace platform::com
