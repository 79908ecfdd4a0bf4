#include <gtest/gtest.h>

#include "engine/formula/formula.hpp"

namespace engine::formula {
namespace {

// Whether `written`, read `rows` and `columns` away, is `typed`.
bool alike(const std::string& written, int rows, int columns, const std::string& typed) {
  return reads_alike_when_moved(parse(written)->root(), Offset{rows, columns}, parse(typed)->root());
}

TEST(ReadsAlikeWhenMoved, RelativeCoordinatesMoveAbsoluteOnesStay) {
  EXPECT_TRUE(alike("=A1*$C$1+SUM(B$1:B1)", 3, 0, "=A4*$C$1+SUM(B$1:B4)"));
  EXPECT_TRUE(alike("=$A1+A$1", 0, 2, "=$A1+C$1"));
  EXPECT_TRUE(alike("=SUM(2:3)+SUM(A:B)", 1, 2, "=SUM(3:4)+SUM(C:D)"));
  EXPECT_TRUE(alike("=Autre!A1+ROW()", 1, 0, "=Autre!A2+ROW()"));
  EXPECT_FALSE(alike("=A1*2", 1, 0, "=A1*2"));
  EXPECT_FALSE(alike("=$A$1", 1, 0, "=$A$2"));
  EXPECT_FALSE(alike("=Autre!A1", 1, 0, "=Feuil2!A2"));
}

TEST(ReadsAlikeWhenMoved, EverythingButTheCellsMustBeTheSame) {
  EXPECT_FALSE(alike("=A1+1", 1, 0, "=A2+2"));
  EXPECT_FALSE(alike("=A1+1", 1, 0, "=A2 +1"));
  EXPECT_FALSE(alike("=A1&\"a\"", 1, 0, "=A2&\"b\""));
  EXPECT_FALSE(alike("=SUM(A1)", 1, 0, "=sum(A2)"));
  EXPECT_FALSE(alike("=SUM(A1)", 1, 0, "=MAX(A2)"));
  EXPECT_FALSE(alike("=A1:A1", 1, 0, "=A2"));
  EXPECT_FALSE(alike("=A1+{1,2}", 1, 0, "=A2+{1,3}"));
  EXPECT_FALSE(alike("=A1+Taux", 1, 0, "=A2+Prix"));
  EXPECT_FALSE(alike("=A1+B1", 1, 0, "=A2-B2"));
  EXPECT_FALSE(alike("=A1", 1, 0, "=A2+0"));
  EXPECT_TRUE(alike("= A1 + Taux&{1,\"x\";TRUE,#N/A}", 1, 0, "= A2 + Taux&{1,\"x\";TRUE,#N/A}"));
}

// A mixed area whose corners cross as it moves prints another way than
// the one typed, which has its corners put in order; one moved off the
// grid is #REF! where the typed one is a reference.
TEST(ReadsAlikeWhenMoved, CrossedCornersAndCellsOffTheGridAreNotAlike) {
  EXPECT_TRUE(alike("=SUM(A5:$A$3)", 1, 0, "=SUM(A6:$A$3)"));
  EXPECT_FALSE(alike("=SUM(A2:$A$3)", 2, 0, "=SUM(A4:$A$3)"));
  EXPECT_FALSE(alike("=A2", -2, 0, "=#REF!"));
  EXPECT_FALSE(alike("=IV1", 0, 1, "=#REF!"));
}

}  // namespace
}  // namespace engine::formula
