// d72506: the course player's side of the chapter's exercise module, for a
// terminal. Argument errors exit with status 2, as CLI11 reports them.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/commands.hpp"
#include "player/exercise_files.hpp"
#include "player/folder.hpp"
#include "player/judging_run.hpp"
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
    "  #fermer, #quitter the player's Fermer and Quitter\n"
    "\n"
    "Exit statuses: 0 success (check: every file judged); 1 a module call failed\n"
    "(check: some file not judged: unreadable, not judged from a file, or the\n"
    "module failed on it); 2 wrong arguments;\n"
    "3 the trainee's statements spent their time or memory budget (--time-limit,\n"
    "--memory-limit): the message names the line, and the module is still closed\n"
    "(Fermer, Quitter); the shell goes on and ends with 3;\n"
    "4 the trainee script stopped otherwise: not a script, a statement's error, or\n"
    "a # line that cannot run (named with its line).\n";

// The commands know only the chapter's questions; a script's "#init" may
// still hand the module any number, as a player may.
const CLI::Validator kChapterQuestion(
    [](std::string& text) {
      const auto number = d72506::player::parse_question_number(text);
      return number && *number >= d72506::player::kFirstQuestion && *number <= d72506::player::kLastQuestion
                 ? std::string()
                 : "a question of the chapter is 601 to 615, not '" + text + "'";
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
    command.add_option("--templates-root", templates_root,
                       "folder under which Excel keeps its templates; default: a temporary one")
        ->check(CLI::ExistingDirectory);
    add_machine_to(command);
  }

  // The exercise files and the printer, without the folders a run works in.
  void add_machine_to(CLI::App& command) {
    command.add_option("--exercises", exercises, "folder of the built exercise files; default: beside the program")
        ->check(kReadableFolder);
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

// --time-limit and --memory-limit: what the trainee's statements may take.
struct BudgetArguments {
  double seconds = std::chrono::duration<double>(platform::script::Limits::kDefaultTime).count();
  std::size_t mebibytes = platform::script::Limits::kDefaultMemory >> 20;

  void add_to(CLI::App& command, const std::string& timed) {
    command.add_option("--time-limit", seconds, "seconds the trainee's statements may run (" + timed + ")")
        ->check(CLI::Range(0.001, 86400.0))
        ->capture_default_str();
    command.add_option("--memory-limit", mebibytes, "MiB of text and arrays the trainee's statements may hold")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1} << 20))
        ->capture_default_str();
  }

  platform::script::Limits limits() const {
    return {std::chrono::milliseconds(std::llround(seconds * 1000)), mebibytes << 20};
  }
};

// --app embedded|libreoffice: which application answers as Excel.
struct AppArgument {
  std::string name = "embedded";

  void add_to(CLI::App& command) {
    command
        .add_option("--app", name,
                    "the spreadsheet the trainee uses: embedded (the built-in Excel) or libreoffice (started for "
                    "the run, with its window when a display exists)")
        ->check(CLI::IsMember({"embedded", "libreoffice"}))
        ->capture_default_str();
  }
  d72506::player::Spreadsheet resolve() const {
    return name == "libreoffice" ? d72506::player::Spreadsheet::LibreOffice : d72506::player::Spreadsheet::StandIn;
  }
};

// --lang fr|en; without it, the environment's language (LC_ALL,
// LC_MESSAGES, LANG), French when that is neither.
struct LanguageArgument {
  std::string name;

  void add_to(CLI::App& command) {
    command.add_option("--lang", name, "language of the messages: fr or en; default: from LANG, else fr")
        ->check(CLI::IsMember({"fr", "en"}));
  }
  d72506::player::Language resolve() const {
    return name.empty() ? d72506::player::language_from_environment() : *d72506::player::parse_language(name);
  }
};

// With --json, a wrong argument is reported as the run's error, in the
// shape of play's report, so that a program reading it needs no second parser.
std::string usage_error_json(const std::string& problem) {
  const nlohmann::ordered_json error = {
      {"call", "arguments"}, {"number", 0}, {"source", "d72506"}, {"description", problem}};
  const nlohmann::ordered_json report = {{"question", nullptr}, {"verdicts", nlohmann::json::array()}, {"error", error}};
  return report.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// The subcommand names, as help lists them.
std::vector<std::string> subcommand_names(CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) names.push_back(sub->get_name());
  return names;
}

// Without a subcommand, or with a word that names none, the command says
// which exist rather than only that one is required.
std::optional<std::string> subcommand_problem(CLI::App& app, int argc, char** argv) {
  const std::vector<std::string> names = subcommand_names(app);
  std::string listed;
  for (const std::string& name : names) listed += (listed.empty() ? "" : ", ") + name;
  if (argc < 2) return "a subcommand is required: " + listed;
  const std::string first = argv[1];
  if (first.starts_with('-') || std::find(names.begin(), names.end(), first) != names.end()) return std::nullopt;
  return "unknown subcommand '" + first + "': the subcommands are " + listed;
}

}  // namespace

int main(int argc, char** argv) {
  // First, before any thread starts: an interrupted run leaves no temporary folder.
  d72506::player::Folder::remove_temporaries_on_signals();
  CLI::App app("Plays the questions of the chapter 6 exercise module as the course player does.", "d72506");
  app.require_subcommand(1);
  app.footer(kHostLines);
  app.set_version_flag("--version", std::string("d72506 ") + D72506_VERSION_TEXT);

  std::string question;
  std::string trainee;
  bool json = false;
  SetupArguments play_setup;
  CLI::App* play = app.add_subcommand("play", "prepare a question, run a trainee script on it, print each verdict");
  play->add_option("QUESTION", question, "question number, 601 to 615")->required()->check(kChapterQuestion);
  play->add_option("--trainee", trainee, "trainee script run on Excel once the question is prepared")
      ->check(CLI::ExistingFile);
  play->add_flag("--json", json, "print one JSON object instead of a line per verdict");
  play_setup.add_to(*play);
  BudgetArguments play_budget;
  play_budget.add_to(*play, "the whole script");
  LanguageArgument play_language;
  play_language.add_to(*play);
  AppArgument play_app;
  play_app.add_to(*play);

  SetupArguments shell_setup;
  CLI::App* shell = app.add_subcommand("shell", "type statements and # lines against Excel, one at a time");
  shell_setup.add_to(*shell);
  BudgetArguments shell_budget;
  shell_budget.add_to(*shell, "each line");
  LanguageArgument shell_language;
  shell_language.add_to(*shell);
  AppArgument shell_app;
  shell_app.add_to(*shell);

  std::string check_question;
  std::vector<std::string> check_paths;
  unsigned workers = d72506::player::default_workers();
  bool check_json = false;
  std::string csv;
  std::string html;
  SetupArguments check_setup;
  LanguageArgument check_language;
  CLI::App* check = app.add_subcommand("check", "judge saved workbooks (files, or every workbook of a folder) as a question's answer");
  check->add_option("QUESTION", check_question, "question number, 601 to 615")->required()->check(kChapterQuestion);
  check->add_option("FILE", check_paths, "saved workbooks (.xls .xlt .xlsx .xlsm .xltx .ods .ots) or folders of them")
      ->required();
  check->add_option("-j,--jobs", workers, "files judged at once, each by its own Excel; default: the machine's cores")
      ->check(CLI::Range(1u, d72506::player::kMaxWorkers));
  check->add_flag("--json", check_json, "print one JSON document instead of a line per file");
  check->add_option("--csv", csv, "also write the results as CSV (RFC 4180, UTF-8) to this file");
  check->add_option("--html", html, "also write one self-contained HTML page for the class to this file");
  check_setup.add_machine_to(*check);
  check_language.add_to(*check);

  SetupArguments serve_setup;
  CLI::App* serve = app.add_subcommand("serve", "answer JSON requests, one per line on standard input (docs/protocol.md)");
  serve_setup.add_to(*serve);
  BudgetArguments serve_budget;
  serve_budget.add_to(*serve, "each request");

  std::string codes_question;
  LanguageArgument codes_language;
  CLI::App* codes = app.add_subcommand("codes", "list the verdict codes and what each means to a trainee");
  codes->add_option("QUESTION", codes_question, "only this question's codes")->check(kChapterQuestion);
  codes_language.add_to(*codes);

  CLI::App* help = app.add_subcommand("help", "list the subcommands; d72506 SUBCOMMAND --help tells one's options");
  const bool json_requested =
      std::any_of(argv + 1, argv + argc, [](const char* a) { return a == std::string_view("--json"); });
  try {
    if (const auto problem = subcommand_problem(app, argc, argv)) {
      throw CLI::ValidationError(*problem, CLI::ExitCodes::RequiredError);
    }
    app.parse(argc, argv);
    if (help->parsed()) {
      // The command's own help, not that of the subcommand named help.
      std::cout << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
      return cli::kExitSuccess;
    }
    if (play->parsed()) {
      cli::PlayOptions options;
      options.question = *d72506::player::parse_question_number(question);
      if (!trainee.empty()) options.trainee = stdfs::path(trainee);
      options.setup = play_setup.resolve();
      options.setup.limits = play_budget.limits();
      options.setup.spreadsheet = play_app.resolve();
      options.language = play_language.resolve();
      options.json = json;
      return cli::play(options, std::cout, std::cerr);
    }
    if (check->parsed()) {
      cli::CheckOptions options;
      options.question = *d72506::player::parse_question_number(check_question);
      options.paths.assign(check_paths.begin(), check_paths.end());
      options.setup = check_setup.resolve();
      options.workers = workers;
      options.language = check_language.resolve();
      options.json = check_json;
      if (!csv.empty()) options.csv = stdfs::path(csv);
      if (!html.empty()) options.html = stdfs::path(html);
      options.progress = isatty(STDERR_FILENO) != 0;
      return cli::check(options, std::cout, std::cerr);
    }
    if (codes->parsed()) {
      const auto number = codes_question.empty() ? 0 : *d72506::player::parse_question_number(codes_question);
      return cli::codes(number, codes_language.resolve(), std::cout);
    }
    if (serve->parsed()) {
      cli::ServeOptions options;
      options.setup = serve_setup.resolve();
      options.setup.limits = serve_budget.limits();
      return cli::serve(options, std::cin, std::cout, std::cerr);
    }
    cli::ShellOptions options;
    options.setup = shell_setup.resolve();
    options.setup.limits = shell_budget.limits();
    options.setup.spreadsheet = shell_app.resolve();
    options.language = shell_language.resolve();
    options.prompt = isatty(STDIN_FILENO) != 0;
    return cli::shell(options, std::cin, std::cout, std::cerr);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() != 0 && json_requested) {
      std::cout << usage_error_json(e.what()) << '\n';
      return cli::kExitUsage;
    }
    return app.exit(e) == 0 ? cli::kExitSuccess : cli::kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "d72506: " << e.what() << '\n';
    return cli::kExitUsage;
  }
}
