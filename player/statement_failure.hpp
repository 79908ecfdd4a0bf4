// A trainee's statements that stopped, as a runtime error a caller of the
// module's own kind can carry (number, source, description): the C library
// and the JSON-lines server both report them this way.
#pragma once

#include "platform/com/error.hpp"
#include "platform/script/script.hpp"

namespace d72506::player {

// Statements that are not a script, or that do what scripts may not (an
// unknown name, a host line that cannot run).
inline constexpr platform::com::HRESULT kStatementsRefused = static_cast<platform::com::HRESULT>(0x80040200);
// Statements that spent their time or memory budget.
inline constexpr platform::com::HRESULT kBudgetSpent = static_cast<platform::com::HRESULT>(0x80040201);

// A runtime error keeps its number and source; every description names the
// line, as the script's own message does.
platform::com::Error statement_failure(const platform::script::ScriptError& e);
// A "#" line that could not run, at `line`.
platform::com::Error statement_failure(int line, const std::string& problem);

}  // namespace d72506::player
