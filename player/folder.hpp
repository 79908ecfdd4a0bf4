// The folders a run works in: a new temporary one that disappears with its
// owner, or one the user named, which is created when missing and kept.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace d72506::player {

class Folder {
 public:
  // A new, empty folder under the system's temporary folder, its name
  // starting with `prefix`. Throws std::filesystem::filesystem_error.
  static Folder temporary(std::string_view prefix);
  // `path` made absolute and created (with its parents) when missing.
  // Throws std::filesystem::filesystem_error, or when it is not a folder.
  static Folder kept(const std::filesystem::path& path);
  // The named folder, kept; a temporary one when none is named.
  static Folder named_or_temporary(const std::optional<std::filesystem::path>& named, std::string_view prefix);
  // Both refuse a path holding a backslash (std::filesystem::filesystem_error),
  // since the module would read it as a separator and work elsewhere.

  // Makes SIGINT, SIGTERM and SIGHUP remove every temporary folder still
  // alive before the process ends as the signal says. For a program's main
  // alone, before it starts any thread: the signals are blocked in the
  // calling thread (and so in every thread started after) and taken by a
  // thread of their own. A library must leave its host's signals alone.
  static void remove_temporaries_on_signals();

  Folder(Folder&& other) noexcept;
  Folder& operator=(Folder&&) = delete;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  // A temporary folder is removed with all it holds; errors are ignored, as
  // nothing of the user's is in it.
  ~Folder();

  const std::filesystem::path& path() const { return path_; }

 private:
  Folder(std::filesystem::path path, bool temporary) : path_(std::move(path)), temporary_(temporary) {}

  std::filesystem::path path_;
  bool temporary_;
};

}  // namespace d72506::player
