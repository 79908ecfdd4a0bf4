// Array formulas in SpreadsheetML: <f t="array" ref="..."> in the top-left
// cell, the cached values alone in the others.
#include <gtest/gtest.h>

#include "engine/import/load_report.hpp"
#include "engine/xlsx/workbook_file.hpp"
#include "tests/engine/xlsx/xlsx_fixture.hpp"

namespace {

using namespace engine;
using test_support::worksheet;
using test_support::xlsx_package;

std::unique_ptr<model::Workbook> load_sheet(const std::string& sheet_data, import::LoadReport* report) {
  return xlsx::load_workbook(xlsx_package({{"xl/worksheets/sheet1.xml", worksheet(sheet_data)}}), "Matrices.xlsx",
                             report);
}

// Two rows of values, each ending with the cells given.
std::string sheet_with(const std::string& first, const std::string& second) {
  std::string data = "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>10</v></c>";
  data.append(first).append("</row><row r=\"2\"><c r=\"A2\"><v>2</v></c><c r=\"B2\"><v>20</v></c>");
  data.append(second).append("</row>");
  return data;
}

TEST(ArrayFormulas, ReadAsArraysOverTheirRange) {
  import::LoadReport report;
  const auto book = load_sheet(sheet_with("<c r=\"C1\"><f t=\"array\" ref=\"C1:C2\">A1:A2*B1:B2</f><v>10</v></c>"
                                          "<c r=\"D1\"><f t=\"array\" ref=\"D1\">SUM(A1:A2*B1:B2)</f><v>50</v></c>",
                                          "<c r=\"C2\"><v>40</v></c>"),
                               &report);
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_TRUE(report.notes().empty());
  EXPECT_EQ(sheet.array_at(1, 2), (model::CellRange{0, 2, 1, 2}));
  EXPECT_EQ(sheet.formula_text(1, 2), "=A1:A2*B1:B2");
  EXPECT_EQ(sheet.value(1, 2), formula::Value(40.0));
  EXPECT_EQ(sheet.array_at(0, 3), model::CellRange::cell(0, 3));
  EXPECT_EQ(sheet.value(0, 3), formula::Value(50.0));
}

TEST(ArrayFormulas, ARangeBeyondTheCellsInTheFileKeepsTheCachedValues) {
  for (const char* ref : {"C1:C60000", "C2:C3", "C1:"}) {
    SCOPED_TRACE(ref);
    import::LoadReport report;
    const auto book = load_sheet(
        sheet_with("<c r=\"C1\"><f t=\"array\" ref=\"" + std::string(ref) + "\">A1:A2*3</f><v>7</v></c>",
                   "<c r=\"C2\"><v>8</v></c>"),
        &report);
    const model::Worksheet& sheet = book->sheet(0);
    EXPECT_FALSE(sheet.array_at(0, 2).has_value());
    EXPECT_EQ(sheet.value(0, 2), formula::Value(7.0));
    EXPECT_EQ(sheet.cell_count(), 6u);
    ASSERT_EQ(report.notes().size(), 1u);
    EXPECT_EQ(report.notes().front().what, "array formula");
  }
}

}  // namespace
