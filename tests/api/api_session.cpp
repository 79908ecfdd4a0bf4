#include "api_session.hpp"

#include <atomic>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace d72506::api_test {

namespace stdfs = std::filesystem;

namespace {

stdfs::path new_folder() {
  static std::atomic<int> serial{0};
  std::ostringstream name;
  name << "d72506-api-" << ::getpid() << "-" << std::hash<std::thread::id>{}(std::this_thread::get_id()) << "-"
       << serial++;
  const stdfs::path folder = stdfs::temp_directory_path() / name.str();
  stdfs::create_directories(folder);
  return folder;
}

}  // namespace

void expect_ok(d72506_status status, d72506_error** error, const char* call) {
  const Failure f = failure_of(status, error);
  ASSERT_EQ(f.status, D72506_OK) << call << ": error " << f.number << ": " << f.description << " (" << f.source
                                 << ")";
}

Session::Session() : folder_(new_folder()) {
  d72506_error* error = nullptr;
  expect_ok(d72506_module_create(nullptr, nullptr, &module_, &error), &error, "create");
}

Session::~Session() {
  close();
  d72506_module_release(module_);
  std::error_code ignored;
  stdfs::remove_all(folder_, ignored);
}

void Session::init_question(std::int32_t question) {
  d72506_error* error = nullptr;
  expect_ok(d72506_deliver(question, nullptr, working_folder().c_str(), &error), &error, "deliver");
  attached_ = true;
  expect_ok(d72506_module_InitQuestion(module_, question, working_folder().c_str(), &application_, &window_, nullptr,
                                       &error),
            &error, "InitQuestion");
}

void Session::run(const std::string& statements) {
  d72506_error* error = nullptr;
  expect_ok(d72506_application_run(application_, statements.c_str(), nullptr, &error), &error, "run");
}

std::string Session::cause_after_check() {
  d72506_error* error = nullptr;
  expect_ok(d72506_module_TestePoint(module_, &error), &error, "TestePoint");
  char* cause = nullptr;
  expect_ok(d72506_module_CauseErreur(module_, &cause, &error), &error, "CauseErreur");
  return take_text(cause);
}

void Session::close() {
  if (!attached_) return;
  attached_ = false;
  d72506_module_Fermer(module_, nullptr);
  d72506_module_Quitter(module_, &application_, &window_, nullptr);
  d72506_application_release(application_);
  application_ = nullptr;
}

}  // namespace d72506::api_test
