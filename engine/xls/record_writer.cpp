#include "engine/xls/record_writer.hpp"

#include <algorithm>

#include "engine/xls/record_types.hpp"
#include "engine/xls/utf16.hpp"

namespace engine::xls {

RecordBody& RecordBody::zeros(std::size_t count) {
  data_.insert(data_.end(), count, 0);
  return *this;
}

RecordBody& RecordBody::bytes(const std::vector<std::uint8_t>& data) {
  data_.insert(data_.end(), data.begin(), data.end());
  return *this;
}

RecordBody& RecordBody::string16(std::string_view utf8) {
  std::u16string text = utf8_to_utf16(utf8);
  if (text.size() > 0xFFFF) text.resize(0xFFFF);
  u16(static_cast<std::uint16_t>(text.size()));
  return string_chars(text);
}

RecordBody& RecordBody::string8(std::string_view utf8) {
  std::u16string text = utf8_to_utf16(utf8);
  if (text.size() > 0xFF) text.resize(0xFF);
  u8(static_cast<std::uint8_t>(text.size()));
  return string_chars(text);
}

RecordBody& RecordBody::string_chars(std::u16string_view text) {
  const bool compressed = fits_latin1(text);
  u8(compressed ? 0x00 : 0x01);
  for (char16_t c : text) {
    if (compressed) {
      u8(static_cast<std::uint8_t>(c));
    } else {
      u16(static_cast<std::uint16_t>(c));
    }
  }
  return *this;
}

void RecordWriter::header(std::uint16_t type, std::size_t length) {
  stream_.u16(type).u16(static_cast<std::uint16_t>(length));
}

void RecordWriter::record(std::uint16_t type, std::span<const std::uint8_t> body) {
  std::size_t done = 0;
  do {
    const std::size_t length = std::min(kMaxRecordBody, body.size() - done);
    header(done == 0 ? type : rt::Continue, length);
    stream_.data().insert(stream_.data().end(), body.begin() + static_cast<std::ptrdiff_t>(done),
                          body.begin() + static_cast<std::ptrdiff_t>(done + length));
    done += length;
  } while (done < body.size());
}

RecordBody& RecordWriter::open(std::uint16_t type) {
  open_at_ = stream_.size();
  open_type_ = type;
  header(type, 0);
  return stream_;
}

void RecordWriter::close() {
  auto& bytes = stream_.data();
  const std::size_t length = bytes.size() - open_at_ - 4;
  if (length <= kMaxRecordBody) {
    bytes[open_at_ + 2] = static_cast<std::uint8_t>(length);
    bytes[open_at_ + 3] = static_cast<std::uint8_t>(length >> 8);
    return;
  }
  // Rare (a formula with a large array constant): the body is taken back
  // out and written again in pieces.
  const std::vector<std::uint8_t> body(bytes.begin() + static_cast<std::ptrdiff_t>(open_at_ + 4), bytes.end());
  bytes.resize(open_at_);
  record(open_type_, body);
}

void RecordWriter::patch_u32(std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    stream_.data().at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
}

ContinuedRecordWriter::ContinuedRecordWriter(RecordWriter& out, std::uint16_t type) : out_(out), type_(type) {}

ContinuedRecordWriter::~ContinuedRecordWriter() { flush(); }

void ContinuedRecordWriter::flush() {
  out_.record(type_, piece_);
  piece_.clear();
  type_ = rt::Continue;
}

void ContinuedRecordWriter::reserve(std::size_t count) {
  if (piece_.size() + count > kMaxRecordBody) flush();
}

void ContinuedRecordWriter::atomic(const RecordBody& part) {
  reserve(part.size());
  piece_.insert(piece_.end(), part.data().begin(), part.data().end());
}

ContinuedRecordWriter::Placement ContinuedRecordWriter::string16(std::string_view utf8) {
  std::u16string text = utf8_to_utf16(utf8);
  if (text.size() > 0xFFFF) text.resize(0xFFFF);
  const bool compressed = fits_latin1(text);
  const std::size_t width = compressed ? 1 : 2;
  RecordBody head;
  head.u16(static_cast<std::uint16_t>(text.size())).u8(compressed ? 0x00 : 0x01);
  // The header plus at least one character stays together.
  reserve(head.size() + (text.empty() ? 0 : width));
  const Placement placement{out_.offset() + 4 + piece_.size(), 4 + piece_.size()};
  piece_.insert(piece_.end(), head.data().begin(), head.data().end());
  for (char16_t c : text) {
    if (piece_.size() + width > kMaxRecordBody) {
      flush();
      piece_.push_back(compressed ? 0x00 : 0x01);
    }
    piece_.push_back(static_cast<std::uint8_t>(c));
    if (!compressed) piece_.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return placement;
}

}  // namespace engine::xls
