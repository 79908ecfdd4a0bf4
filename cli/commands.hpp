// The command's subcommands, apart from their argument parsing (main.cpp):
// `play` runs one question as the course player does, `shell` lets a person
// type statements and "#" lines against the stand-in Excel, `check` judges
// saved workbooks, `codes` lists what each verdict code means.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "player/messages.hpp"
#include "player/run_setup.hpp"

namespace d72506::cli {

// Exit statuses: a module call failed (1); the arguments or the trainee
// script were wrong (2). For `check`: every file judged (0), some file not
// judged (1: unreadable, not judged from a file, or the module failed).
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitCallFailed = 1;
inline constexpr int kExitSomeNotJudged = 1;
inline constexpr int kExitUsage = 2;
// The trainee's statements spent their time or memory budget (play: the run
// stopped there, the module still closed by Fermer and Quitter; shell: some
// line was stopped so).
inline constexpr int kExitBudgetSpent = 3;
// The trainee script stopped: it is not a script, a statement raised an
// error, or a "#" line could not run. Apart from usage errors, so that a
// caller can tell a wrong answer script from a wrong command line.
inline constexpr int kExitScriptFailed = 4;

using player::kDefaultPrinter;
using player::RunSetup;

struct PlayOptions {
  std::int32_t question = 0;
  std::optional<std::filesystem::path> trainee;
  RunSetup setup;
  player::Language language = player::Language::kFrench;
  bool json = false;
};

struct ShellOptions {
  RunSetup setup;
  player::Language language = player::Language::kFrench;
  // A prompt before each line, for a person at a terminal.
  bool prompt = false;
};

struct CheckOptions {
  std::int32_t question = 0;
  // Files and folders, as the user named them.
  std::vector<std::filesystem::path> paths;
  RunSetup setup;
  unsigned workers = 1;
  player::Language language = player::Language::kFrench;
  bool json = false;
  std::optional<std::filesystem::path> csv;
  std::optional<std::filesystem::path> html;
  // A progress line on `err` while the run goes on.
  bool progress = false;
};

// Delivers the question's files, InitQuestion, the trainee script with its
// "#" lines (TestePoint once at the end when it asks for no verdict), then
// Fermer and Quitter. Verdicts go to `out` (a line each, or one JSON object
// at the end); notes and failures in text form to `err`.
int play(const PlayOptions& options, std::ostream& out, std::ostream& err);

// Reads statements and "#" lines from `in` until its end; "? expression"
// prints a value. A failing line is reported and the shell goes on. With
// `prompt`, a prompt is written before each line.
int shell(const ShellOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

// Judges each file (every workbook of each folder) as the question's answer:
// a line per file on `out` (or one JSON document), and the CSV and HTML
// reports when asked. Fails with kExitUsage, before judging anything, when
// a report file cannot be written or the paths name no workbook at all.
int check(const CheckOptions& options, std::ostream& out, std::ostream& err);

// Lists the codes of one question (all when `question` is 0) with their
// messages, a line each.
int codes(std::int32_t question, player::Language language, std::ostream& out);

struct ServeOptions {
  RunSetup setup;
};

// Answers JSON requests read from `in`, one per line, with one JSON response
// per line on `out` (docs/protocol.md); notes go to `err`. Whatever the
// requests left open is closed at the end of the input.
int serve(const ServeOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace d72506::cli
