// Read-only access to a zip package (.xlsx, .ods and their kin) held in
// memory, with limits that keep a hostile archive from exhausting memory.
//
// Thread rule: a ZipArchive is used from one thread at a time.
// Lifetime: the archive reads the caller's bytes in place; they must stay
// alive and unchanged for as long as the ZipArchive exists. Entry contents are
// returned as owned strings, valid independently of the archive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/package/package_error.hpp"

namespace engine::package {

// What an archive may hold before it is refused. A workbook's parts are text
// that compresses well, but not a thousandfold over megabytes: that shape is a
// zip bomb. The defaults are far above any workbook a trainee saves from Excel
// 2003's grid (65,536 rows by 256 columns).
struct ZipLimits {
  std::size_t max_entries = 10'000;                  // entries listed in the central directory
  std::uint64_t max_entry_size = 64ull << 20;        // one entry, uncompressed
  std::uint64_t max_total_size = 256ull << 20;       // all entries read through one archive
  std::uint64_t max_ratio = 1000;                    // uncompressed / compressed, for large entries
  std::uint64_t ratio_exempt_size = 1ull << 20;      // entries below this skip the ratio test
};

class ZipArchive {
 public:
  // Opens the archive in `bytes`. Throws PackageError (no entry) when the bytes
  // are not a zip archive, its directory is damaged or it lists too many entries.
  explicit ZipArchive(std::span<const std::uint8_t> bytes, ZipLimits limits = {});
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // True when `bytes` begin as a zip archive does (a local file header).
  static bool looks_like_zip(std::span<const std::uint8_t> bytes);

  // Entry names in directory order.
  std::vector<std::string> names() const;

  // Whether the archive has an entry of that name. Package part names are
  // compared as OPC compares them: a leading '/' is ignored, and ASCII letter
  // case only matters when two entries differ by case alone.
  bool contains(std::string_view name) const;

  // The entry's uncompressed bytes. Throws PackageError naming the entry when
  // it is missing, encrypted, damaged (CRC, truncation) or over a limit.
  std::string read(std::string_view name);

  // The same, or nothing when the archive has no such entry.
  std::optional<std::string> read_if_present(std::string_view name);

 private:
  std::optional<std::uint64_t> locate(std::string_view name) const;
  std::string read_index(std::uint64_t index, const std::string& name);

  struct Handle;
  std::unique_ptr<Handle> handle_;
  ZipLimits limits_;
  std::uint64_t total_read_ = 0;
};

// The part a relationship's Target names, resolved against the part holding
// the relationship: ("xl/workbook.xml", "worksheets/sheet1.xml") gives
// "xl/worksheets/sheet1.xml"; an absolute target ("/xl/styles.xml") drops its
// '/'; "." and ".." segments are resolved and never climb above the root.
std::string resolve_part(std::string_view source_part, std::string_view target);

}  // namespace engine::package
