// The command's two subcommands, apart from their argument parsing (main.cpp):
// `play` runs one question as the course player does, `shell` lets a person
// type statements and "#" lines against the stand-in Excel.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "player/run_setup.hpp"

namespace d72506::cli {

// Exit statuses: a module call failed (1); the arguments or the trainee
// script were wrong (2).
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitCallFailed = 1;
inline constexpr int kExitUsage = 2;

using player::kDefaultPrinter;
using player::RunSetup;

struct PlayOptions {
  std::int32_t question = 0;
  std::optional<std::filesystem::path> trainee;
  RunSetup setup;
  bool json = false;
};

// Delivers the question's files, InitQuestion, the trainee script with its
// "#" lines (TestePoint once at the end when it asks for no verdict), then
// Fermer and Quitter. Verdicts go to `out` (a line each, or one JSON object
// at the end); notes and failures in text form to `err`.
int play(const PlayOptions& options, std::ostream& out, std::ostream& err);

// Reads statements and "#" lines from `in` until its end; "? expression"
// prints a value. A failing line is reported and the shell goes on. With
// `prompt`, a prompt is written before each line.
int shell(const RunSetup& setup, std::istream& in, std::ostream& out, std::ostream& err, bool prompt);

}  // namespace d72506::cli
