#include "player/folder.hpp"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace d72506::player {

namespace stdfs = std::filesystem;

Folder Folder::temporary(std::string_view prefix) {
  std::string pattern = (stdfs::temp_directory_path() / prefix).string() + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    throw stdfs::filesystem_error("cannot create a temporary folder", pattern,
                                  std::error_code(errno, std::generic_category()));
  }
  return Folder(pattern, true);
}

Folder Folder::kept(const stdfs::path& path) {
  stdfs::path absolute = stdfs::absolute(path);
  stdfs::create_directories(absolute);
  if (!stdfs::is_directory(absolute)) {
    throw stdfs::filesystem_error("not a folder", absolute, std::make_error_code(std::errc::not_a_directory));
  }
  return Folder(std::move(absolute), false);
}

Folder Folder::named_or_temporary(const std::optional<stdfs::path>& named, std::string_view prefix) {
  return named ? kept(*named) : temporary(prefix);
}

Folder::Folder(Folder&& other) noexcept : path_(std::move(other.path_)), temporary_(other.temporary_) {
  other.temporary_ = false;
}

Folder::~Folder() {
  if (!temporary_) return;
  std::error_code ignored;
  stdfs::remove_all(path_, ignored);
}

}  // namespace d72506::player
