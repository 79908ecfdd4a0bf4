#include "engine/xls/compound_file.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/xls/file_error.hpp"

namespace engine::xls {
namespace {

Bytes pattern(std::size_t size, std::uint8_t seed) {
  Bytes data(size);
  for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(seed + i * 7);
  return data;
}

std::vector<Stream> sample_streams() {
  return {{"Workbook", pattern(10000, 1)},
          {"\005SummaryInformation", pattern(200, 2)},
          {"\005DocumentSummaryInformation", pattern(4096, 3)}};
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The directory entry (offset in the file) of a root stream, found by its UTF-16 name.
std::size_t directory_entry(const Bytes& file, const std::string& ascii_name) {
  const std::size_t first_dir_sector = le32(file, 0x30);
  const std::size_t dir = (first_dir_sector + 1) * 512;
  for (std::size_t e = dir; e + 128 <= dir + 512; e += 128) {
    bool match = true;
    for (std::size_t i = 0; i < ascii_name.size(); ++i) match = match && file[e + 2 * i] == ascii_name[i];
    if (match) return e;
  }
  ADD_FAILURE() << "no directory entry " << ascii_name;
  return 0;
}

TEST(CompoundFile, StreamsComeBackByteForByteAndByNameInAnyCase) {
  const Bytes file = write_compound_file(sample_streams());
  CompoundFileReader reader(file);
  EXPECT_EQ(reader.stream_names().size(), 3u);
  for (const Stream& s : sample_streams()) {
    auto data = reader.read_stream(s.name);
    ASSERT_TRUE(data) << s.name;
    EXPECT_EQ(*data, s.data) << s.name;
  }
  EXPECT_TRUE(reader.read_stream("WORKBOOK"));
  EXPECT_FALSE(reader.read_stream("Book"));
}

// Sizes on each side of the mini stream's cutoff and of a sector, an empty
// stream, names beyond ASCII, and more entries than one directory sector
// holds: every stream reads back whole, and the directory lists its
// entries shorter names first (then by upper case), as readers that search
// it by halves expect.
TEST(CompoundFile, StreamsOfEverySizeAndManyEntriesReadBack) {
  const std::vector<Stream> streams = {
      {"Workbook", pattern(4096, 1)}, {"Données", pattern(4095, 2)},    {"b", pattern(0, 3)},
      {"Ctls", pattern(4097, 4)},     {"BOOK", pattern(64, 5)},         {"ÉtéAB", pattern(1, 6)},
      {"aa", pattern(65, 7)},         {"\005SummaryInformation", pattern(513, 8)}, {"Zz", pattern(300000, 9)}};
  const Bytes file = write_compound_file(streams);
  CompoundFileReader reader(file);
  EXPECT_EQ(reader.stream_names().size(), streams.size());
  for (const Stream& s : streams) {
    const auto data = reader.read_stream(s.name);
    ASSERT_TRUE(data) << s.name;
    EXPECT_EQ(*data, s.data) << s.name;
  }
  // The root's child, then each entry's right sibling, in the order given.
  const std::size_t dir = (le32(file, 0x30) + 1) * 512;
  const auto entry_at = [&](std::uint32_t index) {
    // The directory's sectors follow one another here (nothing else is written between them).
    return dir + 128 * index;
  };
  std::vector<std::size_t> name_lengths;
  for (std::uint32_t e = le32(file, entry_at(0) + 76); e != 0xFFFFFFFF; e = le32(file, entry_at(e) + 72))
    name_lengths.push_back(file[entry_at(e) + 64]);
  ASSERT_EQ(name_lengths.size(), streams.size());
  EXPECT_TRUE(std::is_sorted(name_lengths.begin(), name_lengths.end()));
}

// Past 109 FAT sectors (about 7 MB) the FAT's list goes on in DIFAT
// sectors; a workbook that large still reads back.
TEST(CompoundFile, AStreamBeyondTheHeadersFatListReadsBack) {
  const std::vector<Stream> streams = {{"Workbook", pattern(8'000'000, 1)}, {"\005SummaryInformation", pattern(200, 2)}};
  const Bytes file = write_compound_file(streams);
  EXPECT_GT(le32(file, 0x48), 0u);  // DIFAT sectors
  CompoundFileReader reader(file);
  EXPECT_EQ(reader.read_stream("Workbook"), streams[0].data);
  EXPECT_EQ(reader.read_stream("\005SummaryInformation"), streams[1].data);
}

TEST(CompoundFile, WritingTwiceGivesIdenticalBytes) {
  EXPECT_EQ(write_compound_file(sample_streams()), write_compound_file(sample_streams()));
}

TEST(CompoundFile, RefusesWhatIsNotACompoundFile) {
  const Bytes text(600, 'x');
  EXPECT_THROW(CompoundFileReader{text}, FileError);
  EXPECT_THROW(CompoundFileReader{Bytes{}}, FileError);
}

TEST(CompoundFile, TruncatedAnywhereFailsCleanly) {
  const Bytes file = write_compound_file(sample_streams());
  for (std::size_t size = 0; size < file.size(); size += 37) {
    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      CompoundFileReader reader(cut);
      for (const auto& name : reader.stream_names()) (void)reader.read_stream(name);
    } catch (const FileError&) {
    }
  }
}

TEST(CompoundFile, LoopInASectorChainIsAnErrorNotAHang) {
  Bytes file = write_compound_file(sample_streams());
  const std::size_t entry = directory_entry(file, "Workbook");
  const std::uint32_t start = le32(file, entry + 0x74);
  const std::size_t fat = (le32(file, 0x4C) + 1) * 512;
  put32(file, fat + 4 * (start + 3), start);  // the fourth sector leads back to the first
  EXPECT_THROW(
      {
        CompoundFileReader reader(file);
        (void)reader.read_stream("Workbook");
      },
      FileError);
}

// The entry is either dropped or refused; what must not happen is a 2 GB
// allocation or a read past the file.
TEST(CompoundFile, StreamClaimingMoreThanTheFileHoldsIsNeverRead) {
  Bytes file = write_compound_file(sample_streams());
  put32(file, directory_entry(file, "Workbook") + 0x78, 0x7FFFFFF0);
  try {
    CompoundFileReader reader(file);
    EXPECT_FALSE(reader.read_stream("Workbook"));
  } catch (const FileError&) {
  }
}

// A root entry never has siblings; links there must neither hide a stream
// nor leave libgsf's entries behind (the sanitizer build checks the latter).
TEST(CompoundFile, SiblingsGivenToTheRootAreIgnored) {
  Bytes file = write_compound_file(sample_streams());
  const std::size_t root = (le32(file, 0x30) + 1) * 512;
  const auto workbook_index = static_cast<std::uint32_t>((directory_entry(file, "Workbook") - root) / 128);
  put32(file, root + 0x44, workbook_index);
  put32(file, root + 0x48, 0x00FFFFF0);
  CompoundFileReader reader(file);
  for (const Stream& s : sample_streams()) EXPECT_EQ(reader.read_stream(s.name), s.data) << s.name;
}

}  // namespace
}  // namespace engine::xls

namespace engine::xls {
namespace {

// However a stream is cut into parts (empty ones included), the file is
// the one its joined bytes give, on both sides of the mini-stream cutoff
// and of a sector's end, and it reads back joined.
TEST(CompoundFile, AStreamGivenInPartsGivesTheFileOfItsJoinedBytes) {
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4095}, std::size_t{4096}, std::size_t{5000},
                           std::size_t{512 * 130 + 3}}) {
    const Bytes joined = pattern(size, 9);
    const std::vector<Stream> whole = {{"Workbook", joined}, {"\005SummaryInformation", pattern(300, 4)}};
    const Bytes expected = write_compound_file(whole);
    for (std::size_t cut : {std::size_t{0}, size / 3, size}) {
      const std::span<const std::uint8_t> all(joined);
      const std::vector<StreamParts> parts = {
          {"Workbook", {all.first(cut), {}, all.subspan(cut)}},
          {"\005SummaryInformation", {whole[1].data}}};
      const Bytes file = write_compound_file(parts);
      EXPECT_EQ(file, expected) << size << " cut at " << cut;
      if (size > 0) {
        EXPECT_EQ(CompoundFileReader(file).read_stream("Workbook"), joined) << size;
      }
    }
  }
}

}  // namespace
}  // namespace engine::xls
