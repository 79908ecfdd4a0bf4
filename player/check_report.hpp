// What `check` tells its caller about each judged file: a line of text, one
// JSON document, a CSV table for a spreadsheet or a learning platform, and
// one self-contained HTML page for the class. File names and texts come
// from trainees and are escaped in every form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/messages.hpp"
#include "player/saved_answers.hpp"

namespace d72506::player {

struct CheckReport {
  std::int32_t question = 0;
  Language language = Language::kFrench;
  std::vector<Judgement> results;
};

// What the judgement means to a person: the verdict's message, why the file
// was not judged, or why it could not be.
std::string judgement_message(const Judgement& judgement, std::int32_t question, Language language);

// `alice.xls: CauseErreur="C" ErreurGenerale=False: <message>`, or the
// status in place of the verdict (`bob.txt: unreadable: <message>`).
std::string check_line(const Judgement& judgement, std::int32_t question, Language language);

// {"question": 601, "results": [{"file", "status", "erreurGenerale",
// "causeErreur", "message", "error"}]}; the verdict's fields are null for a
// file that got no verdict, "error" is null or {"number", "description"}.
std::string check_json(const CheckReport& report);

// RFC 4180: a header row, then a row per file; CRLF line ends, UTF-8.
// A file name that a spreadsheet would take for a formula (it begins with
// =, +, -, @, a tab or a carriage return) is prefixed with an apostrophe.
std::string check_csv(const CheckReport& report);

// One page, no script, no outside resource: the table of files with their
// verdicts and messages, and an inline SVG chart of how many files got
// each code (and each status that is not a verdict).
std::string check_html(const CheckReport& report);

}  // namespace d72506::player
