#include "platform/com/boundary.hpp"

#include <new>
#include <string_view>
#include <utility>

namespace platform::com {

namespace {

// Per thread, as the system's error object is.
thread_local std::optional<ErrorInfo> tl_error_info;

HRESULT fail(HRESULT hr, std::string_view source, std::string_view description, std::string_view help_file = {},
             std::int32_t help_context = 0) noexcept {
  try {
    tl_error_info = ErrorInfo{std::string(source), std::string(description), std::string(help_file), help_context};
  } catch (...) {
    tl_error_info.reset();  // no room for the text: the HRESULT still tells the failure
  }
  return hr;
}

}  // namespace

void set_error_info(std::optional<ErrorInfo> info) { tl_error_info = std::move(info); }

std::optional<ErrorInfo> take_error_info() { return std::exchange(tl_error_info, std::nullopt); }

HRESULT call_at_boundary(const std::function<void()>& body) noexcept {
  tl_error_info.reset();
  try {
    body();
    return S_OK;
  } catch (const Error& e) {
    return fail(e.hresult(), e.source(), e.description(), e.help_file(), e.help_context());
  } catch (const std::bad_alloc&) {
    return fail(E_OUTOFMEMORY, {}, "Out of memory");
  } catch (const std::exception& e) {
    return fail(E_UNEXPECTED, {}, e.what());
  } catch (...) {
    return fail(E_UNEXPECTED, {}, "Unexpected failure");
  }
}

void check(HRESULT hr) {
  if (hr >= 0) return;
  ErrorInfo info = take_error_info().value_or(ErrorInfo{});
  throw Error::from_hresult(hr, std::move(info.source), std::move(info.description), std::move(info.help_file),
                            info.help_context);
}

}  // namespace platform::com
