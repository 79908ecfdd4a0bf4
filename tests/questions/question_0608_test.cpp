// Question 608: the subtotals removed from the list of the first sheet.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question608 : public ExerciseQuestion {
 protected:
  Question608() : ExerciseQuestion(608) {}
};

// As delivered, the subtotals put totals at rows 10, 16 and 22 and the
// grand total at 23; once removed, those rows hold France, UK and nothing.
TEST_F(Question608, SubtotalsLeftOrRemoved) {
  prepare();
  EXPECT_EQ(check(), "A") << "as delivered";
  EXPECT_EQ(check_after("ActiveSheet.Outline.ShowLevels RowLevels:=2"), "A") << "detail hidden, totals kept";
  EXPECT_EQ(check_after("Range(\"A3\").RemoveSubtotal"), "");
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question608, ATotalRowLeftWithoutOutline) {
  prepare();
  act(app(), "Range(\"A3\").RemoveSubtotal");
  struct Case {
    const char* statements;
    const char* code;
  } cases[] = {
      {"Range(\"A16\").Value = \"TOTAL UK\"", "A"},  // any letter case
      {"Range(\"A16\").Value = \"UK\": Range(\"A10\").Value = \"Totalement\"", "A"},  // five letters count
      {"Range(\"A10\").Value = \"Tota\"", ""},
      {"Range(\"A23\").Value = \"Total général\"", "A"},  // A23 read though A22 is fine
      {"Range(\"A23\").ClearContents: Range(\"A22\").Value = 1", ""},
      {"Range(\"A22\").Value = \"=1/0\"", "AA"},
  };
  for (const Case& c : cases) EXPECT_EQ(check_after(c.statements), c.code) << c.statements;
}

TEST_F(Question608, OnlyRowsFourToTwentyFourMayNotBeOutlined) {
  prepare();
  act(app(), "Range(\"A3\").RemoveSubtotal");
  EXPECT_EQ(check_after("Rows(\"25:26\").Group"), "");
  EXPECT_EQ(check_after("Rows(\"24:25\").Group"), "A");
}

TEST_F(Question608, TheFirstSheetOfTheActiveWorkbookIsExamined) {
  prepare();
  EXPECT_EQ(check_after("Workbooks.Add"), "") << "a blank workbook, though the working copy keeps its subtotals";
}

}  // namespace
}  // namespace d72506::testing
