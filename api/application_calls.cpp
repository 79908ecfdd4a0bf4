// The player's part: delivering a question's files, an application of the
// player's own, and the trainee's statements run on an application.
#include "api/handles.hpp"
#include "engine/app/application.hpp"
#include "host/installation.hpp"
#include "platform/script/budget.hpp"
#include "player/exercise_files.hpp"
#include "player/player.hpp"
#include "player/shown_value.hpp"
#include "player/statement_failure.hpp"

namespace com = platform::com;
namespace script = platform::script;
using d72506::api::at_boundary;
using d72506::api::checked;
using d72506::api::require;

static_assert(D72506_E_STATEMENTS == d72506::player::kStatementsRefused);
static_assert(D72506_E_BUDGET == d72506::player::kBudgetSpent);

namespace {

constexpr const char* kSource = "d72506";

std::filesystem::path installed_exercises() {
  return d72506::player::default_exercises_folder().value_or(d72506::DossierDonneesInstallees() / "exercises");
}

// A zero field takes the command's default, as the header says.
script::Limits limits_of(const d72506_limits* given) {
  script::Limits limits;
  if (given == nullptr) return limits;
  if (given->seconds < 0 || given->seconds > 86400) {
    com::raise(com::err::InvalidCall, kSource, "limits.seconds must lie between 0 and 86400");
  }
  if (given->seconds > 0) {
    limits.time = std::chrono::milliseconds(static_cast<std::int64_t>(given->seconds * 1000.0 + 0.5));
  }
  if (given->memory_bytes > 0) limits.memory = static_cast<std::size_t>(given->memory_bytes);
  return limits;
}

// The handle's statement session under a budget of these limits, its clock
// started afresh. Other limits than the session's start a new session.
script::Session& session_for(d72506_application& application, const script::Limits& limits) {
  if (!application.statements || application.budget->limits().time != limits.time ||
      application.budget->limits().memory != limits.memory) {
    application.statements.reset();
    application.budget = std::make_shared<script::Budget>(limits);
    const script::Budget::Scope scope(application.budget);
    application.statements.emplace(com::Variant(application.object));
  }
  application.budget->restart();
  return *application.statements;
}

// Statements that stop become the call's failure.
template <class Body>
void as_statements(Body&& body) {
  try {
    body();
  } catch (const script::ScriptError& e) {
    throw d72506::player::statement_failure(e);
  }
}

}  // namespace

extern "C" {

d72506_status d72506_deliver(int32_t question, const char* exercises, const char* working_folder,
                             d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    require(working_folder, "working_folder");
    const std::filesystem::path from = exercises != nullptr ? std::filesystem::path(exercises) : installed_exercises();
    if (d72506::player::delivered_files(question).empty()) {
      com::raise(com::err::InvalidCall, kSource, "No question has the number " + std::to_string(question));
    }
    for (const std::string& missing : d72506::player::deliver(question, from, working_folder)) {
      com::raise(com::err::FileNotFound, kSource, "'" + (from / missing).string() + "' could not be found");
    }
  });
}

d72506_status d72506_application_create(d72506_application** out, int32_t* window, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    require(out, "out");
    auto excel = d72506::player::start_excel();
    if (window != nullptr) *window = static_cast<int32_t>(excel->main_window());
    *out = new d72506_application(std::move(excel));
  });
}

void d72506_application_release(d72506_application* application) { d72506::api::release(application); }

d72506_status d72506_application_run(d72506_application* application, const char* statements,
                                     const d72506_limits* limits, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    auto& self = checked(application, "application");
    require(statements, "statements");
    script::Session& session = session_for(self, limits_of(limits));
    const script::Budget::Scope scope(self.budget);
    as_statements([&] { session.run_line(statements); });
  });
}

d72506_status d72506_application_evaluate(d72506_application* application, const char* expression,
                                          const d72506_limits* limits, char** out, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    auto& self = checked(application, "application");
    require(expression, "expression");
    require(out, "out");
    script::Session& session = session_for(self, limits_of(limits));
    const script::Budget::Scope scope(self.budget);
    as_statements([&] { *out = d72506::api::new_text(d72506::player::shown_value(session.evaluate(expression))); });
  });
}

}  // extern "C"
