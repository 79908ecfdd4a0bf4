// What the tests exchanging files with other spreadsheet programs share: a
// scratch folder per test, running a converter with a time limit, and plain
// text in and out of files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace engine::xls::interop {

namespace fs = std::filesystem;

// A new, empty folder under the system's temporary folder, removed with its
// contents when the object goes. Each instance gets its own folder, so tests
// running in parallel processes never share one.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const fs::path& path() const { return path_; }
  fs::path operator/(std::string_view name) const { return path_ / name; }

 private:
  fs::path path_;
};

// Whether `program` is found on the PATH.
bool on_path(std::string_view program);

// Runs the command `arguments` (each passed as one argument, whatever it
// holds), stopped after `seconds`, with its output and errors going to
// `output` (discarded by default). True when it finished in time with
// status 0.
bool run_bounded(const std::vector<std::string>& arguments, int seconds, const fs::path& output = "/dev/null");

std::string read_text(const fs::path& file);
void write_text(const fs::path& file, std::string_view text);

}  // namespace engine::xls::interop
