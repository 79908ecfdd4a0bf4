// Damaged and hostile packages: every one ends in a FileError that names the
// trainee's file and, where there is one, the part at fault; never in a
// crash, a hang or unbounded memory.
#include <gtest/gtest.h>

#include "engine/import/file_error.hpp"
#include "engine/xlsx/workbook_file.hpp"
#include "tests/engine/package/zip_builder.hpp"
#include "tests/engine/xlsx/xlsx_fixture.hpp"

namespace {

using namespace engine;
using test_support::worksheet;
using test_support::xlsx_package;

constexpr const char* kFile = "Thor International.xls";

std::string problem_of(const std::vector<std::uint8_t>& bytes) {
  try {
    xlsx::load_workbook(bytes, kFile);
  } catch (const import::FileError& error) {
    EXPECT_EQ(error.file(), kFile);
    EXPECT_EQ(error.description().rfind("'Thor International.xls' cannot be used as an Excel workbook: ", 0), 0u);
    return error.problem();
  }
  return "loaded";
}

bool starts_with(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

TEST(DamagedPackages, EachProblemNamesItsPart) {
  EXPECT_EQ(problem_of(xlsx_package({{"xl/workbook.xml", ""}})),
            "part 'xl/workbook.xml': the part is missing from the package");
  EXPECT_TRUE(starts_with(problem_of(xlsx_package({{"xl/styles.xml", "<styleSheet><fonts></styleSheet>"}})),
                          "part 'xl/styles.xml': line 1: "));
  EXPECT_EQ(problem_of(xlsx_package({{"xl/worksheets/sheet1.xml", ""}})),
            "part 'xl/worksheets/sheet1.xml': the part is missing from the package");
  EXPECT_EQ(problem_of(xlsx_package({{"xl/workbook.xml", test_support::workbook("")}})),
            "part 'xl/workbook.xml': element /workbook (line 2): the workbook has no sheets");
  // The model refuses a second sheet of the same name, in any case.
  EXPECT_NE(problem_of(xlsx_package({{"xl/workbook.xml", test_support::workbook(
                                                             "<sheet name=\"Feuil1\" sheetId=\"1\" r:id=\"rId1\"/>"
                                                             "<sheet name=\"FEUIL1\" sheetId=\"2\" r:id=\"rId1\"/>")}})),
            "loaded");
  EXPECT_EQ(problem_of(xlsx_package({{"xl/workbook.xml", test_support::workbook(
                                                             "<sheet name=\"Feuil1\" sheetId=\"1\" r:id=\"rId9\"/>")}})),
            "the sheet 'Feuil1' has no part in the package");
}

TEST(DamagedPackages, CellsOfTheWrongTypeOrOutsideTheGrid) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<row r=\"1\"><c r=\"A1\" t=\"s\"><v>3</v></c></row>", "refers to shared string '3'"},
      {"<row r=\"1\"><c r=\"A1\"><v>douze</v></c></row>", "the number 'douze' is not a number"},
      {"<row r=\"1\"><c r=\"A1\" t=\"e\"><v>#OOPS</v></c></row>", "'#OOPS', which is not an error value"},
      {"<row r=\"1\"><c r=\"A1\" t=\"q\"><v>1</v></c></row>", "the cell type 'q'"},
      {"<row r=\"1\"><c r=\"IW1\"><v>1</v></c></row>", "lies outside Excel 2003's grid"},
      {"<row r=\"65537\"><c><v>1</v></c></row>", "outside Excel 2003's 65,536 rows"},
      {"<row r=\"2\"><c r=\"A3\"><v>1</v></c></row>", "is not in its row"},
  };
  for (const auto& [data, expected] : cases) {
    const std::string problem = problem_of(xlsx_package({{"xl/worksheets/sheet1.xml", worksheet(data)}}));
    EXPECT_TRUE(starts_with(problem, "part 'xl/worksheets/sheet1.xml': element /worksheet/sheetData/row"))
        << problem;
    EXPECT_NE(problem.find(expected), std::string::npos) << problem;
  }
}

TEST(HostilePackages, EntityBombsZipBombsAndNonWorkbooks) {
  std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE sst [<!ENTITY a \"aaaaaaaaaa\">";
  for (int i = 1; i < 12; ++i)
    bomb += "<!ENTITY a" + std::to_string(i) + " \"" + [&] {
      std::string refs;
      for (int j = 0; j < 10; ++j) refs += i == 1 ? "&a;" : "&a" + std::to_string(i - 1) + ";";
      return refs;
    }() + "\">";
  bomb += "]><sst><si><t>&a11;</t></si></sst>";
  EXPECT_EQ(problem_of(xlsx_package({{"xl/sharedStrings.xml", bomb}})),
            "part 'xl/sharedStrings.xml': the part declares a DTD, which a workbook part never has");
  // 40 MB of one letter deflates to a few kilobytes.
  EXPECT_EQ(problem_of(xlsx_package({{"xl/sharedStrings.xml", std::string(40u << 20, 'a')}})),
            "part 'xl/sharedStrings.xml': the part inflates beyond any plausible compression ratio (a zip bomb)");
  EXPECT_EQ(problem_of(test_support::build_zip({{"mimetype", "text/plain"}})),
            "part 'xl/workbook.xml': the part is missing from the package");
  const std::string text = "Thor International, not a workbook";
  EXPECT_TRUE(starts_with(problem_of({text.begin(), text.end()}), "not a readable zip archive"));
}

// Cut at every length (in steps), the package never loads half a workbook
// silently: it loads whole or fails naming the file.
TEST(HostilePackages, TruncatedAtEveryLengthFailsCleanly) {
  const auto whole = xlsx_package(
      {{"xl/worksheets/sheet1.xml", worksheet("<row r=\"1\"><c r=\"A1\"><f>SUM(B1:C1)</f><v>3</v></c>"
                                              "<c r=\"B1\"><v>1</v></c><c r=\"C1\"><v>2</v></c></row>")}});
  ASSERT_EQ(problem_of(whole), "loaded");
  for (std::size_t size = 0; size < whole.size(); size += 7) {
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_NE(problem_of(cut), "loaded") << size;
  }
  for (std::size_t at = 0; at < whole.size(); at += 3) {
    auto damaged = whole;
    damaged[at] ^= 0xFF;
    problem_of(damaged);  // a workbook or a FileError: anything else fails the test
  }
}

}  // namespace
