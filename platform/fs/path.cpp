#include "platform/fs/path.hpp"

#include <optional>
#include <system_error>

#include "platform/fs/name_match.hpp"

namespace platform::fs {

namespace stdfs = std::filesystem;

namespace {

bool exists_exactly(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::exists(stdfs::symlink_status(p, ec));
}

// The entry of `folder` that matches `name` case-insensitively; the smallest
// spelling wins so that the choice does not depend on directory order.
std::optional<std::string> find_case_insensitive(const stdfs::path& folder, std::string_view name) {
  const std::string wanted = fold_name(name);
  std::optional<std::string> found;
  std::error_code ec;
  for (stdfs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (fold_name(candidate) == wanted && (!found || candidate < *found)) found = std::move(candidate);
  }
  return found;
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

}  // namespace platform::fs
