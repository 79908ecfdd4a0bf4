// How a sheet keeps its cells: entered in any order, found again, visited
// in row-major order, moved by column edits, dropped when emptied.
#include <gtest/gtest.h>

#include <span>
#include <tuple>
#include <vector>

#include "engine/model/workbook.hpp"
#include "tests/platform/com/raised.hpp"

namespace engine::model {
namespace {

using platform::com::testing_support::raised;
using Visited = std::vector<std::tuple<int, int, formula::Value>>;

Visited visit(const Worksheet& sheet, const CellRange& range) {
  Visited seen;
  sheet.for_each_cell(range, [&](int row, int column, const Cell& cell) { seen.emplace_back(row, column, cell.value); });
  return seen;
}

TEST(CellStorage, CellsEnteredOutOfOrderAreVisitedRowByRowLeftToRight) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  for (const int column : {200, 3, 255, 0, 17, 4})
    sheet.set_value(5, column, formula::Value(column));
  sheet.set_value(2, 9, formula::Value("above"));
  EXPECT_EQ(sheet.cell_count(), 7u);
  EXPECT_EQ(visit(sheet, CellRange{0, 0, 65535, 255}),
            (Visited{{2, 9, "above"}, {5, 0, 0}, {5, 3, 3}, {5, 4, 4}, {5, 17, 17}, {5, 200, 200}, {5, 255, 255}}));
  EXPECT_EQ(visit(sheet, CellRange{5, 4, 5, 200}), (Visited{{5, 4, 4}, {5, 17, 17}, {5, 200, 200}}));
  EXPECT_EQ(sheet.value(5, 17), formula::Value(17));
  EXPECT_EQ(sheet.find_cell(5, 16), nullptr);
  EXPECT_EQ(sheet.find_cell(4, 17), nullptr);
}

TEST(CellStorage, ClearingACellInTheMiddleOfARowKeepsItsNeighbours) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  for (int column = 0; column < 5; ++column) sheet.set_value(0, column, formula::Value(column * 10));
  sheet.set_formula(1, 0, "=SUM(A1:E1)");
  sheet.clear_contents(CellRange::cell(0, 2));
  EXPECT_EQ(sheet.find_cell(0, 2), nullptr);
  EXPECT_EQ(sheet.cell_count(), 5u);
  EXPECT_EQ(visit(sheet, CellRange{0, 0, 0, 255}), (Visited{{0, 0, 0}, {0, 1, 10}, {0, 3, 30}, {0, 4, 40}}));
  EXPECT_EQ(sheet.value(1, 0), formula::Value(80.0));
  sheet.clear_contents(CellRange{0, 0, 0, 255});
  EXPECT_EQ(sheet.value(1, 0), formula::Value(0.0));
  EXPECT_EQ(sheet.used_range(), CellRange::cell(1, 0));
}

TEST(CellStorage, EntriesReplaceInPlaceAndEmptyingDropsTheCell) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.set_value(0, 0, formula::Value(1.0));
  sheet.set_formula(0, 1, "=A1*2");
  sheet.set_formula(0, 2, "=B1+1");
  EXPECT_EQ(sheet.value(0, 2), formula::Value(3.0));
  sheet.set_value(0, 1, formula::Value(5.0));  // the formula gives way to a constant
  EXPECT_EQ(sheet.value(0, 2), formula::Value(6.0));
  sheet.set_value(0, 0, formula::Value(100.0));
  EXPECT_EQ(sheet.value(0, 1), formula::Value(5.0));
  EXPECT_EQ(sheet.cell_count(), 3u);
  sheet.set_value(0, 1, formula::Value());  // emptied: gone, and read as 0
  EXPECT_EQ(sheet.find_cell(0, 1), nullptr);
  EXPECT_EQ(sheet.value(0, 2), formula::Value(1.0));
  sheet.set_value(7, 7, formula::Value());  // emptying nothing makes nothing
  EXPECT_EQ(sheet.find_cell(7, 7), nullptr);
  EXPECT_EQ(sheet.cell_count(), 2u);
}

// Cells holding a format alone do not widen the used range, wherever they
// lie in their row; the row walk gives the cells the cell walk gives,
// formatted empty ones included, and skips rows with none in the range.
TEST(CellStorage, FormattedEmptyCellsStayOutOfTheUsedRangeAndRowsWalkAsCells) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  const auto bold = [](CellFormat& format) { format.font.bold = true; };
  sheet.change_format(CellRange{1, 0, 1, 9}, bold);
  sheet.set_value(1, 3, formula::Value(1));
  sheet.set_value(1, 5, formula::Value(2));
  sheet.set_value(4, 2, formula::Value("x"));
  sheet.set_value(6, 8, formula::Value(3));
  sheet.change_format(CellRange::cell(9, 1), bold);
  EXPECT_EQ(sheet.used_range(), (CellRange{1, 2, 6, 8}));

  Visited by_rows;
  std::vector<int> rows;
  sheet.for_each_row(CellRange{0, 1, 9, 4}, [&](int row, std::span<const CellRow::value_type> cells) {
    rows.push_back(row);
    for (const auto& [column, cell] : cells) by_rows.emplace_back(row, column, cell.value);
  });
  EXPECT_EQ(rows, (std::vector<int>{1, 4, 9}));
  EXPECT_EQ(by_rows, visit(sheet, CellRange{0, 1, 9, 4}));
  EXPECT_EQ(by_rows.size(), 6u);

  sheet.clear_contents(CellRange{1, 0, 6, 255});
  EXPECT_EQ(sheet.used_range(), std::nullopt);
}

TEST(CellStorage, ColumnEditsMoveEveryCellOfEachRowAndFormulasFollow) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  Worksheet& summary = book.add_sheet("Synthèse");
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 6; ++column) sheet.set_value(row, column, formula::Value(row * 100 + column));
  summary.set_formula(0, 0, "=SUM(Feuil1!F1:F3)");
  EXPECT_EQ(summary.value(0, 0), formula::Value(315.0));

  sheet.insert_columns(2, 2);  // C:F pushed to E:H
  EXPECT_EQ(sheet.cell_count(), 18u);
  EXPECT_EQ(visit(sheet, CellRange{1, 0, 1, 255}),
            (Visited{{1, 0, 100}, {1, 1, 101}, {1, 4, 102}, {1, 5, 103}, {1, 6, 104}, {1, 7, 105}}));
  EXPECT_EQ(summary.formula_text(0, 0), "=SUM(Feuil1!H1:H3)");

  sheet.delete_columns(0, 5);  // A:E gone, F:H become A:C
  EXPECT_EQ(sheet.cell_count(), 9u);
  EXPECT_EQ(visit(sheet, CellRange{2, 0, 2, 255}), (Visited{{2, 0, 203}, {2, 1, 204}, {2, 2, 205}}));
  EXPECT_EQ(summary.formula_text(0, 0), "=SUM(Feuil1!C1:C3)");
  sheet.set_value(0, 2, formula::Value(1000));
  EXPECT_EQ(summary.value(0, 0), formula::Value(1310.0));

  // Pushing B and C off the grid is refused, and nothing moves.
  EXPECT_EQ(raised([&] { sheet.insert_columns(0, 254); }), platform::com::err::ApplicationDefined);
  EXPECT_EQ(visit(sheet, CellRange{2, 0, 2, 255}), (Visited{{2, 0, 203}, {2, 1, 204}, {2, 2, 205}}));
}

TEST(CellStorage, ACopiedSheetHoldsItsOwnCells) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  for (int column = 255; column >= 0; column -= 51) sheet.set_value(7, column, formula::Value(column));
  Worksheet& copy = book.copy_sheet(sheet, "Feuil1 (2)", std::nullopt);
  sheet.set_value(7, 0, formula::Value("changed"));
  EXPECT_EQ(copy.value(7, 0), formula::Value(0));
  EXPECT_EQ(copy.cell_count(), sheet.cell_count());
  EXPECT_EQ(visit(copy, CellRange{7, 200, 7, 255}), (Visited{{7, 204, 204}, {7, 255, 255}}));
}

}  // namespace
}  // namespace engine::model
