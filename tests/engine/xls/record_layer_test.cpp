#include <gtest/gtest.h>

#include <bit>

#include "engine/xls/file_error.hpp"
#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_types.hpp"
#include "engine/xls/record_writer.hpp"
#include "engine/xls/utf16.hpp"

namespace engine::xls {
namespace {

std::vector<Record> all_records(const std::vector<std::uint8_t>& stream) {
  RecordReader reader(stream);
  std::vector<Record> records;
  Record r;
  while (reader.next(r)) records.push_back(r);
  return records;
}

std::vector<std::uint8_t> flat(const Record& r) {
  std::vector<std::uint8_t> out;
  for (auto piece : r.pieces) out.insert(out.end(), piece.begin(), piece.end());
  return out;
}

TEST(RecordLayer, LongBodiesSplitIntoContinueAtTheLimitAndReadBackWhole) {
  for (std::size_t size : {std::size_t{0}, kMaxRecordBody, kMaxRecordBody + 1, 3 * kMaxRecordBody + 17}) {
    std::vector<std::uint8_t> body(size);
    for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<std::uint8_t>(i * 13);
    RecordWriter w;
    w.record(rt::MsoDrawingGroup, body);
    w.empty_record(rt::Eof);
    const auto records = all_records(w.stream());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].type, rt::MsoDrawingGroup);
    EXPECT_EQ(records[0].pieces.size(), size == 0 ? 1 : (size + kMaxRecordBody - 1) / kMaxRecordBody);
    EXPECT_EQ(flat(records[0]), body);
    EXPECT_EQ(records[1].type, rt::Eof);
  }
}

// A body written in place gives the very bytes of one built apart, the
// CONTINUE records of a long one included, and records after it follow on.
TEST(RecordLayer, BodiesWrittenInPlaceMatchBodiesBuiltApart) {
  for (std::size_t size : {std::size_t{0}, std::size_t{6}, kMaxRecordBody, kMaxRecordBody + 1, 2 * kMaxRecordBody + 5}) {
    RecordBody body;
    RecordWriter apart, in_place;
    RecordBody& target = in_place.open(rt::Formula);
    for (std::size_t i = 0; i < size; ++i) {
      body.u8(static_cast<std::uint8_t>(i * 7));
      target.u8(static_cast<std::uint8_t>(i * 7));
    }
    in_place.close();
    in_place.open(rt::Number).f64(2.5);
    in_place.close();
    apart.record(rt::Formula, body);
    apart.record(rt::Number, RecordBody().f64(2.5));
    EXPECT_EQ(in_place.stream(), apart.stream()) << size;
    const auto records = all_records(in_place.stream());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(flat(records[0]), body.data());
    EXPECT_EQ(records[1].type, rt::Number);
  }
}

// Fields land where a byte-by-byte little-endian copy puts them, whether
// the body grows from nothing, within a reservation or past it, across the
// steps in which room is made.
TEST(RecordLayer, FieldsWrittenAcrossGrowthMatchAByteByByteCopy) {
  for (std::size_t reserved : {std::size_t{0}, std::size_t{10}, std::size_t{5000}, std::size_t{100000}}) {
    RecordWriter w(reserved);
    std::vector<std::uint8_t> expected;
    const auto le = [&](std::uint64_t value, int bytes) {
      for (int i = 0; i < bytes; ++i) expected.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    for (std::uint32_t i = 0; i < 3000; ++i) {
      RecordBody& body = w.open(rt::Number);
      le(rt::Number, 2);
      le(27, 2);
      body.u8(static_cast<std::uint8_t>(i)).u16(static_cast<std::uint16_t>(i * 257)).u32(i * 16777259u).f64(i / 7.0)
          .zeros(3).bytes(std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9});
      w.close();
      le(i & 0xFF, 1);
      le((i * 257) & 0xFFFF, 2);
      le(i * 16777259u, 4);
      le(std::bit_cast<std::uint64_t>(i / 7.0), 8);
      le(0, 3);
      for (std::uint8_t b = 1; b <= 9; ++b) expected.push_back(b);
    }
    ASSERT_EQ(w.offset(), expected.size()) << reserved;
    EXPECT_EQ(w.stream(), expected) << reserved;
    EXPECT_EQ(w.take_stream(), expected) << reserved;
    EXPECT_EQ(w.offset(), 0u);
    EXPECT_TRUE(w.stream().empty());
  }
}

// Bytes forgotten by truncate never come back, inserted bytes push the rest
// along, and a body taken is empty and can be written again.
TEST(RecordLayer, TruncateInsertAndTakeKeepExactlyTheBytesWritten) {
  RecordBody body;
  body.u32(0x04030201).u32(0x08070605);
  body.truncate(2);
  EXPECT_EQ(body.data(), (std::vector<std::uint8_t>{1, 2}));
  body.u8(9);
  EXPECT_EQ(body.data(), (std::vector<std::uint8_t>{1, 2, 9}));
  const std::uint8_t front[] = {7, 7};
  body.insert(1, front);
  EXPECT_EQ(body.data(), (std::vector<std::uint8_t>{1, 7, 7, 2, 9}));
  body.patch_u16(3, 0xBBAA);
  EXPECT_EQ(body.data(), (std::vector<std::uint8_t>{1, 7, 7, 0xAA, 0xBB}));
  EXPECT_EQ(body.take(), (std::vector<std::uint8_t>{1, 7, 7, 0xAA, 0xBB}));
  EXPECT_EQ(body.size(), 0u);
  EXPECT_TRUE(body.data().empty());
  body.zeros(2).u8(5);
  EXPECT_EQ(body.data(), (std::vector<std::uint8_t>{0, 0, 5}));
}

TEST(RecordLayer, StringsOfEveryKindRoundTrip) {
  const std::vector<std::string> texts = {"", "Trimestre 1", "Détail", "Case à cocher 1", "日本語 ∑", "𝄞 clef"};
  RecordBody body;
  for (const auto& t : texts) body.string16(t).string8(t);
  RecordWriter w;
  w.record(rt::Label, body);
  const auto records = all_records(w.stream());
  RecordCursor c(records.at(0));
  for (const auto& t : texts) {
    EXPECT_EQ(c.string16(), t);
    EXPECT_EQ(c.string8(), t);
  }
  EXPECT_TRUE(c.at_end());
}

// Many strings written through the SST path land across CONTINUE records,
// some split mid-characters with the width restated; reading them back
// with the cursor must give every string unchanged, and the EXTSST
// placements must point at each string's header.
TEST(RecordLayer, SstStringsSplitAcrossContinueWithRestatedWidth) {
  std::vector<std::string> texts;
  for (int i = 0; i < 600; ++i) {
    std::string t = (i % 3 == 0) ? "ligne " : (i % 3 == 1 ? "é€ " : "ascii only ");
    t += std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26));
    texts.push_back(t);
  }
  texts.push_back(std::string(20000, 'z'));  // longer than a record
  RecordWriter w;
  std::vector<ContinuedRecordWriter::Placement> placements;
  {
    ContinuedRecordWriter sst(w, rt::Sst);
    RecordBody head;
    head.u32(static_cast<std::uint32_t>(texts.size())).u32(static_cast<std::uint32_t>(texts.size()));
    sst.atomic(head);
    for (const auto& t : texts) placements.push_back(sst.string16(t));
  }
  const auto records = all_records(w.stream());
  ASSERT_EQ(records.size(), 1u);
  EXPECT_GT(records[0].pieces.size(), 3u);
  for (auto piece : records[0].pieces) EXPECT_LE(piece.size(), kMaxRecordBody);
  RecordCursor c(records[0]);
  c.skip(8);
  for (const auto& t : texts) ASSERT_EQ(c.string16(), t);
  EXPECT_TRUE(c.at_end());
  for (std::size_t i = 0; i < texts.size(); i += 50) {
    const auto& p = placements[i];
    const auto& s = w.stream();
    const std::size_t count = s[p.stream_offset] | (s[p.stream_offset + 1] << 8);
    EXPECT_EQ(count, utf8_to_utf16(texts[i]).size());
    const std::size_t record_start = p.stream_offset - p.record_offset;
    const std::uint16_t type = static_cast<std::uint16_t>(s[record_start] | (s[record_start + 1] << 8));
    EXPECT_TRUE(type == rt::Sst || type == rt::Continue);
  }
}

// Pieces laid out by hand at the awkward points other writers choose: a
// header ending exactly at a piece end, a width change between pieces,
// rich-text runs and phonetic data crossing a boundary.
TEST(RecordLayer, HandSplitStringsReadBackAtAwkwardBoundaries) {
  const std::vector<std::uint8_t> p1 = {3, 0, 0x00};                      // "abc", compressed, header only
  const std::vector<std::uint8_t> p2 = {0x01, 'a', 0, 'b', 0};            // restated as wide
  const std::vector<std::uint8_t> p3 = {0x00, 'c',                       // back to compressed
                                        2, 0, 0x0C, 1, 0, 3, 0, 0, 0,   // "xy", rich (1 run) + phonetic (3)
                                        'x'};
  const std::vector<std::uint8_t> p4 = {0x00, 'y', 1, 2, 3, 4, 9, 9};     // run crosses into here, then phonetic
  const std::vector<std::uint8_t> p5 = {9, 7};
  Record r;
  r.type = rt::Sst;
  for (const auto* p : {&p1, &p2, &p3, &p4, &p5}) r.pieces.emplace_back(*p);
  RecordCursor c(r);
  EXPECT_EQ(c.string16(), "abc");
  EXPECT_EQ(c.string16(), "xy");
  EXPECT_EQ(c.u8(), 7);
  EXPECT_TRUE(c.at_end());
}

TEST(RecordLayer, DamagedStreamsRaiseFileError) {
  RecordWriter w;
  RecordBody body;
  body.string16("Trimestre 1").f64(3.5);
  w.record(rt::Label, body);
  const auto good = w.stream();
  for (std::size_t size = 1; size < good.size(); ++size) {
    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_THROW(all_records(cut), FileError) << size;
  }
  // A length that claims a longer body than its record holds.
  auto lying = good;
  lying[4] = 200;
  auto records = all_records(lying);
  RecordCursor c(records.at(0));
  EXPECT_THROW(c.string16(), FileError);
  RecordCursor d(records.at(0));
  EXPECT_THROW(d.skip(1000), FileError);
  RecordReader reader(good);
  EXPECT_THROW(reader.seek(good.size()), FileError);
}

TEST(Utf16, MalformedTextBecomesReplacementCharacters) {
  EXPECT_EQ(utf16_to_utf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(utf8_to_utf16("a\xC3"), u"a\xFFFD");
  EXPECT_EQ(utf8_to_utf16("\xC0\xAF" "b"), u"\xFFFD" u"b");  // overlong "/"
  EXPECT_EQ(utf16_to_utf8(utf8_to_utf16("𝄞é")), "𝄞é");
}

}  // namespace
}  // namespace engine::xls
