// The zip layer under the .xlsx and .ods readers: entries found as OPC names
// them, and every way a hostile archive can try to exhaust memory or slip
// damage past the reader ends in a PackageError naming the entry.
#include <gtest/gtest.h>

#include "engine/package/zip_archive.hpp"
#include "tests/engine/package/error_text.hpp"
#include "tests/engine/package/zip_builder.hpp"

namespace {

using engine::package::PackageError;
using engine::package::resolve_part;
using engine::package::ZipArchive;
using engine::package::ZipLimits;
using test_support::build_zip;
using test_support::package_error_of;

TEST(ZipArchive, FindsEntriesAsPackagePartNames) {
  const auto bytes = build_zip({{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.xml", "<workbook/>", false}});
  ZipArchive archive(bytes);
  EXPECT_EQ(archive.names(), (std::vector<std::string>{"[Content_Types].xml", "xl/workbook.xml"}));
  EXPECT_EQ(archive.read("/xl/workbook.xml"), "<workbook/>");
  EXPECT_EQ(archive.read("XL/Workbook.XML"), "<workbook/>");
  EXPECT_TRUE(archive.contains("[content_types].xml"));
  EXPECT_FALSE(archive.read_if_present("xl/styles.xml").has_value());
  EXPECT_EQ(package_error_of([&] { archive.read("xl/styles.xml"); }), "part 'xl/styles.xml': the part is missing from the package");
}

TEST(ZipArchive, RecognisesZipBytesByTheirHeader) {
  EXPECT_TRUE(ZipArchive::looks_like_zip(build_zip({{"a", "b"}})));
  const std::vector<std::uint8_t> ole2 = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  EXPECT_FALSE(ZipArchive::looks_like_zip(ole2));
  EXPECT_FALSE(ZipArchive::looks_like_zip({}));
}

TEST(ZipArchive, RefusesWhatIsNotAZipArchive) {
  const std::string text = "PK\x03\x04 but nothing after";
  const std::vector<std::uint8_t> bytes(text.begin(), text.end());
  EXPECT_THROW(ZipArchive{bytes}, PackageError);
  EXPECT_THROW(ZipArchive{std::span<const std::uint8_t>{}}, PackageError);
}

std::string sheet_rows(std::size_t at_least) {
  std::string text;
  for (int row = 1; text.size() < at_least; ++row)
    text += "<row r=\"" + std::to_string(row) + "\"><c><v>" + std::to_string(row * 7919 % 100003) + "</v></c></row>";
  return text;
}

// A zip bomb: megabytes of one byte deflate a thousandfold; a real sheet's
// rows of the same size do not come near.
TEST(ZipLimitsTest, EachLimitRefusesTheEntryAndNamesIt) {
  const auto bytes = build_zip({{"xl/worksheets/sheet1.xml", sheet_rows(3u << 20)},
                                {"bomb.xml", std::string(3u << 20, 'x')},
                                {"small", "abc"}});
  {
    ZipArchive archive(bytes);
    EXPECT_EQ(package_error_of([&] { archive.read("bomb.xml"); }),
              "part 'bomb.xml': the part inflates beyond any plausible compression ratio (a zip bomb)");
    EXPECT_EQ(archive.read("small"), "abc");
    EXPECT_GE(archive.read("xl/worksheets/sheet1.xml").size(), 3u << 20);
  }
  {
    ZipArchive archive(bytes, ZipLimits{.max_entry_size = 1u << 20});
    EXPECT_EQ(package_error_of([&] { archive.read("xl/worksheets/sheet1.xml"); }),
              "part 'xl/worksheets/sheet1.xml': the part is larger than a workbook part may be");
  }
  {
    // The total counts every read, so reading the same part twice adds up.
    ZipArchive archive(bytes, ZipLimits{.max_total_size = 5u << 20});
    EXPECT_GE(archive.read("xl/worksheets/sheet1.xml").size(), 3u << 20);
    EXPECT_EQ(package_error_of([&] { archive.read("xl/worksheets/sheet1.xml"); }),
              "part 'xl/worksheets/sheet1.xml': the package's parts together are larger than a workbook may be");
  }
  {
    ZipLimits few;
    few.max_entries = 2;
    EXPECT_EQ(package_error_of([&] { ZipArchive archive(bytes, few); }), "the zip archive lists more entries than a workbook holds");
  }
}

// Cut at every length, and flipped at every byte: the archive either opens
// and its entries read back whole, or a PackageError says what is wrong.
TEST(DamagedZip, TruncatedOrCorruptedArchivesRaisePackageError) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "<row r=\"" + std::to_string(i) + "\"/>";
  const auto whole = build_zip({{"a.xml", text}, {"b.xml", "<b/>", false}});
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      ZipArchive archive(cut);
      archive.read("a.xml");
      archive.read("b.xml");
      ADD_FAILURE() << "a cut archive read whole at " << size;
    } catch (const PackageError&) {
    }
  }
  for (std::size_t at = 0; at < whole.size(); ++at) {
    auto damaged = whole;
    damaged[at] ^= 0x5A;
    try {
      ZipArchive archive(damaged);
      for (const auto& name : archive.names()) archive.read_if_present(name);
    } catch (const PackageError&) {
    }
  }
}

TEST(DamagedZip, ADataByteChangedFailsTheChecksum) {
  const auto whole = build_zip({{"a.xml", "<sheet>0123456789</sheet>", false}});
  auto damaged = whole;
  const std::string needle = "0123456789";
  const auto at = std::search(damaged.begin(), damaged.end(), needle.begin(), needle.end());
  ASSERT_NE(at, damaged.end());
  *at = '9';
  ZipArchive archive(damaged);
  const std::string message = package_error_of([&] { archive.read("a.xml"); });
  EXPECT_EQ(message.rfind("part 'a.xml': the part is damaged", 0), 0u) << message;
}

TEST(PartNames, RelationshipTargetsResolveAgainstTheirSource) {
  EXPECT_EQ(resolve_part("xl/workbook.xml", "worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
  EXPECT_EQ(resolve_part("xl/worksheets/sheet1.xml", "../comments1.xml"), "xl/comments1.xml");
  EXPECT_EQ(resolve_part("xl/worksheets/sheet1.xml", "/xl/drawings/vmlDrawing1.vml"), "xl/drawings/vmlDrawing1.vml");
  EXPECT_EQ(resolve_part("xl/workbook.xml", "./styles.xml"), "xl/styles.xml");
  EXPECT_EQ(resolve_part("", "xl/workbook.xml"), "xl/workbook.xml");
  // Never above the package's root.
  EXPECT_EQ(resolve_part("xl/workbook.xml", "../../../../etc/passwd"), "etc/passwd");
}

}  // namespace
