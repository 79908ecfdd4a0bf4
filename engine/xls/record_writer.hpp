// Writing BIFF8 records: a body is built with RecordBody, then appended to
// the stream by RecordWriter, which splits it into CONTINUE records as Excel
// does when it exceeds the 8224-byte limit. A sheet's many small cell
// records are written straight into the stream instead (open, then close).
#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace engine::xls {

inline constexpr std::size_t kMaxRecordBody = 8224;

// Little-endian fields appended to a byte vector. The fixed-size ones are
// defined here so that they inline: a sheet's records are millions of them.
class RecordBody {
 public:
  RecordBody& u8(std::uint8_t value) {
    data_.push_back(value);
    return *this;
  }
  RecordBody& u16(std::uint16_t value) {
    data_.push_back(static_cast<std::uint8_t>(value));
    data_.push_back(static_cast<std::uint8_t>(value >> 8));
    return *this;
  }
  RecordBody& u32(std::uint32_t value) {
    u16(static_cast<std::uint16_t>(value));
    return u16(static_cast<std::uint16_t>(value >> 16));
  }
  RecordBody& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
  RecordBody& f64(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    u32(static_cast<std::uint32_t>(bits));
    return u32(static_cast<std::uint32_t>(bits >> 32));
  }
  RecordBody& zeros(std::size_t count);
  RecordBody& bytes(const std::vector<std::uint8_t>& data);
  // BIFF8 unicode strings, compressed when every character is Latin-1. The
  // count is cut to what its field can hold (255 or 65535 characters).
  RecordBody& string16(std::string_view utf8);
  RecordBody& string8(std::string_view utf8);
  // Option byte and characters, the count written elsewhere.
  RecordBody& string_chars(std::u16string_view text);

  std::size_t size() const { return data_.size(); }
  std::vector<std::uint8_t>& data() { return data_; }
  const std::vector<std::uint8_t>& data() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
};

class RecordWriter {
 public:
  RecordWriter() = default;
  // Room for `expected_size` bytes from the start, so that a large stream
  // is not copied each time it outgrows its buffer.
  explicit RecordWriter(std::size_t expected_size) { stream_.data().reserve(expected_size); }

  void record(std::uint16_t type, const RecordBody& body) { record(type, body.data()); }
  void record(std::uint16_t type, std::span<const std::uint8_t> body);
  void empty_record(std::uint16_t type) { record(type, std::span<const std::uint8_t>{}); }

  // A record whose body is written into the stream itself: open() writes
  // its header and returns the stream to append the body to, close() fills
  // in the length, splitting a long body into CONTINUE records as record()
  // does. One record is open at a time; nothing else is written meanwhile.
  RecordBody& open(std::uint16_t type);
  void close();

  // Writes a 32-bit value over bytes already written (BOUNDSHEET's sheet position).
  void patch_u32(std::size_t at, std::uint32_t value);

  std::size_t offset() const { return stream_.size(); }
  std::vector<std::uint8_t>& stream() { return stream_.data(); }

 private:
  void header(std::uint16_t type, std::size_t length);

  RecordBody stream_;
  std::size_t open_at_ = 0;
  std::uint16_t open_type_ = 0;
};

// Builds a record whose overflow goes to CONTINUE records at boundaries the
// caller chooses, as SST needs: a string's header never splits, and its
// characters split with the option byte restated in the next piece.
class ContinuedRecordWriter {
 public:
  ContinuedRecordWriter(RecordWriter& out, std::uint16_t type);
  ~ContinuedRecordWriter();  // flushes the last piece
  ContinuedRecordWriter(const ContinuedRecordWriter&) = delete;
  ContinuedRecordWriter& operator=(const ContinuedRecordWriter&) = delete;

  // Appends bytes that must stay in one piece, starting a CONTINUE first
  // when they do not fit in the current one.
  void atomic(const RecordBody& part);

  // Where a string landed: its position in the stream and from the start of
  // the record (header included) holding it, as EXTSST indexes strings.
  struct Placement {
    std::size_t stream_offset;
    std::size_t record_offset;
  };
  Placement string16(std::string_view utf8);

 private:
  void flush();
  void reserve(std::size_t count);

  RecordWriter& out_;
  std::uint16_t type_;
  std::vector<std::uint8_t> piece_;
};

}  // namespace engine::xls
