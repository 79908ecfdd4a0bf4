// The COM-shaped boundary of the public classes: a member returns an
// HRESULT instead of raising, and leaves the error's source, description
// and help in the thread's error-info slot (SetErrorInfo/GetErrorInfo),
// where the caller reads it. The number travels in the HRESULT itself
// (number_from_hresult gives it back).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/com/error.hpp"

namespace platform::com {

struct ErrorInfo {
  std::string source;
  std::string description;
  std::string help_file;
  std::int32_t help_context = 0;

  friend bool operator==(const ErrorInfo&, const ErrorInfo&) = default;
};

// SetErrorInfo: replaces the thread's slot (nullopt empties it).
void set_error_info(std::optional<ErrorInfo> info);
// GetErrorInfo: what the slot holds, emptying it.
std::optional<ErrorInfo> take_error_info();

// Runs a public member: S_OK when `body` returns, otherwise the HRESULT of
// the runtime error it raised with that error's information in the slot.
// Never throws: an exhausted memory gives E_OUTOFMEMORY and any other
// failure E_UNEXPECTED, each with a description, so that no fault of ours
// crosses into the caller as anything but a failed call.
HRESULT call_at_boundary(const std::function<void()>& body) noexcept;

// The caller's side: a failed HRESULT becomes the runtime error it stands
// for, with the information the callee left; success does nothing.
void check(HRESULT hr);

}  // namespace platform::com
