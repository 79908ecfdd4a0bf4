#include "player/statement_failure.hpp"

namespace d72506::player {

namespace com = platform::com;
namespace script = platform::script;

namespace {

constexpr const char* kSource = "d72506";

}  // namespace

com::Error statement_failure(const script::ScriptError& e) {
  switch (e.kind()) {
    case script::ScriptError::Kind::Runtime:
      return com::Error(e.runtime_error()->number(), e.runtime_error()->source(), e.what());
    case script::ScriptError::Kind::Budget:
      return com::Error::from_hresult(kBudgetSpent, kSource, e.what());
    case script::ScriptError::Kind::Syntax:
    case script::ScriptError::Kind::Refused:
      break;
  }
  return com::Error::from_hresult(kStatementsRefused, kSource, e.what());
}

com::Error statement_failure(int line, const std::string& problem) {
  return com::Error::from_hresult(kStatementsRefused, kSource, "line " + std::to_string(line) + ": " + problem);
}

}  // namespace d72506::player
