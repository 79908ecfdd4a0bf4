// Question 609: the window of the exercise workbook hidden, the workbook open.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question609 : public ExerciseQuestion {
 protected:
  Question609() : ExerciseQuestion(609) {}
};

TEST_F(Question609, TheWindowShownHiddenOrGone) {
  prepare();
  struct Case {
    const char* statements;
    const char* code;
  } cases[] = {
      {"", "B"},
      {"ActiveWindow.WindowState = xlMinimized", "B"},  // minimised is still visible
      {"Windows(\"THOR INTERNATIONAL.XLS\").Visible = False", ""},
      {"Workbooks.Add", ""},  // another workbook active changes nothing
      {"Windows(\"Thor International.xls\").Visible = True", "B"},
      {"Workbooks(\"Thor International.xls\").Close SaveChanges:=False", "A"},
  };
  for (const Case& c : cases) EXPECT_EQ(check_after(c.statements), c.code) << c.statements;
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question609, NoWorkbookLeftAtAllIsNoWindow) {
  prepare();
  EXPECT_EQ(check_after("ActiveWindow.Visible = False: Workbooks(1).Close SaveChanges:=False"), "A");
}

}  // namespace
}  // namespace d72506::testing
