// Paths as the system writes them, turned into host paths. The system builds
// Windows paths by plain concatenation ("...\ZEQ Modèles\" & "Thor.xlt"):
// both '\' and '/' separate, and each component that does not exist in the
// spelling given is looked up without regard to case, as the original file
// system would find it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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
// else the one existing entry whose name differs only in case, else the
// spelling given. Raises 75 when several entries differ from it only in
// case and none is spelled exactly so.
std::filesystem::path resolve_child(const std::filesystem::path& folder, std::string_view name);

// Raises 75, naming them, when several entries of the path's folder answer
// to its last component in letter case only, its exact spelling among them:
// what an operation that must touch one file only checks first.
void require_one_spelling(std::string_view path);

// The host path a system path names, every component resolved as by
// resolve_child. An empty path is the current folder. Components after the
// first missing one are kept as given. Raises 75 as resolve_child does.
std::filesystem::path host_path(std::string_view path);

// Whether a file may be written in `folder` when writes are confined to
// `roots` (no roots: no confinement). The real folders decide, links and
// ".." resolved, so no spelling leads outside; a folder or root that cannot
// be resolved allows nothing.
bool lies_within_any(const std::filesystem::path& folder, const std::vector<std::string>& roots);

}  // namespace platform::fs
