// d72506: the course player's side of the chapter's exercise module, for a
// terminal. Argument errors exit with status 2, as CLI11 reports them.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "cli/commands.hpp"
#include "player/exercise_files.hpp"
#include "player/question_number.hpp"

namespace {

namespace cli = d72506::cli;
namespace stdfs = std::filesystem;

constexpr const char* kHostLines =
    "Lines of a trainee script (and of the shell) that begin with '#':\n"
    "  #check            ask for a verdict (TestePoint, then what the player reads)\n"
    "  #edit CELL        leave a cell in edit mode, as a trainee typing in it\n"
    "  #keys KEYS        type keys into the foreground window, as in #keys {ESC}\n"
    "  #dialog [TITLE]   open a modal dialog over Excel's window\n"
    "  #balloon [TEXT]   show the assistant's balloon\n"
    "  #close-excel      close Excel's main window\n"
    "  #init N           deliver question N's files and call InitQuestion\n"
    "  #fermer, #quitter the player's Fermer and Quitter\n";

const CLI::Validator kQuestionNumber(
    [](std::string& text) {
      return d72506::player::parse_question_number(text) ? std::string()
                                              : "a question number is decimal digits, as in 601, not '" + text + "'";
    },
    "NUMBER");

// A folder whose listing can be read: an exercises folder that cannot be
// read would otherwise surface as a module failure far from its cause.
const CLI::Validator kReadableFolder(
    [](std::string& text) {
      std::error_code error;
      if (!stdfs::is_directory(text, error)) return "no such folder: " + text;
      stdfs::directory_iterator listing(text, error);
      return error ? "cannot read the folder " + text + ": " + error.message() : std::string();
    },
    "DIR");

struct SetupArguments {
  std::string exercises;
  std::string workdir;
  std::string templates_root;
  std::string printer = cli::kDefaultPrinter;
  bool no_printer = false;

  void add_to(CLI::App& command) {
    command.add_option("--workdir", workdir, "working folder (created if missing, kept); default: a temporary one");
    command.add_option("--exercises", exercises, "folder of the built exercise files; default: beside the program")
        ->check(kReadableFolder);
    command.add_option("--templates-root", templates_root,
                       "folder under which Excel keeps its templates; default: a temporary one")
        ->check(CLI::ExistingDirectory);
    CLI::Option* named = command.add_option("--printer", printer, "the printer Excel reports")->capture_default_str();
    command.add_flag("--no-printer", no_printer, "a machine without a printer, as Excel then reports none")
        ->excludes(named);
  }

  // Throws CLI::ValidationError when no exercises folder is named or found.
  cli::RunSetup resolve() const {
    cli::RunSetup setup;
    if (!exercises.empty()) {
      setup.exercises = stdfs::absolute(exercises);
    } else if (auto found = d72506::player::default_exercises_folder()) {
      setup.exercises = *found;
    } else {
      throw CLI::ValidationError("--exercises", "no built exercise files beside the program; name their folder");
    }
    if (!workdir.empty()) setup.workdir = stdfs::path(workdir);
    if (!templates_root.empty()) setup.templates_root = stdfs::absolute(templates_root);
    setup.printer = no_printer ? std::string() : printer;
    return setup;
  }
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Plays the questions of the chapter 6 exercise module as the course player does.", "d72506");
  app.require_subcommand(1);
  app.footer(kHostLines);

  std::string question;
  std::string trainee;
  bool json = false;
  SetupArguments play_setup;
  CLI::App* play = app.add_subcommand("play", "prepare a question, run a trainee script on it, print each verdict");
  play->add_option("QUESTION", question, "question number, 601 to 615")->required()->check(kQuestionNumber);
  play->add_option("--trainee", trainee, "trainee script run on Excel once the question is prepared")
      ->check(CLI::ExistingFile);
  play->add_flag("--json", json, "print one JSON object instead of a line per verdict");
  play_setup.add_to(*play);

  SetupArguments shell_setup;
  CLI::App* shell = app.add_subcommand("shell", "type statements and # lines against Excel, one at a time");
  shell_setup.add_to(*shell);

  try {
    app.parse(argc, argv);
    if (play->parsed()) {
      cli::PlayOptions options;
      options.question = *d72506::player::parse_question_number(question);
      if (!trainee.empty()) options.trainee = stdfs::path(trainee);
      options.setup = play_setup.resolve();
      options.json = json;
      return cli::play(options, std::cout, std::cerr);
    }
    return cli::shell(shell_setup.resolve(), std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) != 0);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? cli::kExitSuccess : cli::kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "d72506: " << e.what() << '\n';
    return cli::kExitUsage;
  }
}
