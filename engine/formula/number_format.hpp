// Number formats as TEXT() and a cell's displayed text apply them: digit
// placeholders ("0", "#", "?") with literals between them, grouping and
// scaling commas, percentages, scientific ("0.00E+00") and fractional
// ("# ?/?") forms, dates and times (with AM/PM and elapsed [h]), conditions
// ("[<100]"), colours, up to four sections (positive;negative;zero;text).
#pragma once

#include <string>
#include <string_view>

#include "engine/formula/value.hpp"

namespace engine::formula {

std::string format_value(const Value& value, std::string_view format);

}  // namespace engine::formula
