// Writing BIFF8 records: a body is built with RecordBody, then appended to
// the stream by RecordWriter, which splits it into CONTINUE records as Excel
// does when it exceeds the 8224-byte limit.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace engine::xls {

inline constexpr std::size_t kMaxRecordBody = 8224;

class RecordBody {
 public:
  RecordBody& u8(std::uint8_t value);
  RecordBody& u16(std::uint16_t value);
  RecordBody& u32(std::uint32_t value);
  RecordBody& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
  RecordBody& f64(double value);
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
  void record(std::uint16_t type, const RecordBody& body) { record(type, body.data()); }
  void record(std::uint16_t type, const std::vector<std::uint8_t>& body);
  void empty_record(std::uint16_t type) { record(type, std::vector<std::uint8_t>{}); }

  // Writes a 32-bit value over bytes already written (BOUNDSHEET's sheet position).
  void patch_u32(std::size_t at, std::uint32_t value);

  std::size_t offset() const { return stream_.size(); }
  std::vector<std::uint8_t>& stream() { return stream_; }

 private:
  void header(std::uint16_t type, std::size_t length);

  std::vector<std::uint8_t> stream_;
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
