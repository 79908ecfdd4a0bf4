// What the C interface's opaque handles are, and the boundary every entry
// point runs behind: no exception crosses into the caller, a failure
// becomes its status plus an error object, and a handle is only ever
// touched on the thread whose apartment holds its objects.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "api/d72506.h"
#include "module/complement_info.hpp"
#include "module/fichiers_de_travail.hpp"
#include "module/module.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/script/budget.hpp"
#include "platform/script/script.hpp"
#include "player/folder.hpp"

struct d72506_error {
  d72506_status status = 0;
  std::int32_t number = 0;
  std::string source;
  std::string description;
};

// Every handle records the thread that made it: its objects live in that
// thread's apartment, as COM objects live in their STA.
struct OwnedByThread {
  std::thread::id owner = std::this_thread::get_id();
  bool on_owner_thread() const { return owner == std::this_thread::get_id(); }
};

struct d72506_module : OwnedByThread {
  d72506_module(d72506::player::Folder templates, std::shared_ptr<d72506::Module> module)
      : templates(std::move(templates)), module(std::move(module)) {}
  // Declared first so that it outlives the module: the question the module
  // closes at release may still have files in it.
  d72506::player::Folder templates;
  std::shared_ptr<d72506::Module> module;
};

struct d72506_application : OwnedByThread {
  explicit d72506_application(std::shared_ptr<platform::com::Dispatch> object) : object(std::move(object)) {}
  std::shared_ptr<platform::com::Dispatch> object;
  // The trainee's statements keep their variables from call to call, under
  // the budget of the limits they were started with.
  std::shared_ptr<platform::script::Budget> budget;
  std::optional<platform::script::Session> statements;
};

struct d72506_complement : OwnedByThread {
  explicit d72506_complement(std::shared_ptr<d72506::ComplementInfo> list) : list(std::move(list)) {}
  std::shared_ptr<d72506::ComplementInfo> list;
};

struct d72506_work_files : OwnedByThread {
  explicit d72506_work_files(std::shared_ptr<d72506::FichiersDeTravail> list) : list(std::move(list)) {}
  std::shared_ptr<d72506::FichiersDeTravail> list;
};

// A question's codes and their messages, in the language asked for.
struct d72506_codes : OwnedByThread {
  struct Entry {
    std::string code;
    bool erreur_generale = false;
    std::string message;
  };
  std::vector<Entry> entries;
};

namespace d72506::api {

// Runs an entry point's body: D72506_OK when it returns, otherwise the
// status of the error it raised, stored in *errptr (convention 3).
d72506_status at_boundary(d72506_error** errptr, const std::function<void()>& body) noexcept;

// Raises E_POINTER naming the argument when `pointer` is NULL.
void require(const void* pointer, const char* argument);
// Raises RPC_E_WRONG_THREAD unless the calling thread made the handle.
void require_owner(const OwnedByThread& handle);
// Both, for a handle argument.
template <class Handle>
Handle& checked(Handle* handle, const char* argument) {
  require(handle, argument);
  require_owner(*handle);
  return *handle;
}

// Text the caller frees with d72506_free.
char* new_text(const std::string& text);

// A release: the handle is deleted on its own thread, ignored elsewhere.
template <class Handle>
void release(Handle* handle) noexcept {
  if (handle != nullptr && handle->on_owner_thread()) delete handle;
}

}  // namespace d72506::api
