// Properties the stand-in holds at one value: a recorded macro sets every
// option of a dialog, most of them to Excel's default (.Shadow = False,
// .IncludeFont = True, .PrintTitleRows = ""). That value is accepted and
// read back; another one is refused with a clear error rather than
// silently dropped.
#pragma once

#include "platform/com/variant.hpp"

namespace engine::app {

// Raises 1004 "Unable to set the <property> property of the <owner> class"
// unless `given` converts to `kept` (a Boolean, a number or a text).
void keep_fixed(const platform::com::Variant& given, const platform::com::Variant& kept, const char* property,
                const char* owner);

}  // namespace engine::app
