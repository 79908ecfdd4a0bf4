#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include "cli/commands.hpp"
#include "cli/spreadsheet_choice.hpp"
#include "player/folder.hpp"
#include "player/host_lines.hpp"
#include "player/report.hpp"
#include "platform/script/budget.hpp"

namespace d72506::cli {

namespace script = platform::script;
using player::Folder;
using player::HostLineError;
using player::HostLines;
using player::Player;
using player::PlayerCallFailed;
using player::PlayReport;
using player::ScriptFailure;
using player::Verdict;
namespace stdfs = std::filesystem;

namespace {

// One byte more than a script may hold at most: parse refuses a longer file
// without all of it being read (a device or a huge file would never end).
std::string read_text(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw stdfs::filesystem_error("cannot read the script", file, std::make_error_code(std::errc::io_error));
  std::string text(script::kMaxSourceSize + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) throw stdfs::filesystem_error("cannot read the script", file, std::make_error_code(std::errc::io_error));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

ScriptFailure failure_of(const script::ScriptError& e) {
  const auto& runtime = e.runtime_error();
  return {e.script_name(), e.line(), runtime ? runtime->number() : 0, e.what()};
}

ScriptFailure failure_of(const HostLineError& e, const std::string& script_name) {
  return {script_name, e.line(), 0, script_name + ": line " + std::to_string(e.line()) + ": " + e.what()};
}

int conclude(const PlayReport& report, bool json, std::ostream& out, std::ostream& err, bool budget_spent = false) {
  if (json) out << to_json(report) << '\n';
  if (report.call_error) {
    if (!json) err << "d72506: " << failure_line(*report.call_error) << '\n';
    return kExitCallFailed;
  }
  if (report.script_error) {
    if (!json) err << "d72506: " << report.script_error->message << '\n';
    return budget_spent ? kExitBudgetSpent : kExitScriptFailed;
  }
  return kExitSuccess;
}

}  // namespace

int play(const PlayOptions& options, std::ostream& out, std::ostream& err) {
  PlayReport report;
  report.question = options.question;
  report.language = options.language;
  const std::string script_name = options.trainee ? options.trainee->filename().string() : std::string();
  std::optional<script::Script> trainee;
  try {
    // A script that is not one stops the run before anything is delivered.
    if (options.trainee) trainee = script::parse(read_text(*options.trainee), script_name);
  } catch (const script::ScriptError& e) {
    report.script_error = failure_of(e);
    return conclude(report, options.json, out, err);
  }

  bool budget_spent = false;
  const Folder templates = Folder::named_or_temporary(options.setup.templates_root, "d72506-templates");
  const Folder working = Folder::named_or_temporary(options.setup.workdir, "d72506-work");
  register_spreadsheet(templates.path(), options.setup.printer, working.path(), options.setup.spreadsheet);
  Player player(options.setup.exercises, working.path(), err);
  HostLines host(player, [&](const Verdict& verdict) {
    report.verdicts.push_back(verdict);
    if (!options.json) out << verdict_line(verdict, report.verdicts.size(), options.language) << std::endl;
  });
  try {
    player.init_question(options.question);
    if (trainee) {
      // The trainee's statements alone count against the budget: the clock
      // starts once the question is prepared.
      const script::Budget::Scope budget(std::make_shared<script::Budget>(options.setup.limits));
      script::run(*trainee, platform::com::Variant(player.application()), host.callback());
    }
    if (host.checks() == 0 && player.question_live()) host.run("check", 0);
    player.finish();
  } catch (const PlayerCallFailed& e) {
    report.call_error = e.failure();
    player.abandon();
  } catch (const script::ScriptError& e) {
    report.script_error = failure_of(e);
    budget_spent = e.kind() == script::ScriptError::Kind::Budget;
    player.abandon();
  } catch (const HostLineError& e) {
    report.script_error = failure_of(e, script_name);
    player.abandon();
  } catch (...) {
    player.abandon();
    throw;
  }
  return conclude(report, options.json, out, err, budget_spent);
}

}  // namespace d72506::cli
