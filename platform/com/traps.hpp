// The four ways a method of the system traps runtime errors, as small named
// helpers so that a method reads like its description:
//
//   report_and_fail  the handler reports the error and the method fails
//                    (the module's reporter re-raises it with a longer source)
//   map_to_code      a value the check cannot compare (errors 13, 5, 6)
//                    becomes a cause code; other errors go to the handler
//   ignore_error     one statement whose failure is skipped
//   no_trap          the error passes to the caller unchanged
//
// Only runtime errors (platform::com::Error) are trapped, as only they are
// the runtime's errors; anything else is a fault of the program and passes.
// While a handler runs, the error it handles is the thread's current error
// (the runtime's Err), which reraise_with_source() raises again.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/error.hpp"

namespace platform::com {

// The error being handled on this thread, nullptr outside a handler.
const Error* current_error();

// Raises the error being handled again under a new source; number,
// description, help file and help context stay as they were. Outside a
// handler there is no error to raise again: that raises 5.
[[noreturn]] void reraise_with_source(std::string source);

// Errors 13, 5 and 6: a value that could not be converted or compared.
bool is_conversion_error(const Error& e);

namespace detail {

// Makes `e` the current error for the lifetime of the scope.
class HandlingScope {
 public:
  explicit HandlingScope(const Error& e);
  ~HandlingScope();
  HandlingScope(const HandlingScope&) = delete;
  HandlingScope& operator=(const HandlingScope&) = delete;

 private:
  const Error* previous_;
};

}  // namespace detail

// (a) Runs `body`; on a runtime error runs `handler(error)`, which is meant
// to raise. A handler that returns does not turn the failure into success:
// the error being handled is raised again as it was.
template <class Body, class Handler>
decltype(auto) report_and_fail(Body&& body, Handler&& handler) {
  try {
    return std::forward<Body>(body)();
  } catch (const Error& e) {
    detail::HandlingScope scope(e);
    std::forward<Handler>(handler)(e);
    throw;
  }
}

// (b) Runs `body`; errors 13, 5 and 6 set `cause` to `code`, any other goes
// to `handler` as in report_and_fail.
template <class Body, class Handler>
void map_to_code(std::string& cause, std::string_view code, Body&& body, Handler&& handler) {
  try {
    std::forward<Body>(body)();
  } catch (const Error& e) {
    if (is_conversion_error(e)) {
      cause = code;
      return;
    }
    detail::HandlingScope scope(e);
    std::forward<Handler>(handler)(e);
    throw;
  }
}

// (c) Runs one statement and skips its failure; returns the error it
// skipped, if any, for code that looks at it afterwards.
template <class Statement>
std::optional<Error> ignore_error(Statement&& statement) {
  try {
    std::forward<Statement>(statement)();
    return std::nullopt;
  } catch (const Error& e) {
    return e;
  }
}

// (d) Runs `body` with no trap of its own.
template <class Body>
decltype(auto) no_trap(Body&& body) {
  return std::forward<Body>(body)();
}

}  // namespace platform::com
