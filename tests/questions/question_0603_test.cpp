// Question 603: the name "Zone" redefined, the table around it intact.
#include <gtest/gtest.h>

#include "platform/com/traps.hpp"
#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

constexpr const char* kRedefinie = "Names.Add Name:=\"Zone\", RefersTo:=\"='Trimestre 1'!$C$4:$C$7\"";

class Question603 : public ExerciseQuestion {
 protected:
  Question603() : ExerciseQuestion(603) {}
};

TEST_F(Question603, CodesForTheNameAndTheTable) {
  struct Case {
    const char* statements;
    const char* code;
  } cases[] = {
      {"Range(\"C6\").ClearContents", "A"},
      {"Range(\"C6\").Value = \"=1/0\"", "AA"},
      {"Range(\"C6\").Value = 97", "B"},
      {kRedefinie, ""},
      {"Range(\"C8\").Value = 5: Range(\"C8\").ClearContents", ""},  // C8 is not examined
      {"Range(\"B3\").Value = 1: Range(\"B3\").NumberFormat = \"00\"", "C"},  // shows 01, reads 1
      {"Range(\"B3\").Value = \"'01\"", ""},
      {"Range(\"B4\").ClearContents", "C"},
      {"Range(\"B4\").Value = \" \"", ""},
      {"Range(\"A2\").Value = \"=1/0\"", "AA"},
      {"Range(\"A2\").ClearContents: Range(\"A8\").Comment.Text \"Ne pas supprimer ce commentaire.\"", "C"},
      {"Range(\"A8\").ClearComments", "C"},
      {"Range(\"E3\").ClearComments", "B"},
  };
  prepare();
  EXPECT_EQ(check(), "B") << "the name left on C4:C8";
  for (const Case& c : cases) EXPECT_EQ(check_after(c.statements), c.code) << c.statements;
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question603, TheOldReferenceIsRecognisedInAnyLetterCase) {
  prepare();
  act(app(), "Names.Add Name:=\"Zone\", RefersTo:=\"='TRIMESTRE 1'!$c$4:$c$8\"");
  EXPECT_EQ(check(), "B");
}

TEST_F(Question603, TheNameDeletedFailsTheCheckWithItsReport) {
  prepare();
  act(app(), "Names(\"Zone\").Delete");
  const com::Error e = check_failure();
  EXPECT_FALSE(com::is_conversion_error(e)) << e.number();
  EXPECT_TRUE(reported_by(e, "Question0603", "TestePoint")) << e.source();
}

}  // namespace
}  // namespace d72506::testing
