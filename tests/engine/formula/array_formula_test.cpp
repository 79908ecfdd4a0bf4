// Formulas entered with Ctrl+Shift+Enter, computed once as arrays and spread
// over the cells they were entered in. Each expected value is Excel 2003's.
#include <gtest/gtest.h>

#include "grid.hpp"

namespace engine::formula::testing {
namespace {

using Values = std::vector<Value>;

// A1:A5 = 1..5, B1:B5 = 10..50, C1 = "x".
Grid table() {
  Grid grid;
  for (int row = 1; row <= 5; ++row) {
    grid.set(cell_name('A', row), std::to_string(row));
    grid.set(cell_name('B', row), std::to_string(row * 10));
  }
  grid.set("C1", "x");
  return grid;
}

TEST(ArrayFormulas, AggregatesOverComputedArrays) {
  const Grid grid = table();
  EXPECT_EQ(grid.eval_array("=SUM(A1:A3*B1:B3)", 1, 1), Values{140.0});
  EXPECT_EQ(grid.eval_array("=MAX(IF(A1:A5>2,B1:B5))", 1, 1), Values{50.0});
  EXPECT_EQ(grid.eval_array("=MIN(IF(A1:A5>2,B1:B5))", 1, 1), Values{30.0});
  // FALSE for the rows the condition leaves out is not counted.
  EXPECT_EQ(grid.eval_array("=COUNT(IF(A1:A5>3,B1:B5))", 1, 1), Values{2.0});
  EXPECT_EQ(grid.eval_array("=SUM(IF(A1:A5<>2,1,0))", 1, 1), Values{4.0});
  EXPECT_EQ(grid.eval_array("=SUM(LEN(C1:C3))", 1, 1), Values{1.0});
  EXPECT_EQ(grid.eval_array("=AVERAGE(A1:A5-1)", 1, 1), Values{2.0});
  // The same formula entered normally intersects instead.
  EXPECT_EQ(grid.eval("=SUM(A1:A3*B1:B3)", "D2"), Value(40.0));
}

TEST(ArrayFormulas, ResultsSpreadOverTheirCells) {
  const Grid grid = table();
  EXPECT_EQ(grid.eval_array("=A1:A3*2", 3, 1), (Values{2.0, 4.0, 6.0}));
  EXPECT_EQ(grid.eval_array("=ROW(A1:A3)", 3, 1), (Values{1.0, 2.0, 3.0}));
  EXPECT_EQ(grid.eval_array("=COLUMN(A1:C1)", 1, 3), (Values{1.0, 2.0, 3.0}));
  EXPECT_EQ(grid.eval_array("=TRANSPOSE(A1:A3)", 1, 3), (Values{1.0, 2.0, 3.0}));
  EXPECT_EQ(grid.eval_array("=TRANSPOSE({1,2;3,4;5,6})", 2, 3), (Values{1.0, 3.0, 5.0, 2.0, 4.0, 6.0}));
  EXPECT_EQ(grid.eval_array("={1,2;3,4}", 2, 2), (Values{1.0, 2.0, 3.0, 4.0}));
  EXPECT_EQ(grid.eval_array("=IF(A1:A4>2,\"big\",\"small\")", 4, 1),
            (Values{"small", "small", "big", "big"}));
  // Empty cells read as 0, as in a formula entered normally.
  EXPECT_EQ(grid.eval_array("=D1:D2", 2, 1), (Values{0.0, 0.0}));
}

TEST(ArrayFormulas, ShapesThatDoNotFitTheirCells) {
  const Grid grid = table();
  // Larger: the top-left part.
  EXPECT_EQ(grid.eval_array("=A1:A5", 2, 1), (Values{1.0, 2.0}));
  // Smaller: #N/A beyond it.
  EXPECT_EQ(grid.eval_array("=A1:A2", 3, 1), (Values{1.0, 2.0, CellError::NA}));
  EXPECT_EQ(grid.eval_array("={1,2;3,4}", 3, 3),
            (Values{1.0, 2.0, CellError::NA, 3.0, 4.0, CellError::NA, CellError::NA, CellError::NA, CellError::NA}));
  // A single column repeats across, a single row down, a single value everywhere.
  EXPECT_EQ(grid.eval_array("=A1:A2", 2, 2), (Values{1.0, 1.0, 2.0, 2.0}));
  EXPECT_EQ(grid.eval_array("={1,2}", 2, 2), (Values{1.0, 2.0, 1.0, 2.0}));
  EXPECT_EQ(grid.eval_array("=SUM(A1:A5)", 2, 1), (Values{15.0, 15.0}));
  // Operands of different shapes stretch as Excel stretches them.
  EXPECT_EQ(grid.eval_array("=A1:A2+{10,20}", 2, 2), (Values{11.0, 21.0, 12.0, 22.0}));
  EXPECT_EQ(grid.eval_array("=A1:A3+{1;2}", 3, 1), (Values{2.0, 4.0, CellError::NA}));
}

TEST(ArrayFormulas, ErrorsStayInTheirElements) {
  Grid grid = table();
  grid.set("A2", "#DIV/0!");
  EXPECT_EQ(grid.eval_array("=1/(A1:A3-1)", 3, 1), (Values{CellError::Div0, CellError::Div0, 0.5}));
  EXPECT_EQ(grid.eval_array("=IF(A1:A3>1,\"y\",\"n\")", 3, 1), (Values{"n", CellError::Div0, "y"}));
  EXPECT_EQ(grid.eval_array("=SUM(A1:A3*2)", 1, 1), Values{CellError::Div0});
  EXPECT_EQ(grid.eval_array("=IF(C1:C2,1,2)", 2, 1), (Values{CellError::Value, 2.0}));
  // A union cannot be read as one array.
  EXPECT_EQ(grid.eval_array("=(A1,B1)*1", 1, 1), Values{CellError::Value});
  // Whole columns are beyond the largest array, as Excel 2003 refuses them.
  EXPECT_EQ(grid.eval_array("=SUM(A:E*1)", 1, 1), Values{CellError::Num});
  EXPECT_EQ(grid.eval_array("=NOSUCH(A1:A2)", 2, 1), (Values{CellError::Name, CellError::Name}));
}

}  // namespace
}  // namespace engine::formula::testing
