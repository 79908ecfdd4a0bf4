#include "tests/engine/package/zip_builder.hpp"

#include <zip.h>

#include <stdexcept>

namespace test_support {

namespace {

// The archive being written and the memory it writes to; both freed however
// the building ends (a name libzip refuses throws halfway).
struct ZipInMemory {
  zip_source_t* target = nullptr;
  zip_t* archive = nullptr;
  ~ZipInMemory() {
    if (archive) zip_discard(archive);
    if (target) zip_source_free(target);
  }
};

}  // namespace

std::vector<std::uint8_t> build_zip(const std::vector<ZipEntry>& entries) {
  ZipInMemory zip;
  zip_error_t error;
  zip_error_init(&error);
  zip.target = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_error_fini(&error);
  if (!zip.target) throw std::runtime_error("cannot start a zip archive");
  zip_source_keep(zip.target);  // the archive's own reference, dropped when it closes
  zip.archive = zip_open_from_source(zip.target, ZIP_TRUNCATE, nullptr);
  if (!zip.archive) {
    zip_source_free(zip.target);  // the archive's reference, never taken
    throw std::runtime_error("cannot start a zip archive");
  }
  for (const auto& entry : entries) {
    zip_source_t* data = zip_source_buffer(zip.archive, entry.bytes.data(), entry.bytes.size(), 0);
    if (!data) throw std::runtime_error("cannot add " + entry.name);
    const zip_int64_t index = zip_file_add(zip.archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
      zip_source_free(data);
      throw std::runtime_error("cannot add " + entry.name);
    }
    zip_set_file_compression(zip.archive, static_cast<zip_uint64_t>(index),
                             entry.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
  }
  const int closed = zip_close(zip.archive);
  if (closed != 0) throw std::runtime_error("cannot finish the zip archive");
  zip.archive = nullptr;
  std::vector<std::uint8_t> bytes;
  zip_stat_t stat;
  zip_source_stat(zip.target, &stat);
  bytes.resize(stat.size);
  zip_source_open(zip.target);
  zip_source_read(zip.target, bytes.data(), bytes.size());
  zip_source_close(zip.target);
  return bytes;
}

}  // namespace test_support
