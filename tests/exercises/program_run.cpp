#include "tests/exercises/program_run.hpp"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "tests/exercises/exercise_world.hpp"

namespace exercises::testing {

namespace {

// The text as one shell word: inside single quotes, each quote closed,
// escaped and reopened.
std::string shell_quoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string read_text(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

bool installed(std::string_view program) {
  const std::string command = "command -v " + shell_quoted(program) + " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

ProgramRun run_program(const std::vector<std::string>& arguments, int seconds) {
  const TemporaryFolder capture;
  const auto errors = capture.path / "errors";
  std::string command = "timeout --kill-after=5 " + std::to_string(seconds);
  for (const auto& argument : arguments) command.append(" ").append(shell_quoted(argument));
  command += " < /dev/null 2> " + shell_quoted(errors.string());

  const auto close = [](FILE* pipe) { return pclose(pipe); };
  std::unique_ptr<FILE, decltype(close)> pipe(popen(command.c_str(), "r"), close);
  if (!pipe) throw std::runtime_error("cannot start " + arguments.front());
  ProgramRun run;
  std::array<char, 4096> buffer{};
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;) {
    run.output.append(buffer.data(), n);
  }
  const int status = pclose(pipe.release());
  run.succeeded = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.errors = read_text(errors);
  return run;
}

}  // namespace exercises::testing
