#include "command_run.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string_view>
#include <stdexcept>

extern char** environ;

namespace d72506::cli::testing {

namespace stdfs = std::filesystem;

namespace {

std::string read_file(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

namespace {

bool names_language(const char* setting) {
  for (const char* variable : {"LANG=", "LC_ALL=", "LC_MESSAGES="}) {
    if (std::string_view(setting).starts_with(variable)) return true;
  }
  return false;
}

// The test's environment without its language settings, plus `settings`.
std::vector<std::string> environment_with(const std::vector<std::string>& settings) {
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    if (!names_language(*e)) environment.emplace_back(*e);
  }
  environment.insert(environment.end(), settings.begin(), settings.end());
  return environment;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Runs `program` with the arguments `words` (the name it is called by first),
// its standard streams captured.
CommandRun spawn(const std::string& program, std::vector<std::string> words, const std::string& input,
                 std::vector<std::string> environment = environment_with({})) {
  const ScratchFolder capture;
  const std::string in_file = capture.write("in", input).string();
  const std::string out_file = (capture.path() / "out").string();
  const std::string err_file = (capture.path() / "err").string();

  std::vector<char*> argv = pointers_to(words);
  std::vector<char*> envp = pointers_to(environment);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in_file.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + words[0]);

  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  CommandRun run;
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  run.out = read_file(out_file);
  run.err = read_file(err_file);
  return run;
}

}  // namespace

CommandRun run_d72506(const std::vector<std::string>& arguments, const std::string& input) {
  std::vector<std::string> words{D72506_COMMAND};
  words.insert(words.end(), arguments.begin(), arguments.end());
  return spawn(D72506_COMMAND, std::move(words), input);
}

CommandRun run_d72506_with(const std::vector<std::string>& settings, const std::vector<std::string>& arguments) {
  std::vector<std::string> words{D72506_COMMAND};
  words.insert(words.end(), arguments.begin(), arguments.end());
  return spawn(D72506_COMMAND, std::move(words), {}, environment_with(settings));
}

CommandRun run_d72506_from_path(const std::vector<std::string>& arguments) {
  // A shell that finds a program on PATH starts it under its bare name.
  std::vector<std::string> words{"d72506"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  return spawn(D72506_COMMAND, std::move(words), {});
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (stdfs::temp_directory_path() / "d72506-cli-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  stdfs::permissions(path_, stdfs::perms::owner_all, stdfs::perm_options::add, ignored);
  stdfs::remove_all(path_, ignored);
}

stdfs::path ScratchFolder::write(const std::string& name, const std::string& text) const {
  const stdfs::path file = path_ / name;
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

stdfs::path answer(const std::string& name) { return stdfs::path(D72506_ANSWERS) / name; }

}  // namespace d72506::cli::testing
