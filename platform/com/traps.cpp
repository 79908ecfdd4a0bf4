#include "platform/com/traps.hpp"

namespace platform::com {

namespace {

// The runtime's Err belongs to the thread, as the runtime's does.
thread_local const Error* tl_current_error = nullptr;

}  // namespace

const Error* current_error() { return tl_current_error; }

void reraise_with_source(std::string source) {
  const Error* e = tl_current_error;
  if (!e) raise(err::InvalidCall);
  throw Error(e->number(), std::move(source), e->description(), e->help_file(), e->help_context());
}

bool is_conversion_error(const Error& e) {
  const auto n = e.number();
  return n == err::TypeMismatch || n == err::InvalidCall || n == err::Overflow;
}

namespace detail {

HandlingScope::HandlingScope(const Error& e) : previous_(tl_current_error) { tl_current_error = &e; }
HandlingScope::~HandlingScope() { tl_current_error = previous_; }

}  // namespace detail

}  // namespace platform::com
