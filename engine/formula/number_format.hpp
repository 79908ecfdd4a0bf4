// Number formats as TEXT() applies them: "0", "0.00", "#,##0", "00000",
// "0%", "dd/mm/yyyy", "@", "General", with literal text and up to three
// sections (positive;negative;zero).
#pragma once

#include <string>
#include <string_view>

#include "engine/formula/value.hpp"

namespace engine::formula {

std::string format_value(const Value& value, std::string_view format);

}  // namespace engine::formula
