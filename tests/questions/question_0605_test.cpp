// Question 605: the AVERAGE formula of A2 and its value.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question605 : public ExerciseQuestion {
 protected:
  Question605() : ExerciseQuestion(605) {}
};

TEST_F(Question605, CodesForWhatA2Holds) {
  prepare();
  struct Case {
    const char* statements;
    const char* code;
  } cases[] = {
      {"Range(\"A2\").ClearContents", "A"},
      {"Range(\"A2\").Formula = \"=AVERAGE(B4:D4,B6:D6)\"", ""},
      {"Range(\"A2\").Formula = \"=+AVERAGE(B4:D4,B6:D6)\"", ""},
      {"Range(\"A2\").Formula = \"=SUM(B4:D4,B6:D6)/5\"", "C"},  // 117 by another way
      {"Range(\"A2\").Formula = \"=AVERAGE(116,117,117)\"", "D"},  // 116.666..., no tolerance
      {"Range(\"A2\").Formula = \"=AVERAGE(B4:D6)\"", "B"},
      {"Range(\"A2\").Formula = \"=100+20\"", "B"},
      {"Range(\"A2\").Value = 120", "B"},
      {"Range(\"A2\").Value = 117", "D"},
      {"Range(\"A2\").Value = \"cent dix-sept\"", "D"},
      {"Range(\"A2\").Formula = \"=AVERAGE(B4:D4,B6:D6)\": Range(\"B4\").Value = 0", "D"},
      {"Range(\"B4\").Value = \" \": Range(\"A2\").Formula = \"=1/0\"", "AA"},
  };
  for (const Case& c : cases) EXPECT_EQ(check_after(c.statements), c.code) << c.statements;
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

// The value goes through its text form and back under the same regional
// settings: a decimal comma must not turn 116,5 into something else.
TEST_F(Question605, AFractionalValueUnderFrenchSettingsIsANumber) {
  const com::Regional before = com::regional();
  com::set_regional(*com::Regional::named("fr-FR"));
  prepare();
  EXPECT_EQ(check_after("Range(\"A2\").Formula = \"=AVERAGE(116,117)\""), "D");
  EXPECT_EQ(check_after("Range(\"A2\").Formula = \"=AVERAGE(117,117)\""), "");
  com::set_regional(before);
}

}  // namespace
}  // namespace d72506::testing
