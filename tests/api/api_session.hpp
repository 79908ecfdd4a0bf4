// What the C interface's tests share: owning wrappers that release what the
// library hands out, and a player's session of one question in a working
// folder of its own.
#pragma once

#include <d72506.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

namespace d72506::api_test {

struct ErrorFree {
  void operator()(d72506_error* e) const { d72506_error_free(e); }
};
using ErrorPtr = std::unique_ptr<d72506_error, ErrorFree>;

// Text from the library, freed with d72506_free.
inline std::string take_text(char* text) {
  std::string copy = text != nullptr ? text : "";
  d72506_free(text);
  return copy;
}

// A failed call's error as the caller sees it.
struct Failure {
  d72506_status status = 0;
  std::int32_t number = 0;
  std::string source;
  std::string description;
};

// Takes the error the call left (the slot is read after the call has run).
inline Failure failure_of(d72506_status status, d72506_error** error) {
  ErrorPtr owned(std::exchange(*error, nullptr));
  if (!owned) return {status, 0, {}, {}};
  return {status, d72506_error_number(owned.get()), d72506_error_source(owned.get()),
          d72506_error_description(owned.get())};
}

// A module, the application it hands back, and a working folder removed at
// the end. Every call here must succeed; the tests of failures call the
// library themselves.
class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void init_question(std::int32_t question);
  void run(const std::string& statements);
  // TestePoint, then CauseErreur.
  std::string cause_after_check();
  void close();

  d72506_module* module() const { return module_; }
  d72506_application* application() const { return application_; }
  // The session's own in/out arguments, for a test that calls Quitter
  // itself: the library may release the handle and replace it.
  d72506_application** application_slot() { return &application_; }
  std::int32_t* window_slot() { return &window_; }
  std::int32_t window() const { return window_; }
  std::string working_folder() const { return (folder_ / "").string(); }

 private:
  std::filesystem::path folder_;
  d72506_module* module_ = nullptr;
  d72506_application* application_ = nullptr;
  std::int32_t window_ = 0;
  bool attached_ = false;
};

// Fails the test with the error's text when a call fails.
void expect_ok(d72506_status status, d72506_error** error, const char* call);

}  // namespace d72506::api_test
