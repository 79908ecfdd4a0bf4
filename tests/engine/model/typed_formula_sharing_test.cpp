// Formulas typed down a column or across a row share one tree: each cell
// must still show, compute and move exactly as if it held its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/workbook.hpp"

namespace engine::model {
namespace {

constexpr int kRows = 12;
constexpr int kColumns = 9;

// Column B..I formulas of 1-based row n, several reading alike from row to row.
std::vector<std::string> formulas_of_row(int n) {
  const std::string r = std::to_string(n);
  return {"=A" + r + "*2",
          "=SUM(A" + r + ":$A$3)",
          "= $A$1 + A" + r + " +A$2",
          "=SUM(A:A)-" + r,
          "=IF(A" + r + ">5,\"grand\",B" + r + ")",
          "=ROW()+COLUMN()",
          "=SUM(A" + r + ":C" + r + ",Autre!A" + r + ")",
          "=A" + std::to_string(n + 1) + "-B" + r};
}

// The same sheet typed top-down (each formula can take the tree of the one
// above) and bottom-up (there is nothing above yet: every cell its own tree).
class TypedFormulaSharing : public ::testing::Test {
 protected:
  TypedFormulaSharing() {
    for (int row = 0; row < kRows; ++row) {
      for (Worksheet* sheet : {&down, &up}) sheet->set_value(row, 0, formula::Value(row * 3.0 - 4));
      other.set_value(row, 0, formula::Value(row * 1.5));
    }
    for (int row = 0; row < kRows; ++row) type_row(down, row);
    for (int row = kRows - 1; row >= 0; --row) type_row(up, row);
    // Across row 15, each cell reading the cell above it.
    for (int column = 1; column < kColumns; ++column)
      down.enter(15, column, "=" + formula::column_name(column) + "14*2");
    for (int column = kColumns - 1; column >= 1; --column)
      up.enter(15, column, "=" + formula::column_name(column) + "14*2");
  }

  static void type_row(Worksheet& sheet, int row) {
    const auto formulas = formulas_of_row(row + 1);
    for (std::size_t i = 0; i < formulas.size(); ++i) sheet.enter(row, static_cast<int>(i) + 1, formulas[i]);
  }

  void expect_same_cells(const char* step) const {
    for (int row = 0; row < kRows + 8; ++row) {
      for (int column = 0; column < kColumns + 2; ++column) {
        SCOPED_TRACE(std::string(step) + " at row " + std::to_string(row) + ", column " + std::to_string(column));
        EXPECT_EQ(down.formula_text(row, column), up.formula_text(row, column));
        EXPECT_EQ(down.value(row, column), up.value(row, column));
      }
    }
  }

  void on_both(const std::function<void(Worksheet&)>& edit) {
    edit(down);
    edit(up);
  }

  Workbook book{"partage.xls"};
  Worksheet& down = book.add_sheet("Down");
  Worksheet& up = book.add_sheet("Up");
  Worksheet& other = book.add_sheet("Autre");
};

TEST_F(TypedFormulaSharing, AFilledColumnIsOneTree) {
  EXPECT_EQ(down.find_cell(3, 1)->formula, down.find_cell(9, 1)->formula);
  EXPECT_EQ(down.find_cell(15, 2)->formula, down.find_cell(15, 7)->formula);
  EXPECT_NE(up.find_cell(3, 1)->formula, up.find_cell(9, 1)->formula);
  EXPECT_EQ(down.formula_text(6, 3), "= $A$1 + A7 +A$2");
  EXPECT_EQ(down.formula_text(6, 2), "=SUM(A$3:$A7)");
  EXPECT_EQ(down.value(6, 6), formula::Value(14.0));
  EXPECT_EQ(down.value(6, 7), formula::Value(91.0));  // 14 + 28 + 40 + 9
  expect_same_cells("typed");
}

TEST_F(TypedFormulaSharing, CellsShowAndComputeAsTypedThroughEdits) {
  on_both([](Worksheet& s) { s.set_value(5, 0, formula::Value(100.0)); });
  expect_same_cells("a changed constant");
  other.set_value(7, 0, formula::Value(-20.0));
  expect_same_cells("a changed constant on another sheet");
  on_both([](Worksheet& s) { s.enter(6, 1, "=A7*3"); });
  expect_same_cells("another formula amid the column");
  on_both([](Worksheet& s) { s.enter(7, 1, "=A8*2"); });
  expect_same_cells("the column's formula typed again under another");
  on_both([](Worksheet& s) { s.clear_contents(CellRange::cell(8, 2)); });
  expect_same_cells("a cleared cell");
  on_both([](Worksheet& s) { s.insert_rows(4, 2); });
  expect_same_cells("rows inserted");
  on_both([](Worksheet& s) { s.delete_rows(1, 3); });
  expect_same_cells("rows deleted");
  on_both([](Worksheet& s) { s.insert_columns(2, 1); });
  expect_same_cells("a column inserted");
  on_both([](Worksheet& s) { s.enter(3, 10, "=B4+1"); });
  expect_same_cells("a formula typed where the rows moved");
}

TEST_F(TypedFormulaSharing, ACopiedSheetKeepsEveryCell) {
  Worksheet& copy = book.copy_sheet(down, "Copie", std::nullopt);
  down.enter(2, 0, "50");
  for (int row = 0; row < kRows; ++row)
    for (int column = 1; column < kColumns; ++column)
      EXPECT_EQ(copy.formula_text(row, column), up.formula_text(row, column)) << row << "," << column;
  EXPECT_EQ(copy.value(4, 1), up.value(4, 1));
  EXPECT_EQ(down.value(2, 1), formula::Value(100.0));
}

}  // namespace
}  // namespace engine::model
