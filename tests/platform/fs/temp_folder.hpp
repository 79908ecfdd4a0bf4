// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test, plus helpers to lay files in it.
#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace platform::fs::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string templ = (std::filesystem::temp_directory_path() / "fs-test-XXXXXX").string();
    root_ = ::mkdtemp(templ.data());
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }
  // The folder as the system writes it: Windows separators, trailing "\".
  std::string win() const { return root_.string() + "\\"; }

  std::filesystem::path write(const std::string& relative, const std::string& text = "x") const {
    const auto p = root_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << text;
    return p;
  }
  std::string read(const std::string& relative) const {
    std::ifstream in(root_ / relative);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  bool has(const std::string& relative) const { return std::filesystem::exists(root_ / relative); }

 private:
  std::filesystem::path root_;
};

}  // namespace platform::fs::testing
