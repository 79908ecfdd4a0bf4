#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.hpp"
#include "cli/spreadsheet_choice.hpp"
#include "player/folder.hpp"
#include "player/host_lines.hpp"
#include "player/report.hpp"
#include "player/shown_value.hpp"
#include "platform/com/error.hpp"
#include "platform/script/budget.hpp"

namespace d72506::cli {

namespace com = platform::com;
namespace script = platform::script;
using player::Folder;
using player::HostLineError;
using player::HostLines;
using player::Player;
using player::PlayerCallFailed;
using player::Verdict;

namespace {

// Runs what the shell has gathered: statements, or "? expression".
void run_gathered(script::Session& session, const std::string& text, std::ostream& out) {
  if (text.starts_with('?')) {
    out << player::shown_value(session.evaluate(std::string_view(text).substr(1))) << '\n';
  } else {
    session.run_line(text);
  }
}

// A line of at most a script's size: the rest of a longer one is read and
// dropped, and `too_long` says so. False at the end of the input.
bool read_line(std::istream& in, std::ostream& out, bool prompt, bool continuing, std::string& line, bool& too_long) {
  if (prompt) out << (continuing ? "...> " : "d72506> ") << std::flush;
  line.clear();
  too_long = false;
  std::istream::sentry ready(in, true);
  if (!ready) return false;
  for (auto c = in.rdbuf()->sbumpc(); c != std::char_traits<char>::eof(); c = in.rdbuf()->sbumpc()) {
    if (c == '\n') return true;
    if (line.size() < script::kMaxSourceSize) line += static_cast<char>(c);
    else too_long = true;
  }
  in.setstate(std::ios::eofbit);
  return !line.empty() || too_long;
}

}  // namespace

int shell(const ShellOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  const RunSetup& setup = options.setup;
  const bool prompt = options.prompt;
  const Folder templates = Folder::named_or_temporary(setup.templates_root, "d72506-templates");
  const Folder working = Folder::named_or_temporary(setup.workdir, "d72506-work");
  register_spreadsheet(templates.path(), setup.printer, working.path(), setup.spreadsheet);
  Player player(setup.exercises, working.path(), err);
  // The trainee's own Excel, which the module adopts at "#init".
  player.adopt(player::start_registered_excel());
  std::size_t verdicts = 0;
  HostLines host(player, [&](const Verdict& v) { out << verdict_line(v, ++verdicts, options.language) << '\n'; });
  bool budget_spent = false;
  {
    // Each line gets the whole time; what the variables hold counts for the
    // whole session. The budget ends before the player's closing calls.
    const auto budget = std::make_shared<script::Budget>(setup.limits);
    const script::Budget::Scope scope(budget);
    script::Session session(com::Variant(player.application()), host.callback());

    if (prompt) out << "Statements run on Excel; \"? expr\" prints a value; see `d72506 --help` for the # lines.\n";
    std::string gathered;
    std::string line;
    bool too_long = false;
    while (read_line(in, out, prompt, !gathered.empty(), line, too_long)) {
      if (too_long || gathered.size() + line.size() > script::kMaxSourceSize) {
        err << "the statements are longer than " << (script::kMaxSourceSize >> 20) << " MiB; dropped\n";
        gathered.clear();
        continue;
      }
      gathered += gathered.empty() ? line : "\n" + line;
      budget->restart();
      try {
        run_gathered(session, gathered, out);
      } catch (const script::ScriptError& e) {
        if (e.incomplete()) continue;
        budget_spent = budget_spent || e.kind() == script::ScriptError::Kind::Budget;
        err << e.what() << '\n';
      } catch (const HostLineError& e) {
        err << "line " << e.line() << ": " << e.what() << '\n';
      } catch (const PlayerCallFailed& e) {
        err << failure_line(e.failure()) << '\n';
      } catch (const com::Error& e) {
        err << "error " << e.number() << ": " << e.description() << '\n';
      } catch (const std::exception& e) {
        // A "#" line whose files could not be delivered, for one: the line
        // failed, the shell goes on.
        err << "d72506: " << e.what() << '\n';
      }
      gathered.clear();
    }
  }
  try {
    player.finish();
  } catch (const PlayerCallFailed& e) {
    err << failure_line(e.failure()) << '\n';
    return kExitCallFailed;
  }
  return budget_spent ? kExitBudgetSpent : kExitSuccess;
}

}  // namespace d72506::cli
