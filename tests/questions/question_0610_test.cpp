// Question 610: rows 4 to 6 of "Trimestre 1" grouped on their own, collapsed.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question610 : public ExerciseQuestion {
 protected:
  Question610() : ExerciseQuestion(610) {}

  // The code for `rows` of "Trimestre 1" grouped `times` times, collapsed
  // or not; the rows are ungrouped and shown again afterwards.
  std::string grouped(const std::string& rows, bool collapsed, int times = 1) {
    const std::string range = "Sheets(\"Trimestre 1\").Rows(\"" + rows + "\")";
    act(app(), "Sheets(\"Trimestre 1\").Activate");
    for (int i = 0; i < times; ++i) act(app(), range + ".Group");
    if (collapsed) act(app(), "ActiveSheet.Outline.ShowLevels RowLevels:=1");
    const std::string code = check();
    for (int i = 0; i < times; ++i) act(app(), range + ".Ungroup");
    act(app(), range + ".Hidden = False");  // ungrouping a collapsed group leaves it hidden
    return code;
  }
};

TEST_F(Question610, WhichRowsAreGroupedAndWhetherTheGroupIsCollapsed) {
  prepare();
  EXPECT_EQ(check(), "A") << "as delivered";
  EXPECT_EQ(grouped("4:6", true), "");
  EXPECT_EQ(grouped("4:6", false), "D");
  EXPECT_EQ(grouped("3:7", true), "B");  // row 3 before row 7
  EXPECT_EQ(grouped("4:7", true), "C");
  EXPECT_EQ(grouped("4:5", true), "A");
  EXPECT_EQ(grouped("4:6", true, 2), "A");  // level 3
  EXPECT_EQ(grouped("4:6", true), "") << "ungrouping left nothing behind";
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question610, TheCheckLeavesTrimestre1Active) {
  prepare();
  act(app(), "Sheets(\"Trimestre 1\").Activate: Rows(\"4:6\").Group: ActiveSheet.Outline.ShowLevels RowLevels:=1");
  act(app(), "Sheets(\"détail\").Activate");
  EXPECT_EQ(check(), "");
  EXPECT_EQ(com::cstr(evaluate(app(), "ActiveSheet.Name")), "Trimestre 1");
}

TEST_F(Question610, WithoutItsSheetTheCheckFailsWithItsReport) {
  prepare();
  act(app(), "Sheets(\"Trimestre 1\").Name = \"T1\"");
  const com::Error e = check_failure();
  EXPECT_EQ(e.number(), com::err::SubscriptOutOfRange);
  EXPECT_TRUE(reported_by(e, "Question0610", "TestePoint")) << e.source();
}

}  // namespace
}  // namespace d72506::testing
