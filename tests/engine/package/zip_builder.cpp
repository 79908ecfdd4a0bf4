#include "tests/engine/package/zip_builder.hpp"

#include <zip.h>

#include <stdexcept>

namespace test_support {

std::vector<std::uint8_t> build_zip(const std::vector<ZipEntry>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  if (!archive) throw std::runtime_error("cannot start a zip archive");
  zip_source_keep(target);
  for (const auto& entry : entries) {
    zip_source_t* data = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
    const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) throw std::runtime_error("cannot add " + entry.name);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), entry.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
  }
  if (zip_close(archive) != 0) throw std::runtime_error("cannot finish the zip archive");
  std::vector<std::uint8_t> bytes;
  zip_stat_t stat;
  zip_source_stat(target, &stat);
  bytes.resize(stat.size);
  zip_source_open(target);
  zip_source_read(target, bytes.data(), bytes.size());
  zip_source_close(target);
  zip_source_free(target);
  return bytes;
}

}  // namespace test_support
