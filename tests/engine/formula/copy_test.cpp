#include <gtest/gtest.h>

#include "engine/formula/formula.hpp"

namespace engine::formula {
namespace {

// Copies the formula between cells given in A1 notation.
std::string copied(const std::string& text, const std::string& from, const std::string& to, bool transposed = false) {
  const Reference a = *parse_reference(from), b = *parse_reference(to);
  return print(*copy_formula(*parse(text), {0, a.first.row, a.first.column}, {0, b.first.row, b.first.column},
                             transposed));
}

TEST(CopyFormula, PlainCopyMovesRelativeCoordinatesOnly) {
  EXPECT_EQ(copied("=A1*$A$1+$A1+A$1", "B1", "C3"), "=B3*$A$1+$A3+B$1");
  EXPECT_EQ(copied("=SUM(A1:B2)", "C3", "C4"), "=SUM(A2:B3)");
  EXPECT_EQ(copied("=SUM(2:3)+SUM(A:B)", "C3", "E4"), "=SUM(3:4)+SUM(C:D)");
  EXPECT_EQ(copied("=Autre!A1+'Trimestre 1'!$B$2", "A2", "B3"), "=Autre!B2+'Trimestre 1'!$B$2");
}

TEST(CopyFormula, ReferencesPushedOffTheGridBecomeRef) {
  EXPECT_EQ(copied("=A1+B2", "B2", "A1"), "=#REF!+A1");
  EXPECT_EQ(copied("=SUM(Autre!A1:A2)", "A2", "A1"), "=SUM(Autre!#REF!)");
  EXPECT_EQ(copied("=IV1", "A1", "B1"), "=#REF!");
}

// A tree shared by a filled range is written for its anchor (B2 here);
// the cell B5 holding it reads, copies and evaluates it as =A5*$C$1.
TEST(CopyFormula, ASharedTreeIsCopiedFromTheCellThatHoldsIt) {
  const auto shared = std::make_shared<const Formula>(parse("=A2*$C$1+SUM(A$1:A2)")->root(), Anchor{1, 1});
  EXPECT_EQ(print(*formula_at(shared, 4, 1)), "=A5*$C$1+SUM(A$1:A5)");
  EXPECT_FALSE(formula_at(shared, 4, 1)->anchor().has_value());
  EXPECT_EQ(print(*copy_formula(*shared, {0, 4, 1}, {0, 5, 3})), "=C6*$C$1+SUM(C$1:C6)");
  EXPECT_EQ(print(*copy_formula(*shared, {0, 4, 1}, {0, 1, 4}, true)), "=E1*$C$1+SUM(A$1:E1)");
  EXPECT_EQ(print(*formula_at(shared, 0, 0)), "=#REF!*$C$1+SUM(#REF!)");
}

TEST(CopyFormula, TransposedCopyTurnsOffsetsAcross) {
  // B7's total of the three cells above it, from B3:D7 transposed to A10:
  // B7 lands in E10 and the cells it read in B10:D10.
  EXPECT_EQ(copied("=SUM(B4:B6)", "B7", "E10", true), "=SUM(B10:D10)");
  // One row up and two columns left becomes one column left and two rows up.
  EXPECT_EQ(copied("=B6-C7", "D7", "E12", true), "=D10-E11");
  EXPECT_EQ(copied("=A1*$A$1", "B2", "A1", true), "=#REF!*$A$1");
  // A mixed reference turns its relative part only.
  EXPECT_EQ(copied("=$B4+B$4", "D3", "A12", true), "=$B10+B$4");
  // Three hundred rows below is three hundred columns to the right: off a
  // grid of 256 columns.
  EXPECT_EQ(copied("=A301", "A1", "A1", true), "=#REF!");
}

TEST(CopyFormula, TransposedWholeLinesTurnWhenRelative) {
  EXPECT_EQ(copied("=SUM(4:5)", "A3", "C1", true), "=SUM(D:E)");
  EXPECT_EQ(copied("=SUM(B:C)", "A1", "A3", true), "=SUM(4:5)");
  EXPECT_EQ(copied("=SUM($4:$5)+SUM($B:C)", "A3", "C1", true), "=SUM($4:$5)+SUM($B:E)");
}

}  // namespace
}  // namespace engine::formula
