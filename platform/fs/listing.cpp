#include "platform/fs/listing.hpp"

#include <algorithm>
#include <system_error>

#include "platform/fs/attributes.hpp"
#include "platform/fs/name_match.hpp"
#include "platform/fs/path.hpp"

namespace platform::fs {

namespace stdfs = std::filesystem;

namespace {

bool wanted(std::int32_t entry_bits, std::int32_t mask) {
  for (std::int32_t kind : {attr::Hidden, attr::System, attr::Directory})
    if ((entry_bits & kind) != 0 && (mask & kind) == 0) return false;
  return true;
}

struct Entry {
  std::string key;  // folded name: the listing is in case-insensitive order
  std::string name;
  bool operator<(const Entry& other) const { return key != other.key ? key < other.key : name < other.name; }
};

// The original lists "." and ".." in every folder but a volume's root.
bool lists_dot_entries(const stdfs::path& folder, std::int32_t mask) {
  std::error_code ec;
  return (mask & attr::Directory) != 0 && stdfs::weakly_canonical(folder, ec) != "/";
}

std::vector<std::string> list_folder(const stdfs::path& folder, std::string_view name_pattern, std::int32_t mask) {
  std::vector<std::string> names;
  if (lists_dot_entries(folder, mask))
    for (const char* dots : {".", ".."})
      if (wildcard_match(name_pattern, dots)) names.emplace_back(dots);
  std::vector<Entry> entries;
  std::error_code ec;
  for (stdfs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    const auto bits = host_attributes(it->path());
    if (bits && wanted(*bits, mask) && wildcard_match(name_pattern, name))
      entries.push_back({fold_name(name), std::move(name)});
  }
  std::sort(entries.begin(), entries.end());
  for (auto& e : entries) names.push_back(std::move(e.name));
  return names;
}

// A name without wildcards is looked up directly, case-insensitively.
std::vector<std::string> list_exact(const stdfs::path& folder, std::string_view name, std::int32_t mask) {
  const stdfs::path entry = resolve_child(folder, name);
  const auto bits = host_attributes(entry);
  if (!bits || !wanted(*bits, mask)) return {};
  return {entry.filename().string()};
}

}  // namespace

Matches list_matching(std::string_view pattern, std::int32_t mask) {
  const SplitPath split = split_last(pattern);
  Matches result;
  result.folder = host_path(split.folder);
  std::error_code ec;
  result.folder_exists = stdfs::is_directory(result.folder, ec);
  if (!result.folder_exists) return result;
  if (split.name.empty() || has_wildcards(split.name))
    result.names = list_folder(result.folder, split.name.empty() ? "*" : split.name, mask);
  else
    result.names = list_exact(result.folder, split.name, mask);
  return result;
}

}  // namespace platform::fs
