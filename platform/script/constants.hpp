// The named constants a script may write: Excel's and Office's enumerations
// (from platform/excel) and the language's own text constants (vbCrLf, ...).
#pragma once

#include <optional>
#include <string_view>

#include "platform/com/variant.hpp"

namespace platform::script {

// The constant's value, matched in any case; nullopt when there is none.
std::optional<com::Variant> find_constant(std::string_view name);

}  // namespace platform::script
