// Question 601 and the frame it shares with every question, driven by
// member name as the controller drives them.
#include <gtest/gtest.h>

#include "module/fichiers_de_travail.hpp"
#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question601 : public ExerciseQuestion {
 protected:
  Question601() : ExerciseQuestion(601) {}
};

TEST_F(Question601, CodesForWhatTheTraineeTyped) {
  prepare();
  struct Case {
    const char* statement;
    const char* code;
  } cases[] = {
      {"Range(\"D1\").ClearContents", "A"},
      {"Range(\"D1\").Value = \"O9854895\"", "B"},
      {"Range(\"D1\").Value = \"o9854895\"", "D"},
      {"Range(\"D1\").Value = \"9854895\"", "C"},
      {"Range(\"D1\").Value = \"'9854895\"", "C"},
      {"Range(\"D1\").NumberFormat = \"00000000\"", "C"},  // shows 09854895, still a number
      {"Range(\"D1\").Value = \"'09854895\"", ""},
      {"Range(\"D1\").Value = True", "D"},
      {"Range(\"D1\").Value = \"'9854895 \"", "D"},
      {"Range(\"D1\").Value = \"=1/0\"", "AA"},
      {"Range(\"D1\").Value = \"'09854895\"", ""},  // corrected: the old code does not stay
  };
  for (const Case& c : cases) EXPECT_EQ(check_after(c.statement), c.code) << c.statement;
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question601, TheWorkbookGoneFailsTheCheckWithItsReport) {
  prepare();
  act(app(), "Workbooks(\"Thor International.xls\").Close SaveChanges:=False");
  const com::Error e = check_failure();
  EXPECT_EQ(e.number(), com::err::SubscriptOutOfRange);
  EXPECT_TRUE(reported_by(e, "Question0601", "TestePoint")) << e.source();
}

TEST_F(Question601, PreparationOpensAndActivatesTheWorkingCopy) {
  act(app(), "Workbooks.Add");
  prepare();
  EXPECT_EQ(com::cstr(evaluate(app(), "ActiveWorkbook.Name")), kWorkingCopy);
  EXPECT_EQ(question->get("PathDossierParDefaut"), Variant(world.working()));
}

TEST_F(Question601, PreparationWithoutTheWorkingCopyFailsWithItsReport) {
  stdfs::remove(world.working_path() / kWorkingCopy);
  try {
    prepare();
    FAIL() << "the preparation did not fail";
  } catch (const com::Error& e) {
    EXPECT_TRUE(reported_by(e, "Question0601", "Prepare")) << e.source();
  }
}

TEST_F(Question601, TheFrameFromCreationToClosing) {
  auto fichiers = std::dynamic_pointer_cast<FichiersDeTravail>(question->get("FichiersDeTravail").object());
  ASSERT_NE(fichiers, nullptr);
  ASSERT_EQ(fichiers->count(), 1);
  EXPECT_EQ(fichiers->Item(1).NomSource, "07250601.xls");
  EXPECT_EQ(fichiers->Item(1).NomDest, kWorkingCopy);
  EXPECT_FALSE(fichiers->Item(1).Modele);
  EXPECT_EQ(question->get("ComplementInfo"), Variant::nothing()) << "no list before the first check";
  EXPECT_EQ(question->get("CauseErreur"), Variant(""));

  prepare();
  question->call("TestePoint");
  auto complement = std::dynamic_pointer_cast<ComplementInfo>(question->get("ComplementInfo").object());
  ASSERT_NE(complement, nullptr);
  EXPECT_EQ(complement->count(), 0);

  question->call("Fermer");
  EXPECT_EQ(question->get("ComplementInfo"), Variant::nothing());
  auto apres = std::dynamic_pointer_cast<FichiersDeTravail>(question->get("FichiersDeTravail").object());
  ASSERT_NE(apres, nullptr);
  EXPECT_EQ(apres->count(), 0) << "a new, empty list";
  EXPECT_EQ(excel->open_workbooks().size(), 1u) << "closing is the controller's";
}

TEST(QuestionFactory, OnlyNumbersWithAClassGiveAQuestion) {
  EXPECT_EQ(CreeQuestion(601)->type_name(), "Question0601");
  for (std::int32_t n : {0, 600, 616, -601}) EXPECT_EQ(CreeQuestion(n), nullptr) << n;
}

}  // namespace
}  // namespace d72506::testing
