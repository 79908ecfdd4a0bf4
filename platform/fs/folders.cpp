#include "platform/fs/folders.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/com/error.hpp"
#include "platform/fs/path.hpp"

namespace platform::fs {

namespace stdfs = std::filesystem;
namespace err = platform::com::err;
using platform::com::raise;

namespace {

bool is_folder(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::is_directory(p, ec);
}

// "a\b\" names the folder b, as "a\b" does.
std::string_view without_trailing_separators(std::string_view path) {
  while (path.size() > 1 && is_separator(path.back())) path.remove_suffix(1);
  return path;
}

}  // namespace

void MkDir(std::string_view path) {
  const SplitPath split = split_last(without_trailing_separators(path));
  const stdfs::path parent = host_path(split.folder);
  if (!is_folder(parent)) raise(err::PathNotFound);
  if (split.name.empty()) raise(err::PathFileAccess);
  const stdfs::path target = resolve_child(parent, split.name);
  if (::mkdir(target.c_str(), 0777) != 0) raise(err::PathFileAccess);
}

void RmDir(std::string_view path) {
  const stdfs::path target = host_path(without_trailing_separators(path));
  if (!is_folder(target)) raise(err::PathNotFound);
  if (::rmdir(target.c_str()) != 0) raise(err::PathFileAccess);
}

bool folder_exists(std::string_view path) { return is_folder(host_path(path)); }

bool is_symbolic_link(std::string_view path) {
  std::error_code ec;
  return stdfs::is_symlink(stdfs::symlink_status(host_path(without_trailing_separators(path)), ec));
}

bool MakeSureDirectoryPathExists(std::string_view path) {
  const std::string folders = split_last(path).folder;
  stdfs::path current = !folders.empty() && is_separator(folders.front()) ? stdfs::path("/") : stdfs::path(".");
  std::size_t pos = 0;
  while (pos < folders.size()) {
    std::size_t end = pos;
    while (end < folders.size() && !is_separator(folders[end])) ++end;
    if (end > pos) {
      current = resolve_child(current, std::string_view(folders).substr(pos, end - pos));
      if (::mkdir(current.c_str(), 0777) != 0 && errno != EEXIST) return false;
      if (!is_folder(current)) return false;
    }
    pos = end + 1;
  }
  return true;
}

}  // namespace platform::fs
