#include "engine/package/zip_archive.hpp"

#include <zip.h>

#include <cassert>
#include <cstring>

namespace engine::package {

namespace {

// The four bytes a zip archive begins with (a local file header); an empty
// archive begins with its end-of-directory record instead.
constexpr std::uint8_t kLocalHeader[] = {'P', 'K', 0x03, 0x04};
constexpr std::uint8_t kEmptyArchive[] = {'P', 'K', 0x05, 0x06};

std::string zip_problem(zip_error_t* error) {
  std::string text = zip_error_strerror(error);
  zip_error_fini(error);
  return text;
}

std::string_view without_root(std::string_view name) {
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  return name;
}

}  // namespace

struct ZipArchive::Handle {
  zip_t* archive = nullptr;
  ~Handle() {
    if (archive) zip_discard(archive);  // read-only: nothing to write back
  }
};

ZipArchive::ZipArchive(std::span<const std::uint8_t> bytes, ZipLimits limits)
    : handle_(std::make_unique<Handle>()), limits_(limits) {
  // libzip takes zero bytes for an empty archive; a file is never that.
  if (bytes.empty()) throw PackageError({}, "not a readable zip archive: the file is empty");
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (!source) throw PackageError({}, "the zip archive cannot be opened: " + zip_problem(&error));
  handle_->archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (!handle_->archive) {
    zip_source_free(source);
    throw PackageError({}, "not a readable zip archive: " + zip_problem(&error));
  }
  zip_error_fini(&error);
  const zip_int64_t count = zip_get_num_entries(handle_->archive, 0);
  if (count < 0 || static_cast<std::uint64_t>(count) > limits_.max_entries)
    throw PackageError({}, "the zip archive lists more entries than a workbook holds");
}

ZipArchive::~ZipArchive() = default;

bool ZipArchive::looks_like_zip(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return false;
  return std::memcmp(bytes.data(), kLocalHeader, 4) == 0 || std::memcmp(bytes.data(), kEmptyArchive, 4) == 0;
}

std::vector<std::string> ZipArchive::names() const {
  std::vector<std::string> result;
  const zip_int64_t count = zip_get_num_entries(handle_->archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(handle_->archive, static_cast<zip_uint64_t>(i), 0);
    if (name) result.emplace_back(name);
  }
  return result;
}

std::optional<std::uint64_t> ZipArchive::locate(std::string_view name) const {
  const std::string key(without_root(name));
  zip_int64_t index = zip_name_locate(handle_->archive, key.c_str(), 0);
  if (index < 0) index = zip_name_locate(handle_->archive, key.c_str(), ZIP_FL_NOCASE);
  if (index < 0) return std::nullopt;
  return static_cast<std::uint64_t>(index);
}

bool ZipArchive::contains(std::string_view name) const { return locate(name).has_value(); }

std::string ZipArchive::read(std::string_view name) {
  if (auto bytes = read_if_present(name)) return std::move(*bytes);
  throw PackageError(std::string(without_root(name)), "the part is missing from the package");
}

std::optional<std::string> ZipArchive::read_if_present(std::string_view name) {
  const auto index = locate(name);
  if (!index) return std::nullopt;
  return read_index(*index, std::string(without_root(name)));
}

// Sizes come from the central directory, which the archive's writer chose:
// they are checked against the limits before anything is allocated, and the
// inflated bytes are then held to the declared size (one byte more than
// declared means the directory lies).
std::string ZipArchive::read_index(std::uint64_t index, const std::string& name) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(handle_->archive, index, 0, &stat) != 0)
    throw PackageError(name, "its directory entry is damaged");
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
    throw PackageError(name, "the part is encrypted");
  if (!(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_COMP_SIZE))
    throw PackageError(name, "its directory entry gives no size");
  if (stat.size > limits_.max_entry_size) throw PackageError(name, "the part is larger than a workbook part may be");
  if (stat.size > limits_.ratio_exempt_size && stat.size / limits_.max_ratio > stat.comp_size)
    throw PackageError(name, "the part inflates beyond any plausible compression ratio (a zip bomb)");
  if (total_read_ + stat.size > limits_.max_total_size)
    throw PackageError(name, "the package's parts together are larger than a workbook may be");

  zip_file_t* file = zip_fopen_index(handle_->archive, index, 0);
  if (!file) throw PackageError(name, std::string("the part cannot be opened: ") + zip_strerror(handle_->archive));
  std::string bytes(static_cast<std::size_t>(stat.size) + 1, '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const zip_int64_t got = zip_fread(file, bytes.data() + done, bytes.size() - done);
    if (got < 0) {
      std::string problem = std::string("the part is damaged: ") + zip_file_strerror(file);
      zip_fclose(file);
      throw PackageError(name, problem);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  zip_fclose(file);
  if (done != stat.size) throw PackageError(name, "the part's length differs from the size its directory entry gives");
  bytes.resize(done);
  total_read_ += done;
  assert(total_read_ <= limits_.max_total_size);
  return bytes;
}

std::string resolve_part(std::string_view source_part, std::string_view target) {
  std::vector<std::string_view> segments;
  auto push_path = [&segments](std::string_view path) {
    while (!path.empty()) {
      const std::size_t slash = path.find('/');
      const std::string_view segment = path.substr(0, slash);
      if (segment == "..") {
        if (!segments.empty()) segments.pop_back();
      } else if (!segment.empty() && segment != ".") {
        segments.push_back(segment);
      }
      if (slash == std::string_view::npos) break;
      path.remove_prefix(slash + 1);
    }
  };
  if (target.empty() || target.front() != '/') {
    const std::size_t slash = source_part.rfind('/');
    if (slash != std::string_view::npos) push_path(source_part.substr(0, slash));
  }
  push_path(target);
  std::string part;
  for (const auto segment : segments) {
    if (!part.empty()) part += '/';
    part += segment;
  }
  return part;
}

}  // namespace engine::package
