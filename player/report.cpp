#include "player/report.hpp"

#include <nlohmann/json.hpp>

namespace d72506::player {

using json = nlohmann::ordered_json;

namespace {

// Text from Excel or a script file may hold bytes that are not UTF-8:
// they are replaced rather than stopping the report.
std::string dump(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

const char* basic_bool(bool value) { return value ? "True" : "False"; }

json verdict_json(const Verdict& v) {
  return {{"erreurGenerale", v.erreur_generale},
          {"causeErreur", v.cause_erreur},
          {"bravoNuance", v.bravo_nuance},
          {"complement", v.complement}};
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

std::string quoted(const std::string& text) { return dump(json(text)); }

std::string verdict_line(const Verdict& verdict, std::size_t number) {
  return "check " + std::to_string(number) + ": CauseErreur=" + quoted(verdict.cause_erreur) +
         " ErreurGenerale=" + basic_bool(verdict.erreur_generale) +
         " BravoNuance=" + basic_bool(verdict.bravo_nuance) + " Complement=" + dump(json(verdict.complement));
}

std::string failure_line(const CallFailure& failure) {
  return failure.call + " failed: error " + std::to_string(failure.number) + ": " + failure.description +
         " (source " + quoted(failure.source) + ")";
}

std::string to_json(const PlayReport& report) {
  json verdicts = json::array();
  for (const Verdict& v : report.verdicts) verdicts.push_back(verdict_json(v));
  return dump({{"question", report.question}, {"verdicts", std::move(verdicts)}, {"error", error_json(report)}});
}

}  // namespace d72506::player
