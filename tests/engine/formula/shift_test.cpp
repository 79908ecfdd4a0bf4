#include <gtest/gtest.h>

#include "engine/formula/formula.hpp"

namespace engine::formula {
namespace {

std::string rows(const std::string& text, int at, int count, const char* formula_sheet = "S",
                 const char* edited = "S") {
  return print(*shift_rows(parse(text), formula_sheet, edited, at, count));
}

std::string columns(const std::string& text, int at, int count) {
  return print(*shift_columns(parse(text), "S", "S", at, count));
}

TEST(Shift, InsertedRowsMoveGrowOrLeaveReferences) {
  EXPECT_EQ(rows("=A5+$A$5", 2, 3), "=A8+$A$8");            // below the insertion: moves
  EXPECT_EQ(rows("=A1", 2, 3), "=A1");                       // above: stays
  EXPECT_EQ(rows("=SUM(A2:A6)", 3, 2), "=SUM(A2:A8)");      // straddles: grows
  EXPECT_EQ(rows("=SUM(A4:A6)", 3, 2), "=SUM(A6:A8)");      // starts at the insertion: moves
  EXPECT_EQ(rows("=SUM(A:A)+SUM(3:4)", 1, 1), "=SUM(A:A)+SUM(4:5)");
  EXPECT_EQ(rows("=A65535", 10, 5), "=#REF!");               // pushed off the sheet
}

TEST(Shift, DeletedRowsShrinkOrBecomeRef) {
  EXPECT_EQ(rows("=A5", 1, -2), "=A3");
  EXPECT_EQ(rows("=A3+1", 1, -2), "=#REF!+1");
  EXPECT_EQ(rows("=SUM(A2:A8)", 2, -3), "=SUM(A2:A5)");
  EXPECT_EQ(rows("=SUM(A3:A4)", 1, -5), "=SUM(#REF!)");
  EXPECT_EQ(rows("=SUM(A3:A9)", 1, -3), "=SUM(A2:A6)");      // top cut off
  EXPECT_EQ(rows("=SUM(Other!A3)", 1, -5), "=SUM(Other!A3)");
}

TEST(Shift, OnlyReferencesIntoTheEditedSheetMove) {
  EXPECT_EQ(rows("=A5+S!A5+'Other sheet'!A5", 0, 1, "Other sheet", "S"), "=A5+S!A6+'Other sheet'!A5");
  EXPECT_EQ(rows("=A5+s!A5", 0, 1, "S", "S"), "=A6+s!A6");
  EXPECT_EQ(rows("=Other!A5", 1, -9, "S", "Other"), "=Other!#REF!");
}

TEST(Shift, ColumnsMoveLikeRows) {
  EXPECT_EQ(columns("=SUM(B4:D4)", 2, 1), "=SUM(B4:E4)");
  EXPECT_EQ(columns("=C1+SUM(4:4)", 0, -2), "=A1+SUM(4:4)");
  EXPECT_EQ(columns("=SUM(B:C)", 1, -2), "=SUM(#REF!)");
}

TEST(Shift, KeepsTheSameFormulaWhenNothingMoves) {
  const auto f = parse("=A1+Zone");
  EXPECT_EQ(shift_rows(f, "S", "S", 5, 3), f);
  EXPECT_EQ(shift_rows(f, "S", "S", 0, 0), f);
}

}  // namespace
}  // namespace engine::formula
