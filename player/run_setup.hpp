// Where a run works, and the machine Excel believes it runs on: what every
// way of driving the module (the commands, a C caller) sets before a run.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/script/budget.hpp"

namespace d72506::player {

// The printer a trainee's machine has unless told otherwise.
inline constexpr const char* kDefaultPrinter = "HP LaserJet 4 sur LPT1:";

// Which application answers as Excel: the embedded stand-in, or a
// LibreOffice the run starts (with its window when a display exists).
enum class Spreadsheet { StandIn, LibreOffice };

// Unnamed folders are temporary and removed afterwards.
struct RunSetup {
  std::filesystem::path exercises;
  std::optional<std::filesystem::path> workdir;
  std::optional<std::filesystem::path> templates_root;
  // Empty for a machine without a printer, as Excel then reports none.
  std::string printer = kDefaultPrinter;
  // What the trainee's statements may take (time and memory) before the run
  // stops them; the player's own calls are not counted.
  platform::script::Limits limits;
  Spreadsheet spreadsheet = Spreadsheet::StandIn;
};

}  // namespace d72506::player
