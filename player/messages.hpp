// What each verdict code means to a trainee, in the course's language
// (French) and in English: what is wrong and what to do about it. One table
// holds every code the module and its questions can give; every output of
// the player (play, check, codes, the reports) reads its texts from here.
//
// A code alone is ambiguous: "C" from the module's pre-check (the flag
// ErreurGenerale set) says the workbook was closed, while question 601's
// own "C" says the leading zero was lost. A message is therefore looked up
// by question, by whether the error is general, and by code.
//
// The table is constant data; every function here is safe on any thread.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "player/question_number.hpp"

namespace d72506::player {

enum class Language { kFrench, kEnglish };

// Where a code comes from: the module itself ("AM", "%AL", "AN", "AA"), its
// pre-check of the workbook, or the question's own check.
enum class CodeScope { kModule, kPreCheck, kQuestion };

// A set of the chapter's questions, 601 to 615: bit (question - 600).
using QuestionSet = std::uint32_t;

constexpr QuestionSet questions(std::initializer_list<std::int32_t> numbers) {
  QuestionSet set = 0;
  for (std::int32_t n : numbers) set |= QuestionSet{1} << (n - 600);
  return set;
}
constexpr QuestionSet questions_from(std::int32_t first, std::int32_t last) {
  QuestionSet set = 0;
  for (std::int32_t n = first; n <= last; ++n) set |= questions({n});
  return set;
}
constexpr bool holds(QuestionSet set, std::int32_t question) {
  return question > 600 && question < 632 && (set >> (question - 600) & 1U) != 0;
}

struct CodeMessage {
  CodeScope scope;
  // The questions that can give this code with this meaning.
  QuestionSet questions;
  std::string_view code;
  std::string_view french;
  std::string_view english;
};

// Every entry, module codes first, then the pre-check's, then the
// questions' in question order. A question's codes come in the order its
// check tries them; the empty code (the answer is right) comes first.
std::span<const CodeMessage> code_messages();

// The message for a verdict: the module's and the pre-check's codes when
// `erreur_generale` is set, the question's otherwise. nullopt for a code
// the module cannot give there.
std::optional<std::string_view> message_for(std::int32_t question, bool erreur_generale, std::string_view code,
                                            Language language);

// The same, never empty: a code without a message is named as such, so a
// report still says something true.
std::string verdict_message(std::int32_t question, bool erreur_generale, std::string_view code, Language language);

// Why a question's answer cannot be judged from a saved workbook, in one
// sentence; nullopt for a question whose answer is in its workbook.
std::optional<std::string_view> not_judged_reason(std::int32_t question, Language language);

// "fr", "fr_FR.UTF-8", "en_GB", "EN"... by the language part; nullopt for
// another language or an empty text.
std::optional<Language> parse_language(std::string_view name);
// The language of the environment: LC_ALL, then LC_MESSAGES, then LANG, the
// first that is set and not empty decides; French when it names neither
// French nor English, as the course is French.
Language language_from_environment();

}  // namespace d72506::player
