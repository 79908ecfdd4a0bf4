// A formula filled down a column is one tree in a loaded workbook; every
// cell must still read, compute, save and move as if it held its own.
#include <gtest/gtest.h>

#include <string>

#include "engine/model/workbook.hpp"
#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace m = engine::model;
namespace f = engine::formula;

constexpr int kRows = 6;

std::string row_text(const std::string& before, int row, const std::string& after = "") {
  return before + std::to_string(row + 1) + after;
}

// A1:A6 hold 1..6 and C1 100; B and D are filled down.
std::unique_ptr<m::Workbook> filled_book() {
  auto book = std::make_unique<m::Workbook>("Remplissage.xls");
  m::Worksheet& sheet = book->add_sheet("Feuil1");
  sheet.set_value(0, 2, f::Value(100.0));
  for (int row = 0; row < kRows; ++row) {
    sheet.set_value(row, 0, f::Value(row + 1.0));
    sheet.set_formula(row, 1, row_text("=A", row, "*2+$C$1"));
    sheet.set_formula(row, 3, row_text("=SUM($A$1:A", row, ")"));
  }
  return book;
}

std::unique_ptr<m::Workbook> reloaded(const m::Workbook& book) { return load_workbook(save_workbook(book), book.name()); }

TEST(SharedFormulas, EachCellOfAFilledColumnReadsAndComputesItsOwnFormula) {
  const auto original = filled_book();
  const auto book = reloaded(*original);
  m::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(sheet.find_cell(0, 1)->formula, sheet.find_cell(kRows - 1, 1)->formula);
  for (int row = 0; row < kRows; ++row) {
    EXPECT_EQ(sheet.formula_text(row, 1), row_text("=A", row, "*2+$C$1"));
    EXPECT_EQ(sheet.formula_text(row, 3), row_text("=SUM($A$1:A", row, ")"));
    EXPECT_EQ(sheet.value(row, 1), f::Value(2.0 * (row + 1) + 100));
    EXPECT_EQ(sheet.value(row, 3), f::Value((row + 1) * (row + 2) / 2.0));
  }
  // A change reaches the cells that read it through their own references.
  sheet.set_value(2, 0, f::Value(10.0));
  EXPECT_EQ(sheet.value(2, 1), f::Value(120.0));
  EXPECT_EQ(sheet.value(3, 1), f::Value(108.0));
  EXPECT_EQ(sheet.value(1, 3), f::Value(3.0));
  EXPECT_EQ(sheet.value(kRows - 1, 3), f::Value(28.0));
  // Saved again, each cell's tokens are its own: the same file as before.
  sheet.set_value(2, 0, f::Value(3.0));
  EXPECT_EQ(save_workbook(*book), save_workbook(*original));
}

// The same edits on a workbook whose cells each hold their own tree (as
// typed) and on the loaded one leave the same formulas and values.
TEST(SharedFormulas, StructuralEditsMoveEachCellsReferences) {
  const auto typed = filled_book();
  const auto loaded = reloaded(*typed);
  for (m::Workbook* book : {typed.get(), loaded.get()}) {
    m::Worksheet& sheet = book->sheet(0);
    sheet.insert_rows(2, 2);
    sheet.insert_columns(0, 1);
    sheet.delete_rows(0, 1);
    sheet.delete_cells(m::CellRange{3, 1, 4, 1}, true);
    sheet.set_value(0, 1, f::Value(50.0));
  }
  const m::Worksheet& expected = typed->sheet(0);
  const m::Worksheet& sheet = loaded->sheet(0);
  EXPECT_EQ(sheet.formula_text(5, 2), "=B4*2+#REF!");
  for (int row = 0; row < kRows + 2; ++row) {
    for (int column = 0; column < 5; ++column) {
      EXPECT_EQ(sheet.formula_text(row, column), expected.formula_text(row, column)) << row << "," << column;
      EXPECT_EQ(sheet.value(row, column), expected.value(row, column)) << row << "," << column;
    }
  }
}

TEST(SharedFormulas, CopiedAndRenamedSheetsKeepEachCellsFormula) {
  const auto book = reloaded(*filled_book());
  m::Worksheet& copy = book->copy_sheet(book->sheet(0), "Copie", std::nullopt);
  book->rename_sheet(book->sheet(0).id(), "Source");
  for (int row = 0; row < kRows; ++row) {
    EXPECT_EQ(copy.formula_text(row, 1), row_text("=A", row, "*2+$C$1"));
    EXPECT_EQ(copy.value(row, 3), f::Value((row + 1) * (row + 2) / 2.0));
  }
  copy.set_value(kRows - 1, 0, f::Value(0.0));
  EXPECT_EQ(copy.value(kRows - 1, 3), f::Value(15.0));
  EXPECT_EQ(book->sheet(0).value(kRows - 1, 3), f::Value(21.0));
}

}  // namespace
}  // namespace engine::xls
