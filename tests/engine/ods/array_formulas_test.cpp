// Array formulas in OpenDocument: table:number-matrix-columns-spanned and
// table:number-matrix-rows-spanned on the cell holding the formula, the
// cached values alone in the others.
#include <gtest/gtest.h>

#include "engine/ods/workbook_file.hpp"
#include "ods_files.hpp"

namespace engine::ods {
namespace {

using testing::spreadsheet_package;

std::string table_with(const std::string& matrix) {
  return R"(<table:table table:name="Matrices"><table:table-row>
      <table:table-cell office:value-type="float" office:value="1"/>
      <table:table-cell office:value-type="float" office:value="10"/>
      <table:table-cell table:formula="of:=[.A1:.A2]*[.B1:.B2]" )" +
         matrix + R"( office:value-type="float" office:value="10"/>
    </table:table-row><table:table-row>
      <table:table-cell office:value-type="float" office:value="2"/>
      <table:table-cell office:value-type="float" office:value="20"/>
      <table:table-cell office:value-type="float" office:value="40"/>
    </table:table-row></table:table>)";
}

TEST(ArrayFormulas, AMatrixReadsAsAnArrayFormula) {
  import::LoadReport report;
  const auto book = load_workbook(
      spreadsheet_package(table_with(
          R"(table:number-matrix-columns-spanned="1" table:number-matrix-rows-spanned="2")")),
      "matrices.ods", &report);
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_TRUE(report.notes().empty());
  EXPECT_EQ(sheet.array_at(1, 2), (model::CellRange{0, 2, 1, 2}));
  EXPECT_EQ(sheet.formula_text(1, 2), "=A1:A2*B1:B2");
  EXPECT_EQ(sheet.value(1, 2), formula::Value(40.0));
}

TEST(ArrayFormulas, AMatrixBeyondTheCellsInTheFileKeepsTheCachedValues) {
  import::LoadReport report;
  const auto book = load_workbook(
      spreadsheet_package(table_with(
          R"(table:number-matrix-columns-spanned="200" table:number-matrix-rows-spanned="60000")")),
      "matrices.ods", &report);
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_FALSE(sheet.array_at(0, 2).has_value());
  EXPECT_EQ(sheet.value(0, 2), formula::Value(10.0));
  EXPECT_EQ(sheet.cell_count(), 6u);
  ASSERT_EQ(report.notes().size(), 1u);
  EXPECT_EQ(report.notes().front().what, "array formula");
}

}  // namespace
}  // namespace engine::ods
