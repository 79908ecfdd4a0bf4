// Writing BIFF8 records: a body is built with RecordBody, then appended to
// the stream by RecordWriter, which splits it into CONTINUE records as Excel
// does when it exceeds the 8224-byte limit. A sheet's many small cell
// records are written straight into the stream instead (open, then close).
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace engine::xls {

inline constexpr std::size_t kMaxRecordBody = 8224;

// Little-endian fields appended to a byte vector. The fixed-size ones are
// defined here so that they inline: a sheet's records are millions of them.
//
// The vector holds the bytes written and, past size(), room already made
// for more: a field is then stored where it goes, without a call. (GCC
// keeps std::vector's push_back out of line in large functions, and that
// call was an eighth of writing a sheet.) data() hands out the bytes
// written and nothing past them: it gives the spare room back to the
// vector, so even a const body is used by one thread at a time. The
// vector it returns stays valid until the body is written to again.
class RecordBody {
 public:
  RecordBody& u8(std::uint8_t value) {
    *room(1) = value;
    return *this;
  }
  RecordBody& u16(std::uint16_t value) {
    store(room(2), value);
    return *this;
  }
  RecordBody& u32(std::uint32_t value) {
    store(room(4), value);
    return *this;
  }
  RecordBody& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
  RecordBody& f64(double value) {
    store(room(8), std::bit_cast<std::uint64_t>(value));
    return *this;
  }
  RecordBody& zeros(std::size_t count);
  RecordBody& bytes(std::span<const std::uint8_t> data);
  // BIFF8 unicode strings, compressed when every character is Latin-1. The
  // count is cut to what its field can hold (255 or 65535 characters).
  RecordBody& string16(std::string_view utf8);
  RecordBody& string8(std::string_view utf8);
  // Option byte and characters, the count written elsewhere.
  RecordBody& string_chars(std::u16string_view text);

  // Overwrites a 16-bit field written earlier (a length known only later).
  void patch_u16(std::size_t at, std::uint16_t value) { store(data_.data() + at, value); }
  // Puts `data` in front of bytes written from `at` on, moving them along.
  void insert(std::size_t at, std::span<const std::uint8_t> data);
  // Forgets the bytes from `at` on.
  void truncate(std::size_t at) { size_ = std::min(size_, at); }
  void reserve(std::size_t count) { data_.reserve(count); }

  std::size_t size() const { return size_; }
  const std::vector<std::uint8_t>& data() const {
    data_.resize(size_);  // drops the spare room only: it never reallocates
    return data_;
  }
  // The bytes written, moved out; the body is empty after.
  std::vector<std::uint8_t> take();

 private:
  std::uint8_t* room(std::size_t count) {
    if (data_.size() - size_ < count) [[unlikely]] make_room(count);
    std::uint8_t* at = data_.data() + size_;
    size_ += count;
    return at;
  }
  void make_room(std::size_t count);
  template <typename T>
  static void store(std::uint8_t* at, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }

  mutable std::vector<std::uint8_t> data_;  // size() >= size_: the spare room is past size_
  std::size_t size_ = 0;
};

class RecordWriter {
 public:
  RecordWriter() = default;
  // Room for `expected_size` bytes from the start, so that a large stream
  // is not copied each time it outgrows its buffer.
  explicit RecordWriter(std::size_t expected_size) { stream_.reserve(expected_size); }

  void record(std::uint16_t type, const RecordBody& body) { record(type, body.data()); }
  void record(std::uint16_t type, std::span<const std::uint8_t> body);
  void empty_record(std::uint16_t type) { record(type, std::span<const std::uint8_t>{}); }

  // A record whose body is written into the stream itself: open() writes
  // its header and returns the stream to append the body to, close() fills
  // in the length, splitting a long body into CONTINUE records as record()
  // does. One record is open at a time; nothing else is written meanwhile.
  // Both inline: a sheet opens and closes a record for every cell.
  RecordBody& open(std::uint16_t type) {
    open_at_ = stream_.size();
    open_type_ = type;
    header(type, 0);
    return stream_;
  }
  void close() {
    const std::size_t length = stream_.size() - open_at_ - 4;
    if (length > kMaxRecordBody) [[unlikely]] return split_open_record();
    stream_.patch_u16(open_at_ + 2, static_cast<std::uint16_t>(length));
  }

  // Writes a 32-bit value over bytes already written (BOUNDSHEET's sheet position).
  void patch_u32(std::size_t at, std::uint32_t value);

  std::size_t offset() const { return stream_.size(); }
  const std::vector<std::uint8_t>& stream() const { return stream_.data(); }
  std::vector<std::uint8_t> take_stream() { return stream_.take(); }

 private:
  void header(std::uint16_t type, std::size_t length) { stream_.u16(type).u16(static_cast<std::uint16_t>(length)); }
  void split_open_record();

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
