// Array formulas as macros reach them: Range.FormulaArray (read and
// written, in A1 or R1C1 notation, as the recorder writes Ctrl+Shift+Enter),
// HasArray, CurrentArray, and HasFormula, which array cells answer too.
#pragma once

#include "engine/app/app_object.hpp"

namespace engine::app {

// The members above, for the Range class's table.
const GuardedMembers& range_array_members();

}  // namespace engine::app
