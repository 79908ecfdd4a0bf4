#include "platform/fs/file_ops.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/com/error.hpp"
#include "platform/fs/attributes.hpp"
#include "platform/fs/listing.hpp"
#include "platform/fs/path.hpp"

namespace platform::fs {

namespace stdfs = std::filesystem;
namespace err = platform::com::err;
using platform::com::raise;

namespace {

bool entry_exists(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::exists(stdfs::symlink_status(p, ec));
}

bool read_only(const stdfs::path& p) {
  const auto bits = host_attributes(p);
  return bits && (*bits & attr::ReadOnly) != 0;
}

std::filesystem::file_type type_of(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::symlink_status(p, ec).type();
}

bool is_link(const stdfs::path& p) { return type_of(p) == stdfs::file_type::symlink; }

// What Kill may remove: a file, or a link as a link (unlink never follows
// it); a pipe or a device under a working name is not ours.
bool deletable(const stdfs::path& p) {
  const auto type = type_of(p);
  return type == stdfs::file_type::regular || type == stdfs::file_type::symlink;
}

// The host path a destination names: its folder must exist (76); its last
// component keeps the spelling given unless an entry already answers to it.
stdfs::path destination(std::string_view to) {
  const SplitPath split = split_last(to);
  const stdfs::path folder = host_path(split.folder);
  std::error_code ec;
  if (!stdfs::is_directory(folder, ec)) raise(err::PathNotFound);
  if (split.name.empty() || split.name == "." || split.name == "..") raise(err::PathFileAccess);
  return resolve_child(folder, split.name);
}

// A file system that cannot refuse to replace atomically is asked first.
bool rename_no_replace(const stdfs::path& from, const stdfs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (entry_exists(to)) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

// Across file systems a file is moved by copy and delete, as the original's
// move does across volumes.
void move_across_devices(const stdfs::path& from, const stdfs::path& to) {
  std::error_code ec;
  if (!stdfs::is_regular_file(from, ec) || !stdfs::copy_file(from, to, ec)) raise(err::PathFileAccess);
  if (const auto bits = host_attributes(from)) set_host_attributes(to, *bits);
  if (!stdfs::remove(from, ec)) {
    stdfs::remove(to, ec);
    raise(err::PathFileAccess);
  }
}

}  // namespace

void Kill(std::string_view path) {
  // A bare folder would list every file in it: Kill names files, not folders.
  if (split_last(path).name.empty()) raise(err::FileNotFound);
  const Matches matches = list_matching(path, attr::Normal);
  if (!matches.folder_exists) raise(err::PathNotFound);
  if (matches.names.empty()) raise(err::FileNotFound);
  for (const auto& name : matches.names)
    if (read_only(matches.folder / name) || !deletable(matches.folder / name)) raise(err::PathFileAccess);
  for (const auto& name : matches.names)
    if (::unlink((matches.folder / name).c_str()) != 0) raise(err::PathFileAccess);
}

void Name(std::string_view from, std::string_view to) {
  const stdfs::path source = host_path(from);
  if (!entry_exists(source)) raise(err::FileNotFound);
  if (is_link(source)) raise(err::PathFileAccess);
  stdfs::path target = destination(to);
  std::error_code ec;
  if (entry_exists(target)) {
    if (is_link(target) || !stdfs::equivalent(source, target, ec)) raise(err::FileAlreadyExists);
    // The same entry named in another letter case: respell it.
    target = target.parent_path() / stdfs::path(split_last(to).name);
    if (target == source) return;
  }
  if (rename_no_replace(source, target)) return;
  if (errno == EEXIST) raise(err::FileAlreadyExists);
  if (errno == EXDEV) return move_across_devices(source, target);
  raise(err::PathFileAccess);
}

void FileCopy(std::string_view from, std::string_view to) {
  const stdfs::path source = host_path(from);
  std::error_code ec;
  if (!stdfs::is_regular_file(source, ec)) raise(err::FileNotFound);
  const stdfs::path target = destination(to);
  if (entry_exists(target)) {
    if (is_link(target) || !stdfs::is_regular_file(target, ec) || stdfs::equivalent(source, target, ec) || read_only(target))
      raise(err::PathFileAccess);
  }
  if (!stdfs::copy_file(source, target, stdfs::copy_options::overwrite_existing, ec)) raise(err::PathFileAccess);
  if (const auto bits = host_attributes(source)) set_host_attributes(target, *bits);
}

}  // namespace platform::fs
