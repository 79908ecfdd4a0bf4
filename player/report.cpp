#include "player/report.hpp"

#include <nlohmann/json.hpp>

namespace d72506::player {

using json = nlohmann::ordered_json;

namespace {

const char* basic_bool(bool value) { return value ? "True" : "False"; }

json verdict_json(const Verdict& v, Language language) {
  return {{"erreurGenerale", v.erreur_generale},
          {"causeErreur", v.cause_erreur},
          {"bravoNuance", v.bravo_nuance},
          {"complement", v.complement},
          {"message", verdict_message(v.question, v.erreur_generale, v.cause_erreur, language)}};
}

json error_json(const PlayReport& report) {
  if (report.call_error) {
    const CallFailure& f = *report.call_error;
    return {{"call", f.call}, {"number", f.number}, {"source", f.source}, {"description", f.description}};
  }
  if (report.script_error) {
    const ScriptFailure& f = *report.script_error;
    return {{"call", "script"}, {"line", f.line}, {"number", f.number}, {"source", f.script},
            {"description", f.message}};
  }
  return nullptr;
}

}  // namespace

std::string json_text(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

std::string quoted(const std::string& text) { return json_text(json(text)); }

std::string verdict_fields(const Verdict& verdict) {
  return "CauseErreur=" + quoted(verdict.cause_erreur) + " ErreurGenerale=" + basic_bool(verdict.erreur_generale);
}

std::string verdict_line(const Verdict& verdict, std::size_t number, Language language) {
  return "check " + std::to_string(number) + ": " + verdict_fields(verdict) +
         " BravoNuance=" + basic_bool(verdict.bravo_nuance) + " Complement=" + json_text(json(verdict.complement)) +
         " — " + verdict_message(verdict.question, verdict.erreur_generale, verdict.cause_erreur, language);
}

std::string failure_line(const CallFailure& failure) {
  return failure.call + " failed: error " + std::to_string(failure.number) + ": " + failure.description +
         " (source " + quoted(failure.source) + ")";
}

std::string to_json(const PlayReport& report) {
  json verdicts = json::array();
  for (const Verdict& v : report.verdicts) verdicts.push_back(verdict_json(v, report.language));
  return json_text({{"question", report.question}, {"verdicts", std::move(verdicts)}, {"error", error_json(report)}});
}

}  // namespace d72506::player
