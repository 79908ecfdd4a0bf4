// The OLE2 compound-file container a .xls file is: named streams inside one
// file. Only streams at the root are of interest to a workbook (Workbook and
// the two property sets); storages below the root are ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace engine::xls {

using Bytes = std::vector<std::uint8_t>;

struct Stream {
  std::string name;  // UTF-8; "\005SummaryInformation" keeps its control character
  Bytes data;
};

class CompoundFileReader {
 public:
  // Parses the container's header and directory; throws FileError when
  // `bytes` is not a compound file. `bytes` must outlive the reader.
  explicit CompoundFileReader(std::span<const std::uint8_t> bytes);
  ~CompoundFileReader();
  CompoundFileReader(const CompoundFileReader&) = delete;
  CompoundFileReader& operator=(const CompoundFileReader&) = delete;

  std::vector<std::string> stream_names() const;

  // The whole stream of that name (matched without regard to case, as the
  // container's directory compares names), or nullopt when there is none.
  // Throws FileError when the stream's sectors cannot all be read.
  std::optional<Bytes> read_stream(std::string_view name) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::size_t file_size_;
};

// A stream handed over in consecutive parts, stored as one: the workbook's
// globals and its sheets, written into buffers of their own, are not
// joined into a third before they are copied into the file. The parts are
// viewed, not owned.
struct StreamParts {
  std::string name;
  std::vector<std::span<const std::uint8_t>> parts;
};

// A compound file holding `streams` at its root, in that order, marked as an
// Excel workbook. The same streams always give the same bytes, however
// they are cut into parts.
Bytes write_compound_file(std::span<const StreamParts> streams);
Bytes write_compound_file(std::span<const Stream> streams);

}  // namespace engine::xls
