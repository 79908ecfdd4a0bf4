// Paths as the system writes them, turned into host paths. The system builds
// Windows paths by plain concatenation ("...\ZEQ Modèles\" & "Thor.xlt"):
// both '\' and '/' separate, and each component that does not exist in the
// spelling given is looked up without regard to case, as the original file
// system would find it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::fs {

// A path cut after its last separator: `folder` keeps that separator
// ("a\b\" for "a\b\c.xls"), `name` is what follows it (may be empty).
struct SplitPath {
  std::string folder;
  std::string name;
};
SplitPath split_last(std::string_view path);

bool is_separator(char c);

// The host path of an entry of `folder`: the exact spelling when it exists,
// else the existing entry whose name differs only in case (the first one in
// name order when several do), else the spelling given.
std::filesystem::path resolve_child(const std::filesystem::path& folder, std::string_view name);

// The host path a system path names, every component resolved as by
// resolve_child. An empty path is the current folder. Components after the
// first missing one are kept as given.
std::filesystem::path host_path(std::string_view path);

}  // namespace platform::fs
