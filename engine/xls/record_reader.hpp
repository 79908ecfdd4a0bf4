// Walking the records of a BIFF8 stream. Every length and offset is checked
// against the stream, so a damaged file raises FileError instead of reading
// outside its bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace engine::xls {

using ByteSpan = std::span<const std::uint8_t>;

// One logical record: its body followed by the bodies of the CONTINUE
// records after it, kept apart because strings restart at a piece boundary.
struct Record {
  std::uint16_t type = 0;
  std::size_t offset = 0;  // of its header in the stream
  std::vector<ByteSpan> pieces;
};

class RecordReader {
 public:
  explicit RecordReader(ByteSpan stream) : stream_(stream) {}

  // The next record with its CONTINUE records, or false at the end of the
  // stream. Throws FileError when a header or a body runs past the end.
  bool next(Record& record);

  // Moves to a record header at `offset` (a sheet's BOF, as BOUNDSHEET says).
  void seek(std::size_t offset);
  std::size_t offset() const { return offset_; }

 private:
  ByteSpan body_at(std::size_t& offset, std::uint16_t& type) const;

  ByteSpan stream_;
  std::size_t offset_ = 0;
};

// Reads a record's body as one sequence across its pieces.
class RecordCursor {
 public:
  explicit RecordCursor(const Record& record) : pieces_(&record.pieces) {}
  explicit RecordCursor(const Record&& record) = delete;  // the cursor keeps a pointer to it

  std::uint8_t u8();
  std::uint16_t u16();
  std::uint32_t u32();
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  double f64();
  void skip(std::size_t count);
  std::vector<std::uint8_t> bytes(std::size_t count);
  // The next `count` bytes without copying them when they lie in one piece;
  // otherwise copied into `storage`, which the result then views.
  ByteSpan view(std::size_t count, std::vector<std::uint8_t>& storage);

  std::size_t remaining() const;
  bool at_end() const { return remaining() == 0; }

  // The unicode strings of BIFF8: a character count of 16 or 8 bits, an
  // option byte, then the characters, Latin-1 or UTF-16; rich-text runs and
  // phonetic data are skipped. When the characters run into the next piece,
  // that piece starts with a fresh option byte (as SST and TXO split them).
  std::string string16();
  std::string string8();
  // The characters alone, their count known from elsewhere (NAME, TXO).
  std::string string_chars(std::size_t count);

 private:
  std::string string_body(std::size_t count, std::uint8_t options);
  void need(std::size_t count) const;
  std::size_t left_in_piece() const;
  // The next `count` bytes when they lie in the current piece, then past
  // them; null otherwise (the caller steps across pieces).
  const std::uint8_t* take_in_piece(std::size_t count);
  std::uint8_t take();

  const std::vector<ByteSpan>* pieces_;
  std::size_t piece_ = 0;
  std::size_t pos_ = 0;
};

// The number an RK value packs (RK, MULRK, an AutoFilter's DOPER).
double rk_value(std::uint32_t rk);

}  // namespace engine::xls
