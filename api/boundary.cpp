// The library's own calls (version, freeing), the error objects, and the
// boundary each entry point runs behind.
#include <cstdlib>
#include <cstring>
#include <new>

#include "api/handles.hpp"
#include "platform/com/boundary.hpp"

namespace com = platform::com;

namespace {

constexpr const char* kSource = "d72506";
constexpr com::HRESULT kWrongThread = static_cast<com::HRESULT>(D72506_E_WRONG_THREAD);
constexpr com::HRESULT kNullPointer = static_cast<com::HRESULT>(D72506_E_POINTER);

// Stores the failure the boundary recorded; with no room left for it, the
// status alone tells the caller what happened.
void store(d72506_error** errptr, d72506_status status) noexcept {
  std::optional<com::ErrorInfo> info = com::take_error_info();
  if (errptr == nullptr) return;
  try {
    auto error = std::make_unique<d72506_error>();
    error->status = status;
    error->number = com::number_from_hresult(status);
    if (info) {
      error->source = std::move(info->source);
      error->description = std::move(info->description);
    }
    if (error->description.empty()) error->description = com::default_description(error->number);
    delete *errptr;
    *errptr = error.release();
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

namespace d72506::api {

d72506_status at_boundary(d72506_error** errptr, const std::function<void()>& body) noexcept {
  const com::HRESULT status = com::call_at_boundary(body);
  if (status < 0) store(errptr, status);
  return status;
}

void require(const void* pointer, const char* argument) {
  if (pointer == nullptr) {
    throw com::Error::from_hresult(kNullPointer, kSource, std::string("Invalid pointer: ") + argument + " is NULL");
  }
}

void require_owner(const OwnedByThread& handle) {
  if (!handle.on_owner_thread()) {
    throw com::Error::from_hresult(kWrongThread, kSource,
                                   "The handle belongs to another thread's apartment; call it on the thread "
                                   "that created it");
  }
}

char* new_text(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace d72506::api

extern "C" {

const char* d72506_version(void) { return D72506_VERSION_TEXT; }

void d72506_free(void* text) { std::free(text); }

int32_t d72506_error_number(const d72506_error* error) { return error != nullptr ? error->number : 0; }

d72506_status d72506_error_status(const d72506_error* error) { return error != nullptr ? error->status : D72506_OK; }

const char* d72506_error_source(const d72506_error* error) { return error != nullptr ? error->source.c_str() : ""; }

const char* d72506_error_description(const d72506_error* error) {
  return error != nullptr ? error->description.c_str() : "";
}

void d72506_error_free(d72506_error* error) { delete error; }

}  // extern "C"
