#include "platform/fs/path.hpp"

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/com/error.hpp"
#include "platform/fs/name_match.hpp"

namespace platform::fs {

namespace stdfs = std::filesystem;

namespace {

bool exists_exactly(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::exists(stdfs::symlink_status(p, ec));
}

// The entries of `folder` whose names equal `name` ignoring case, its exact
// spelling included, in directory order.
std::vector<std::string> spellings_of(const stdfs::path& folder, std::string_view name) {
  const std::string wanted = fold_name(name);
  std::vector<std::string> found;
  std::error_code ec;
  for (stdfs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (fold_name(candidate) == wanted) found.push_back(std::move(candidate));
  }
  return found;
}

[[noreturn]] void raise_ambiguous(const stdfs::path& folder, std::string_view name,
                                  const std::vector<std::string>& spellings) {
  std::vector<std::string> sorted = spellings;
  std::sort(sorted.begin(), sorted.end());
  std::string listed;
  for (const auto& spelling : sorted) listed += (listed.empty() ? "'" : ", '") + spelling + "'";
  platform::com::raise(platform::com::err::PathFileAccess, "D72506",
                       "Several entries of '" + folder.string() + "' answer to '" + std::string(name) +
                           "' in letter case only (" + listed + "); which one is meant cannot be told");
}

// The one entry that differs from `name` only in case. Two such entries are
// two files here, though one on the original's volumes: guessing between
// them could delete the wrong one, so the lookup fails and names them.
std::optional<std::string> find_case_insensitive(const stdfs::path& folder, std::string_view name) {
  std::vector<std::string> found = spellings_of(folder, name);
  if (found.size() > 1) raise_ambiguous(folder, name, found);
  if (found.empty()) return std::nullopt;
  return std::move(found.front());
}

}  // namespace

bool is_separator(char c) { return c == '\\' || c == '/'; }

SplitPath split_last(std::string_view path) {
  std::size_t cut = path.size();
  while (cut > 0 && !is_separator(path[cut - 1])) --cut;
  return {std::string(path.substr(0, cut)), std::string(path.substr(cut))};
}

stdfs::path resolve_child(const stdfs::path& folder, std::string_view name) {
  stdfs::path exact = folder / stdfs::path(std::string(name));
  if (name == "." || name == ".." || exists_exactly(exact)) return exact;
  if (auto found = find_case_insensitive(folder, name)) return folder / stdfs::path(*found);
  return exact;
}

void require_one_spelling(std::string_view path) {
  const SplitPath split = split_last(path);
  const stdfs::path folder = host_path(split.folder);
  const std::vector<std::string> found = spellings_of(folder, split.name);
  if (found.size() > 1) raise_ambiguous(folder, split.name, found);
}

stdfs::path host_path(std::string_view path) {
  const bool absolute = !path.empty() && is_separator(path.front());
  stdfs::path result = absolute ? stdfs::path("/") : stdfs::path(".");
  bool resolving = true;
  std::size_t pos = 0;
  while (pos < path.size()) {
    std::size_t end = pos;
    while (end < path.size() && !is_separator(path[end])) ++end;
    const std::string_view component = path.substr(pos, end - pos);
    if (!component.empty()) {
      result = resolving ? resolve_child(result, component) : result / stdfs::path(std::string(component));
      resolving = resolving && exists_exactly(result);
    }
    pos = end + 1;
  }
  return result;
}

namespace {

// The real folder, without a trailing separator; empty when it cannot be
// resolved.
std::filesystem::path resolved_folder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(folder, ec);
  if (ec) return {};
  if (!resolved.has_filename()) resolved = resolved.parent_path();
  return resolved;
}

bool lies_within(const std::filesystem::path& folder, const std::filesystem::path& root) {
  return std::mismatch(root.begin(), root.end(), folder.begin(), folder.end()).first == root.end();
}

}  // namespace

bool lies_within_any(const std::filesystem::path& folder, const std::vector<std::string>& roots) {
  if (roots.empty()) return true;
  const std::filesystem::path target = resolved_folder(folder);
  return !target.empty() && std::any_of(roots.begin(), roots.end(), [&](const std::string& root) {
    const std::filesystem::path resolved_root = resolved_folder(root);
    return !resolved_root.empty() && lies_within(target, resolved_root);
  });
}

}  // namespace platform::fs
