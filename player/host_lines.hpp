// The "#" lines of a trainee script: the world's actions on Excel and the
// player's calls, so that one script acts out a whole session.
//
//   #check            TestePoint and the reads; the verdict goes to the sink
//   #edit CELL        the trainee leaves a cell in edit mode
//   #keys KEYS        the trainee types keys ("{ESC}") into the foreground window
//   #dialog [TITLE]   a modal dialog opens over Excel's main window
//   #balloon [TEXT]   the assistant's balloon appears
//   #close-excel      the user closes Excel's main window
//   #init N           the player delivers question N's files and calls InitQuestion
//   #fermer, #quitter the player's Fermer and Quitter
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "player/player.hpp"
#include "platform/script/script.hpp"

namespace d72506::player {

// A "#" line that names nothing above, or lacks what it needs.
class HostLineError : public std::runtime_error {
 public:
  HostLineError(int line, const std::string& problem) : std::runtime_error(problem), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

class HostLines {
 public:
  using VerdictSink = std::function<void(const Verdict&)>;

  HostLines(Player& player, VerdictSink on_verdict) : player_(player), on_verdict_(std::move(on_verdict)) {}

  // Runs one line, given without its '#'. A failed module call throws
  // PlayerCallFailed; a line it cannot run, HostLineError; a world action
  // Excel refuses, its runtime error.
  void run(std::string_view line, int line_number);
  // The callback a script session calls with each "#" line.
  platform::script::HostCallback callback();

  int checks() const { return checks_; }

 private:
  // The stand-in the player holds; HostLineError when it holds none.
  std::shared_ptr<engine::app::Application> excel(const std::string& command, int line_number) const;

  Player& player_;
  VerdictSink on_verdict_;
  int checks_ = 0;
};

}  // namespace d72506::player
