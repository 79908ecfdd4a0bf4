#include <iostream>

#include "cli/commands.hpp"
#include "player/report.hpp"

namespace d72506::cli {

using player::CodeMessage;
using player::CodeScope;

namespace {

// A trainee's own codes first, then the checks of the workbook that come
// before them, then the module's.
constexpr CodeScope kListingOrder[] = {CodeScope::kQuestion, CodeScope::kPreCheck, CodeScope::kModule};

void list_question(std::int32_t question, player::Language language, std::ostream& out) {
  for (const CodeScope scope : kListingOrder) {
    for (const CodeMessage& entry : player::code_messages()) {
      if (entry.scope != scope || !player::holds(entry.questions, question)) continue;
      player::Verdict verdict;
      verdict.erreur_generale = scope != CodeScope::kQuestion;
      verdict.cause_erreur = std::string(entry.code);
      out << question << ' ' << player::verdict_fields(verdict) << ": "
          << (language == player::Language::kEnglish ? entry.english : entry.french) << '\n';
    }
  }
}

}  // namespace

int codes(std::int32_t question, player::Language language, std::ostream& out) {
  for (std::int32_t q = player::kFirstQuestion; q <= player::kLastQuestion; ++q) {
    if (question == 0 || question == q) list_question(q, language, out);
  }
  return kExitSuccess;
}

}  // namespace d72506::cli
