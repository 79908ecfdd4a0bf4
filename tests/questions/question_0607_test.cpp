// Question 607: the rows of the table hidden, not grouped, nothing else hidden.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question607 : public ExerciseQuestion {
 protected:
  Question607() : ExerciseQuestion(607) {}
};

TEST_F(Question607, CodesForTheRows) {
  prepare();
  struct Case {
    const char* statements;
    const char* code;
  } cases[] = {
      {"Rows(\"9:12\").Hidden = True", ""},
      {"Rows(21).Hidden = True", ""},  // beyond the rows examined
      {"Rows(13).Hidden = True", "D"},
      {"Rows(13).Hidden = False: Rows(1).Hidden = True", "D"},
      {"Rows(1).Hidden = False: Rows(12).Hidden = False", "B"},
      {"Rows(12).Hidden = True: Range(\"B10\").ClearContents: Range(\"A9\").ClearContents", ""},
      {"Range(\"C11\").ClearContents", "A"},
      {"Range(\"C11\").Value = 0", ""},  // a zero fills the cell
      {"Range(\"C11\").Value = \"=1/0\"", ""},  // an error value is not empty either
  };
  for (const Case& c : cases) EXPECT_EQ(check_after(c.statements), c.code) << c.statements;
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question607, RowsFoldedIntoAnOutlineGroupAreNotTheAnswer) {
  prepare();
  EXPECT_EQ(check(), "B") << "nothing hidden as delivered";
  EXPECT_EQ(check_after("Rows(\"9:12\").Group: ActiveSheet.Outline.ShowLevels RowLevels:=1"), "C");
}

TEST_F(Question607, TheClearedTableIsSeenBeforeTheHiddenRows) {
  prepare();
  EXPECT_EQ(check_after("Range(\"A9:E12\").ClearContents: Rows(\"9:12\").Hidden = True"), "A");
}

}  // namespace
}  // namespace d72506::testing
