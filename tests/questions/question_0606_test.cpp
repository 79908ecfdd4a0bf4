// Question 606: the custom text format of D1.
#include <gtest/gtest.h>

#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question606 : public ExerciseQuestion {
 protected:
  Question606() : ExerciseQuestion(606) {}
};

TEST_F(Question606, CodesForTheFormatAndTheContent) {
  prepare();
  struct Case {
    const char* statements;
    const char* code;
  } cases[] = {
      {"Range(\"D1\").NumberFormat = \"General\"", "B"},  // as delivered, apart from the format
      {"Range(\"D1\").NumberFormat = \"@\"\"-52\"\"\"", ""},
      {"Range(\"D1\").NumberFormat = \"@-\"\"52\"\"\"", ""},
      {"Range(\"D1\").NumberFormat = \"@\\-52\"", "B"},  // the same display, not the lesson's format
      {"Range(\"D1\").NumberFormat = \"@ \"\"-52\"\"\"", "B"},
      {"Range(\"D1\").Value = \"'09854895-52\"", "A"},
      {"Range(\"D1\").NumberFormat = \"@\"\"-52\"\"\"", "A"},  // typed, whatever the format
      {"Range(\"D1\").ClearContents: Range(\"D1\").NumberFormat = \"@\"\"-52\"\"\"", ""},
      {"Range(\"D1\").Value = \"=1/0\"", "AA"},
  };
  for (const Case& c : cases) EXPECT_EQ(check_after(c.statements), c.code) << c.statements;
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question606, TheDeliveredCellNeedsTheFormat) {
  prepare();
  EXPECT_EQ(check(), "B");
}

}  // namespace
}  // namespace d72506::testing
