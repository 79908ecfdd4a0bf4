#include "engine/xls/record_reader.hpp"

#include <bit>
#include <cstring>

#include "engine/xls/file_error.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/utf16.hpp"

namespace engine::xls {

namespace {
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::string hex(std::size_t value) {
  static const char* digits = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % 16]);
    value /= 16;
  } while (value != 0);
  return "0x" + text;
}
}  // namespace

ByteSpan RecordReader::body_at(std::size_t& offset, std::uint16_t& type) const {
  if (stream_.size() - offset < 4) fail("a record header at offset " + hex(offset) + " is cut short");
  type = le16(&stream_[offset]);
  const std::size_t length = le16(&stream_[offset + 2]);
  if (stream_.size() - offset - 4 < length)
    fail("the record " + hex(type) + " at offset " + hex(offset) + " runs past the end of the stream");
  ByteSpan body = stream_.subspan(offset + 4, length);
  offset += 4 + length;
  return body;
}

bool RecordReader::next(Record& record) {
  if (offset_ >= stream_.size()) return false;
  record.offset = offset_;
  record.pieces.clear();
  record.pieces.push_back(body_at(offset_, record.type));
  while (stream_.size() - offset_ >= 4 && le16(&stream_[offset_]) == rt::Continue) {
    std::uint16_t type = 0;
    record.pieces.push_back(body_at(offset_, type));
  }
  return true;
}

void RecordReader::seek(std::size_t offset) {
  if (offset >= stream_.size()) fail("a sheet's position " + hex(offset) + " lies outside the workbook stream");
  offset_ = offset;
}

std::size_t RecordCursor::remaining() const {
  std::size_t total = 0;
  for (std::size_t i = piece_; i < pieces_->size(); ++i) total += (*pieces_)[i].size();
  return total - pos_;
}

std::size_t RecordCursor::left_in_piece() const {
  return piece_ < pieces_->size() ? (*pieces_)[piece_].size() - pos_ : 0;
}

const std::uint8_t* RecordCursor::take_in_piece(std::size_t count) {
  if (piece_ >= pieces_->size() || left_in_piece() < count) return nullptr;
  const std::uint8_t* at = (*pieces_)[piece_].data() + pos_;
  pos_ += count;
  return at;
}

void RecordCursor::need(std::size_t count) const {
  if (left_in_piece() < count && remaining() < count) fail("a record is shorter than its contents require");
}

std::uint8_t RecordCursor::take() {
  while ((*pieces_)[piece_].size() == pos_) ++piece_, pos_ = 0;
  return (*pieces_)[piece_][pos_++];
}

std::uint8_t RecordCursor::u8() {
  need(1);
  return take();
}

std::uint16_t RecordCursor::u16() {
  // Most fields lie within one piece: read them without stepping byte by byte.
  if (const std::uint8_t* at = take_in_piece(2)) return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
  need(2);
  const std::uint8_t lo = take();
  return static_cast<std::uint16_t>(lo | (take() << 8));
}

std::uint32_t RecordCursor::u32() {
  const std::uint32_t lo = u16();
  return lo | (static_cast<std::uint32_t>(u16()) << 16);
}

double RecordCursor::f64() {
  const std::uint64_t lo = u32();
  const std::uint64_t bits = lo | (static_cast<std::uint64_t>(u32()) << 32);
  return std::bit_cast<double>(bits);
}

void RecordCursor::skip(std::size_t count) {
  need(count);
  while (count > 0) {
    const std::size_t here = (*pieces_)[piece_].size() - pos_;
    if (here == 0) {
      ++piece_, pos_ = 0;
      continue;
    }
    const std::size_t step = std::min(here, count);
    pos_ += step;
    count -= step;
  }
}

std::vector<std::uint8_t> RecordCursor::bytes(std::size_t count) {
  if (const std::uint8_t* at = take_in_piece(count)) return {at, at + count};
  need(count);
  std::vector<std::uint8_t> out(count);
  for (auto& b : out) b = take();
  return out;
}

ByteSpan RecordCursor::view(std::size_t count, std::vector<std::uint8_t>& storage) {
  if (const std::uint8_t* at = take_in_piece(count)) return {at, count};
  storage = bytes(count);
  return storage;
}

std::string RecordCursor::string16() {
  const std::size_t count = u16();
  return string_chars(count);
}

std::string RecordCursor::string8() {
  const std::size_t count = u8();
  return string_chars(count);
}

std::string RecordCursor::string_chars(std::size_t count) {
  const std::uint8_t options = u8();
  return string_body(count, options);
}

std::string RecordCursor::string_body(std::size_t count, std::uint8_t options) {
  const bool rich = options & 0x08;
  const bool phonetic = options & 0x04;
  const std::size_t runs = rich ? u16() : 0;
  const std::size_t phonetic_size = phonetic ? u32() : 0;
  std::u16string text;
  text.reserve(std::min(count, remaining()));
  bool wide = options & 0x01;
  while (text.size() < count) {
    if (pos_ == (*pieces_)[piece_].size() && piece_ + 1 < pieces_->size()) {
      // The characters continue in the next piece, which restates the width.
      ++piece_, pos_ = 0;
      wide = u8() & 0x01;
      continue;
    }
    if (wide) {
      text += static_cast<char16_t>(u16());
    } else {
      text += static_cast<char16_t>(u8());
    }
  }
  skip(runs * 4);
  skip(phonetic_size);
  return utf16_to_utf8(text);
}

double rk_value(std::uint32_t rk) {
  double value = (rk & 0x02) ? static_cast<double>(static_cast<std::int32_t>(rk) >> 2)
                             : std::bit_cast<double>(static_cast<std::uint64_t>(rk & 0xFFFFFFFC) << 32);
  return (rk & 0x01) ? value / 100 : value;
}

}  // namespace engine::xls
