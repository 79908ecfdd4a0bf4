#include "player/check_report.hpp"

#include "player/report.hpp"

namespace d72506::player {

using json = nlohmann::ordered_json;

namespace {

std::string in_language(Language language, const char* french, const char* english) {
  return language == Language::kEnglish ? english : french;
}

json error_json(const Judgement& j) {
  if (!j.failure) return nullptr;
  return {{"number", j.failure->number}, {"description", j.failure->description}};
}

json result_json(const Judgement& j, std::int32_t question, Language language) {
  const bool judged = j.status == JudgeStatus::kJudged;
  return {{"file", j.file.string()},
          {"status", status_name(j.status)},
          {"erreurGenerale", judged ? json(j.verdict.erreur_generale) : json(nullptr)},
          {"causeErreur", judged ? json(j.verdict.cause_erreur) : json(nullptr)},
          {"message", judgement_message(j, question, language)},
          {"error", error_json(j)}};
}

// A field as RFC 4180 writes it: quoted when it holds a quote, a comma or a
// line break, its quotes doubled.
std::string csv_field(const std::string& text) {
  if (text.find_first_of("\",\r\n") == std::string::npos) return text;
  std::string field = "\"";
  for (char c : text) field += c == '"' ? std::string("\"\"") : std::string(1, c);
  return field + "\"";
}

// A spreadsheet that opens the table would run a cell beginning with these
// as a formula; a file name is the trainee's to choose.
std::string inert(const std::string& text) {
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) return "'" + text;
  return text;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
std::string csv_row(const std::vector<std::string>& fields) {
  std::string row;
  for (const std::string& f : fields) row += (row.empty() ? "" : ",") + csv_field(f);
  return row + "\r\n";
}
#pragma GCC diagnostic pop

}  // namespace

std::string judgement_message(const Judgement& j, std::int32_t question, Language language) {
  switch (j.status) {
    case JudgeStatus::kJudged:
      return verdict_message(question, j.verdict.erreur_generale, j.verdict.cause_erreur, language);
    case JudgeStatus::kNotJudged:
      return std::string(not_judged_reason(question, language).value_or(""));
    case JudgeStatus::kUnreadable:
      return in_language(language, "Ce fichier ne peut pas être lu comme un classeur : ",
                         "This file cannot be read as a workbook: ") +
             j.failure->description;
    case JudgeStatus::kFailed:
      return in_language(language, "Le module n'a pas pu juger ce fichier : ", "The module could not judge this file: ") +
             failure_line(*j.failure);
  }
  return {};
}

std::string check_line(const Judgement& j, std::int32_t question, Language language) {
  const std::string verdict = j.status == JudgeStatus::kJudged ? verdict_fields(j.verdict) : status_name(j.status);
  return j.file.string() + ": " + verdict + ": " + judgement_message(j, question, language);
}

std::string check_json(const CheckReport& report) {
  json results = json::array();
  for (const Judgement& j : report.results) results.push_back(result_json(j, report.question, report.language));
  return json_text({{"question", report.question}, {"results", std::move(results)}});
}

std::string check_csv(const CheckReport& report) {
  std::string table = csv_row({"file", "status", "erreurGenerale", "causeErreur", "message", "errorNumber",
                               "errorDescription"});
  for (const Judgement& j : report.results) {
    const bool judged = j.status == JudgeStatus::kJudged;
    table += csv_row({inert(j.file.string()), status_name(j.status),
                      judged ? (j.verdict.erreur_generale ? "true" : "false") : "",
                      judged ? inert(j.verdict.cause_erreur) : "", judgement_message(j, report.question, report.language),
                      j.failure ? std::to_string(j.failure->number) : "",
                      j.failure ? inert(j.failure->description) : ""});
  }
  return table;
}

}  // namespace d72506::player
