#include "interop_support.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace engine::xls::interop {

namespace {

// The text as one shell word: inside single quotes, each quote closed,
// escaped and reopened.
std::string shell_quoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "engine_xls_interop_XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder under " + pattern);
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

bool on_path(std::string_view program) {
  const std::string command = "command -v " + shell_quoted(program) + " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool run_bounded(const std::vector<std::string>& arguments, int seconds, const fs::path& output) {
  std::string command = "timeout --kill-after=5 " + std::to_string(seconds);
  for (const auto& argument : arguments) command.append(" ").append(shell_quoted(argument));
  command.append(" > ").append(shell_quoted(output.string())).append(" 2>&1");
  return std::system(command.c_str()) == 0;
}

std::string read_text(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_text(const fs::path& file, std::string_view text) {
  std::ofstream out(file, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace engine::xls::interop
