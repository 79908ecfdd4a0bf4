#include "platform/fs/attributes.hpp"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/com/error.hpp"
#include "platform/fs/path.hpp"

namespace platform::fs {

namespace stdfs = std::filesystem;
namespace err = platform::com::err;

namespace {

constexpr const char* kDosAttribName = "user.DOSATTRIB";
constexpr std::int32_t kStoredBits = attr::Hidden | attr::System | attr::Archive;
constexpr std::int32_t kSettableBits = attr::ReadOnly | kStoredBits;

bool no_xattr_support(int error) { return error == ENOTSUP || error == EOPNOTSUPP; }

// Samba's value starts with the attributes as a NUL-terminated "0x..." hex
// string, whatever version of its binary layout follows, so that prefix is
// all we need to read; a string alone is its oldest form, which it still
// accepts, and is what we write.
std::int32_t stored_bits(const stdfs::path& entry) {
  char value[256] = {};
  const ssize_t n = ::lgetxattr(entry.c_str(), kDosAttribName, value, sizeof value - 1);
  if (n < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) return 0;
  const unsigned long bits = std::strtoul(value + 2, nullptr, 16);
  return static_cast<std::int32_t>(bits) & (kStoredBits | attr::ReadOnly);
}

void store_bits(const stdfs::path& entry, std::int32_t bits) {
  int rc = 0;
  if (bits == 0) {
    rc = ::removexattr(entry.c_str(), kDosAttribName);
    if (rc != 0 && errno == ENODATA) rc = 0;
  } else {
    char value[16];
    const int len = std::snprintf(value, sizeof value, "0x%x", static_cast<unsigned>(bits));
    rc = ::setxattr(entry.c_str(), kDosAttribName, value, static_cast<std::size_t>(len) + 1, 0);
  }
  if (rc != 0 && !no_xattr_support(errno)) platform::com::raise(err::PathFileAccess);
}

void set_owner_write(const stdfs::path& entry, const struct stat& st, bool writable) {
  const mode_t all_write = S_IWUSR | S_IWGRP | S_IWOTH;
  const mode_t mode = writable ? (st.st_mode | S_IWUSR) : (st.st_mode & ~all_write);
  if (::chmod(entry.c_str(), mode & 07777) != 0) platform::com::raise(err::PathFileAccess);
}

}  // namespace

std::optional<std::int32_t> host_attributes(const stdfs::path& entry) {
  struct stat st {};
  if (::lstat(entry.c_str(), &st) != 0) return std::nullopt;
  if (S_ISLNK(st.st_mode)) return attr::Normal;
  const std::int32_t stored = stored_bits(entry);
  if (S_ISDIR(st.st_mode)) return attr::Directory | stored;
  const std::int32_t read_only = (st.st_mode & S_IWUSR) ? 0 : attr::ReadOnly;
  return read_only | (stored & kStoredBits);
}

bool keeps_dos_attributes(const stdfs::path& folder) {
  const ssize_t n = ::getxattr(folder.c_str(), kDosAttribName, nullptr, 0);
  return n >= 0 || errno == ENODATA;
}

std::int32_t GetAttr(std::string_view path) {
  if (auto bits = host_attributes(host_path(path))) return *bits;
  platform::com::raise(err::FileNotFound);
}

void set_host_attributes(const stdfs::path& entry, std::int32_t attributes) {
  struct stat st {};
  if (::lstat(entry.c_str(), &st) != 0) platform::com::raise(err::PathFileAccess);
  if (S_ISLNK(st.st_mode)) return;  // a link's target is not ours to change
  if (S_ISDIR(st.st_mode)) return store_bits(entry, attributes & kSettableBits);
  // Extended attributes can only be written while the file is writable:
  // lift the protection first and lay the final one last.
  if ((st.st_mode & S_IWUSR) == 0) set_owner_write(entry, st, true);
  store_bits(entry, attributes & kStoredBits);
  set_owner_write(entry, st, (attributes & attr::ReadOnly) == 0);
}

void SetAttr(std::string_view path, std::int32_t attributes) {
  if ((attributes & ~kSettableBits) != 0) platform::com::raise(err::InvalidCall);
  const stdfs::path entry = host_path(path);
  if (!host_attributes(entry)) platform::com::raise(err::FileNotFound);
  set_host_attributes(entry, attributes);
}

}  // namespace platform::fs
