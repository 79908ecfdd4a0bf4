#include "engine/xls/record_writer.hpp"

#include <algorithm>
#include <stdexcept>

#include "engine/xls/record_types.hpp"
#include "engine/xls/utf16.hpp"

namespace engine::xls {

// Room is made a step at a time within what was reserved, so that a large
// reservation is touched only as it is written; past it, the vector doubles.
void RecordBody::make_room(std::size_t count) {
  constexpr std::size_t kStep = 4096;
  const std::size_t wanted = size_ + count;
  if (wanted <= data_.capacity()) {
    data_.resize(std::min(data_.capacity(), wanted + kStep));
  } else {
    data_.resize(std::max({wanted, 2 * data_.capacity(), std::size_t{64}}));
  }
}

RecordBody& RecordBody::zeros(std::size_t count) {
  std::fill_n(room(count), count, std::uint8_t{0});
  return *this;
}

// `data` must not be this body's own bytes: making room may move them.
RecordBody& RecordBody::bytes(std::span<const std::uint8_t> data) {
  std::copy(data.begin(), data.end(), room(data.size()));
  return *this;
}

void RecordBody::insert(std::size_t at, std::span<const std::uint8_t> data) {
  const std::size_t moved = size_ - at;
  room(data.size());
  std::uint8_t* from = data_.data() + at;
  std::copy_backward(from, from + moved, from + moved + data.size());
  std::copy(data.begin(), data.end(), from);
}

std::vector<std::uint8_t> RecordBody::take() {
  data_.resize(size_);
  std::vector<std::uint8_t> out = std::move(data_);
  data_.clear();
  size_ = 0;
  return out;
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

void RecordWriter::record(std::uint16_t type, std::span<const std::uint8_t> body) {
  std::size_t done = 0;
  do {
    const std::size_t length = std::min(kMaxRecordBody, body.size() - done);
    header(done == 0 ? type : rt::Continue, length);
    stream_.bytes(body.subspan(done, length));
    done += length;
  } while (done < body.size());
}

// Rare (a formula with a large array constant): the body is taken back
// out and written again in pieces.
void RecordWriter::split_open_record() {
  const auto& bytes = stream_.data();
  const std::vector<std::uint8_t> body(bytes.begin() + static_cast<std::ptrdiff_t>(open_at_ + 4), bytes.end());
  stream_.truncate(open_at_);
  record(open_type_, body);
}

void RecordWriter::patch_u32(std::size_t at, std::uint32_t value) {
  if (at + 4 > stream_.size()) throw std::out_of_range("RecordWriter::patch_u32");
  stream_.patch_u16(at, static_cast<std::uint16_t>(value));
  stream_.patch_u16(at + 2, static_cast<std::uint16_t>(value >> 16));
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
