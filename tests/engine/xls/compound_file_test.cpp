#include "engine/xls/compound_file.hpp"

#include <gtest/gtest.h>

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
