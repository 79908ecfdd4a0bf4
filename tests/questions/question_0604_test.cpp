// Question 604: the transposed table in A9:E12, compared cell by cell as text.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

// The answer the lesson shows: the values of A3:D7 pasted transposed.
constexpr const char* kTransposee = "Range(\"A3:D7\").Copy: Range(\"A9\").PasteSpecial Paste:=xlPasteValues, Transpose:=True";

class Question604 : public ExerciseQuestion {
 protected:
  Question604() : ExerciseQuestion(604) {}
};

TEST_F(Question604, CodesForTheBlock) {
  prepare();
  struct Case {
    const char* statements;
    const char* code;
  } cases[] = {
      {kTransposee, ""},
      {"Range(\"B10\").ClearContents", "A"},  // the single space lost
      {"Range(\"B10\").Value = \" \"", ""},
      {"Range(\"A10\").Value = 1: Range(\"A10\").NumberFormat = \"00\"", "A"},  // shows 01, reads 1
      {"Range(\"A10\").Value = \"'01\"", ""},
      {"Range(\"C10\").Formula = \"=100+25\"", ""},  // the value is compared, not the formula
      {"Range(\"C9\").Value = \"France\"", "A"},
      {"Range(\"C9\").Value = \"France.\": Range(\"E12\").Value = 384", "A"},
      {"Range(\"E12\").Value = 385: Range(\"A9\").Value = \"x\"", "A"},
      {"Range(\"E12\").Value = \"=1/0\"", "AA"},  // read before the difference of A9 is seen
  };
  for (const Case& c : cases) EXPECT_EQ(check_after(c.statements), c.code) << c.statements;
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question604, TheTableCopiedWithoutSwappingIsWrong) {
  prepare();
  EXPECT_EQ(check(), "A") << "the block is empty as delivered";
  EXPECT_EQ(check_after("Range(\"A3:D7\").Copy Destination:=Range(\"A9\")"), "A");
}

}  // namespace
}  // namespace d72506::testing
