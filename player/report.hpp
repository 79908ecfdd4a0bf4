// What `play` tells its caller: a line of text per verdict as it comes, or
// one JSON object at the end of the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "player/messages.hpp"
#include "player/player.hpp"

namespace d72506::player {

// A trainee script that stopped: at `line` (0 when it never started).
struct ScriptFailure {
  std::string script;
  int line = 0;
  std::int32_t number = 0;  // the runtime error's number when one stopped it
  std::string message;
};

struct PlayReport {
  std::int32_t question = 0;
  Language language = Language::kFrench;
  std::vector<Verdict> verdicts;
  std::optional<CallFailure> call_error;
  std::optional<ScriptFailure> script_error;
};

// "check 1: CauseErreur="C" ErreurGenerale=False BravoNuance=False Complement=[] — <message>"
std::string verdict_line(const Verdict& verdict, std::size_t number, Language language);
// "CauseErreur="C" ErreurGenerale=False": what play and check both show.
std::string verdict_fields(const Verdict& verdict);
// "InitQuestion failed: error 9: <description> (source "<source>")"
std::string failure_line(const CallFailure& failure);
// {"question": 601, "verdicts": [...], "error": null}; each verdict carries
// its message; the error names the failed call, or "script" with its line.
std::string to_json(const PlayReport& report);
// Text quoted as a JSON string: control characters escaped, UTF-8 kept.
std::string quoted(const std::string& text);
// A JSON value as one line of text. Text from Excel or a file may hold
// bytes that are not UTF-8: they are replaced rather than stopping the report.
std::string json_text(const nlohmann::ordered_json& value);

}  // namespace d72506::player
