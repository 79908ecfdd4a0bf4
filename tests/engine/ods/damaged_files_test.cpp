// Damaged and hostile packages: each raises the file error naming the
// trainee's file and the part at fault, quickly and without a huge
// allocation, or loads with what it asks of the model cut to Excel's grid.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "engine/import/file_error.hpp"
#include "engine/ods/table_reader.hpp"
#include "engine/ods/workbook_file.hpp"
#include "ods_files.hpp"

namespace engine::ods {
namespace {

using testing::file_bytes;
using testing::make_package;
using testing::spreadsheet_package;

const std::filesystem::path kFixtures = D72506_ODS_FIXTURES;

// The problem of the file error loading `bytes` as "Réponses.ods" raises.
std::string load_problem(const std::vector<std::uint8_t>& bytes) {
  try {
    load_workbook(bytes, "Réponses.ods");
  } catch (const import::FileError& error) {
    EXPECT_EQ(error.file(), "Réponses.ods");
    EXPECT_NE(error.description().find("Réponses.ods"), std::string::npos);
    return error.problem();
  }
  ADD_FAILURE() << "the package loaded";
  return {};
}

std::string table(const std::string& rows, const std::string& name = "Feuille1") {
  return "<table:table table:name=\"" + name + "\">" + rows + "</table:table>";
}

TEST(DamagedFiles, TruncatedAtAnyLengthRaiseTheFileError) {
  const auto whole = file_bytes(kFixtures / "first_box_ticked.ods");
  for (std::size_t length = 0; length < whole.size(); length += 61) {
    SCOPED_TRACE(length);
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(load_problem(cut).empty());
  }
}

TEST(DamagedFiles, BadXmlNamesThePartAndTheLine) {
  const std::string problem =
      load_problem(make_package({{"mimetype", std::string(kSpreadsheetMimeType)},
                                 {"content.xml", "<office:document-content>\n<unclosed>"}}));
  EXPECT_NE(problem.find("content.xml"), std::string::npos) << problem;
  EXPECT_NE(problem.find("line"), std::string::npos) << problem;
}

TEST(DamagedFiles, MissingPartsAndOtherDocumentsAreRefusedByName) {
  EXPECT_NE(load_problem(make_package({{"mimetype", std::string(kSpreadsheetMimeType)}})).find("content.xml"),
            std::string::npos);
  EXPECT_NE(load_problem(make_package({{"mimetype", "application/vnd.oasis.opendocument.text"},
                                       {"content.xml", testing::content_xml(table(""))}}))
                .find("not a spreadsheet"),
            std::string::npos);
  EXPECT_NE(load_problem(spreadsheet_package("")).find("no table"), std::string::npos);
  EXPECT_NE(load_problem(spreadsheet_package(table("", "a") + table("", "A"))).find("sheet name"), std::string::npos);
  EXPECT_NE(load_problem(spreadsheet_package(table("", "bad[name]"))).find("content.xml"), std::string::npos);
}

TEST(DamagedFiles, SheetNamesLongerThanExcelsAreCut) {
  import::LoadReport report;
  const auto book = load_workbook(spreadsheet_package(table("", "Trimestre 1 - ventes du premier trimestre")), "x.ods", &report);
  EXPECT_EQ(book->sheet(0).name(), "Trimestre 1 - ventes du premier");
  ASSERT_EQ(report.notes().size(), 1u);
  EXPECT_EQ(report.notes().front().what, "the end of a long sheet name");
}

TEST(DamagedFiles, AbsurdRepeatCountsStayOnTheGridAndCostNothing) {
  const auto start = std::chrono::steady_clock::now();
  import::LoadReport report;
  const auto book = load_workbook(
      spreadsheet_package(table(R"(<table:table-column table:number-columns-repeated="2147483647"/>
        <table:table-row table:number-rows-repeated="99999999999"><table:table-cell table:number-columns-repeated="2147483647"/></table:table-row>
        <table:table-row table:number-rows-repeated="1048000"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>
        <table:table-row><table:table-cell office:value-type="float" office:value="1"/></table:table-row>)")),
      "x.ods", &report);
  EXPECT_EQ(book->sheet(0).cell_count(), 0u);
  ASSERT_FALSE(report.notes().empty());
  EXPECT_EQ(report.notes().front().what, "rows past row 65536");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// LibreOffice repeats a formatted column's style on every blank row to the
// end of its grid: none of those cells is a record of its own.
TEST(DamagedFiles, BlankCellsOfTheirColumnsStyleCostNothing) {
  const std::string bold = R"(<style:style style:name="ce1" style:family="table-cell"><style:text-properties fo:font-weight="bold"/></style:style>)";
  const auto book = load_workbook(
      spreadsheet_package(table(R"(<table:table-column table:number-columns-repeated="200" table:default-cell-style-name="ce1"/>
        <table:table-row table:number-rows-repeated="1048576"><table:table-cell table:style-name="ce1" table:number-columns-repeated="200"/></table:table-row>)"),
                          bold),
      "x.ods");
  EXPECT_EQ(book->sheet(0).cell_count(), 0u);
  EXPECT_TRUE(book->sheet(0).format(65535, 199).font.bold);
}

TEST(DamagedFiles, RepeatedContentBeyondTheCellLimitIsRefused) {
  const std::string problem = load_problem(spreadsheet_package(table(
      R"(<table:table-row table:number-rows-repeated="65536"><table:table-cell office:value-type="float" office:value="1" table:number-columns-repeated="256"/></table:table-row>)")));
  EXPECT_NE(problem.find(std::to_string(kMaxFilledCells)), std::string::npos) << problem;
  EXPECT_NE(problem.find("table-row"), std::string::npos) << "the element at fault: " << problem;
}

TEST(DamagedFiles, DeepNestingIsRefusedOrFlattened) {
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<table:table-row-group>";
  EXPECT_NE(load_problem(spreadsheet_package(table(deep))).find("content.xml"), std::string::npos);

  std::string groups;
  for (int i = 0; i < 20; ++i) groups += "<table:table-row-group>";
  groups += "<table:table-row><table:table-cell/></table:table-row>";
  for (int i = 0; i < 20; ++i) groups += "</table:table-row-group>";
  const auto book = load_workbook(spreadsheet_package(table(groups)), "x.ods");
  EXPECT_EQ(book->sheet(0).rows().level(0), model::kMaxOutlineLevel) << "Excel's deepest level";
}

TEST(DamagedFiles, HugeTextIsCutAtExcelsCellLimit) {
  const auto book = load_workbook(
      spreadsheet_package(table(R"(<table:table-row><table:table-cell office:value-type="string"><text:p>a<text:s text:c="2000000000"/>b</text:p></table:table-cell></table:table-row>)")),
      "x.ods");
  EXPECT_EQ(book->sheet(0).value(0, 0).text().size(), 32767u);
}

TEST(DamagedFiles, ManyMergesAndShapesStopAtTheirLimitsWithANote) {
  std::string cells;
  for (std::size_t i = 0; i < kMaxMergesPerSheet + 10; ++i)
    cells += "<table:table-row><table:table-cell table:number-columns-spanned=\"2\"/></table:table-row>";
  import::LoadReport report;
  const auto book = load_workbook(spreadsheet_package(table(cells)), "x.ods", &report);
  EXPECT_EQ(book->sheet(0).merged_ranges().size(), kMaxMergesPerSheet);
  ASSERT_EQ(report.notes().size(), 1u);
  EXPECT_EQ(report.count(), 10u);
  EXPECT_EQ(report.notes().front().why, "the sheet has too many");
}

TEST(DamagedFiles, UnreadableValuesAndFormulasAreNotedAndTheRestLoads) {
  import::LoadReport report;
  const auto book = load_workbook(spreadsheet_package(table(R"(<table:table-row>
      <table:table-cell office:value-type="float" office:value="12abc"/>
      <table:table-cell table:formula="of:=SUM([.A1" office:value-type="float" office:value="7"/>
      <table:table-cell office:value-type="date" office:date-value="1700-01-01"/>
      <table:table-cell office:value-type="float" office:value="3"/></table:table-row>)")),
                                  "x.ods", &report);
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_TRUE(sheet.value(0, 0).is_empty());
  EXPECT_EQ(sheet.value(0, 1), formula::Value(7.0)) << "the cached result stands for the formula";
  EXPECT_FALSE(sheet.has_formula(0, 1));
  EXPECT_EQ(sheet.value(0, 3), formula::Value(3.0));
  ASSERT_EQ(report.notes().size(), 3u);
  EXPECT_EQ(report.notes()[1].what, "a formula");
  EXPECT_EQ(report.notes()[1].where, "content.xml, sheet 'Feuille1', cell B1");
}

}  // namespace
}  // namespace engine::ods
