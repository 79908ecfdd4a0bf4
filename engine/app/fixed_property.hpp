// Properties the stand-in holds at one value: a recorded macro sets every
// option of a dialog, most of them to Excel's default (.Shadow = False,
// .IncludeFont = True). That value is accepted and read back; another one
// is refused with a clear error rather than silently dropped.
#pragma once

namespace engine::app {

// Raises 1004 "Unable to set the <property> property of the <owner> class"
// unless `given` is `kept`.
void keep_fixed(bool given, bool kept, const char* property, const char* owner);

}  // namespace engine::app
