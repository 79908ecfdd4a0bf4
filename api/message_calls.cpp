// What the codes mean to a trainee, from the player's table of messages.
#include "api/handles.hpp"
#include "player/messages.hpp"

namespace com = platform::com;
namespace player = d72506::player;
using d72506::api::at_boundary;
using d72506::api::checked;
using d72506::api::new_text;
using d72506::api::require;

namespace {

constexpr const char* kSource = "d72506";

player::Language language_of(const char* name) {
  if (name == nullptr) return player::Language::kFrench;
  const std::string_view given(name);
  if (given != "fr" && given != "en") com::raise(com::err::InvalidCall, kSource, "language is \"fr\" or \"en\"");
  return *player::parse_language(given);
}

void require_chapter_question(std::int32_t question) {
  if (question < player::kFirstQuestion || question > player::kLastQuestion) {
    com::raise(com::err::InvalidCall, kSource, "a question of the chapter is 601 to 615, not " + std::to_string(question));
  }
}

}  // namespace

extern "C" {

d72506_status d72506_message(int32_t question, int erreur_generale, const char* code, const char* language,
                             char** out, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    require(code, "code");
    require(out, "out");
    require_chapter_question(question);
    *out = new_text(player::verdict_message(question, erreur_generale != 0, code, language_of(language)));
  });
}

d72506_status d72506_codes_of_question(int32_t question, const char* language, d72506_codes** out,
                                       d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    require(out, "out");
    require_chapter_question(question);
    const player::Language chosen = language_of(language);
    auto list = std::make_unique<d72506_codes>();
    for (const player::CodeMessage& entry : player::code_messages()) {
      if (!player::holds(entry.questions, question)) continue;
      list->entries.push_back({std::string(entry.code), entry.scope != player::CodeScope::kQuestion,
                               std::string(chosen == player::Language::kEnglish ? entry.english : entry.french)});
    }
    *out = list.release();
  });
}

d72506_status d72506_codes_count(const d72506_codes* list, int32_t* out, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    const auto& self = checked(list, "list");
    require(out, "out");
    *out = static_cast<int32_t>(self.entries.size());
  });
}

d72506_status d72506_codes_item(const d72506_codes* list, int32_t index, char** code, int* erreur_generale,
                                char** message, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    const auto& self = checked(list, "list");
    require(code, "code");
    require(erreur_generale, "erreur_generale");
    require(message, "message");
    if (index < 1 || static_cast<std::size_t>(index) > self.entries.size()) com::raise(com::err::SubscriptOutOfRange);
    const d72506_codes::Entry& entry = self.entries[static_cast<std::size_t>(index) - 1];
    std::unique_ptr<char, decltype(&d72506_free)> text(new_text(entry.message), &d72506_free);
    *code = new_text(entry.code);
    *message = text.release();
    *erreur_generale = entry.erreur_generale ? 1 : 0;
  });
}

void d72506_codes_release(d72506_codes* list) { d72506::api::release(list); }

}  // extern "C"
