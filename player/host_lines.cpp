#include "player/host_lines.hpp"

#include <algorithm>
#include <cctype>
#include <utility>

#include "player/question_number.hpp"
#include "platform/win32/keystrokes.hpp"
#include "platform/win32/window_calls.hpp"

namespace d72506::player {

namespace {

// What the assistant says when the script gives no text.
constexpr const char* kBalloonText = "Que voulez-vous faire ?";

std::string lower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

// The line's first word and the rest, trimmed.
std::pair<std::string, std::string> split(std::string_view line) {
  const auto blank = line.find_first_of(" \t");
  if (blank == std::string_view::npos) return {lower(line), {}};
  std::string_view rest = line.substr(blank);
  const auto start = rest.find_first_not_of(" \t");
  rest = start == std::string_view::npos ? std::string_view{} : rest.substr(start);
  return {lower(line.substr(0, blank)), std::string(rest)};
}

}  // namespace

void HostLines::run(std::string_view line, int line_number) {
  const auto [command, argument] = split(line);
  const auto refuse_argument = [line_number](const std::string& name, const std::string& given) {
    if (!given.empty()) throw HostLineError(line_number, "#" + name + " takes no argument");
  };
  if (command == "check") {
    refuse_argument(command, argument);
    ++checks_;
    on_verdict_(player_.teste_point());
  } else if (command == "fermer") {
    refuse_argument(command, argument);
    player_.fermer();
  } else if (command == "quitter") {
    refuse_argument(command, argument);
    player_.quitter();
  } else if (command == "init") {
    const auto question = parse_question_number(argument);
    if (!question) throw HostLineError(line_number, "#init needs a question number, not '" + argument + "'");
    player_.init_question(*question);
  } else if (command == "close-excel") {
    refuse_argument(command, argument);
    // The trainee closes Excel's main window, whichever application answers as Excel.
    if (player_.window() == 0) throw HostLineError(line_number, "#close-excel: the player holds no Excel");
    platform::win32::SendMessageA(static_cast<platform::win32::HWND>(player_.window()), platform::win32::WM_CLOSE, 0, 0);
  } else if (command == "edit") {
    if (argument.empty()) throw HostLineError(line_number, "#edit needs a cell, as in '#edit D1'");
    excel(command, line_number)->enter_edit_mode(argument);
  } else if (command == "keys") {
    if (argument.empty()) throw HostLineError(line_number, "#keys needs keystrokes, as in '#keys {ESC}'");
    platform::win32::SendKeys(argument);
  } else if (command == "dialog") {
    excel(command, line_number)->open_dialog(argument);
  } else if (command == "balloon") {
    excel(command, line_number)->show_balloon(argument.empty() ? kBalloonText : argument);
  } else {
    throw HostLineError(line_number, "unknown host line '#" + command + "'");
  }
}

std::shared_ptr<engine::app::Application> HostLines::excel(const std::string& command, int line_number) const {
  auto excel = player_.excel();
  if (!excel) throw HostLineError(line_number, "#" + command + ": the player holds no Excel");
  return excel;
}

platform::script::HostCallback HostLines::callback() {
  return [this](std::string_view line, int line_number) { run(line, line_number); };
}

}  // namespace d72506::player
