// Running the built d72506 command as a process, on real temporary folders.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace d72506::cli::testing {

struct CommandRun {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs d72506 with `arguments` and `input` as its standard input, its
// output captured. The environment is the test's own without LANG, LC_ALL
// and LC_MESSAGES, so that messages come in the command's default language
// whatever the machine's.
CommandRun run_d72506(const std::vector<std::string>& arguments, const std::string& input = {});

// The same, with `settings` ("LANG=en_GB.UTF-8") added to that environment.
CommandRun run_d72506_with(const std::vector<std::string>& settings, const std::vector<std::string>& arguments);

// The same, started under its bare name, as a shell starts a program it
// found on PATH.
CommandRun run_d72506_from_path(const std::vector<std::string>& arguments);

// A temporary folder removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Writes `text` to a file of this folder and returns its path.
  std::filesystem::path write(const std::string& name, const std::string& text) const;

 private:
  std::filesystem::path path_;
};

// The bundled answer script of that name ("0601_right.bas").
std::filesystem::path answer(const std::string& name);

}  // namespace d72506::cli::testing
