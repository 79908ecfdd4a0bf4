// Question 613: the exercise workbook saved as the template "thor.xlt" in
// the course's templates folder, and closed. The check looks on disk and at
// the open workbooks; unlike the others it maps no error to "AA".
#include <gtest/gtest.h>

#include "module/fichiers_de_travail.hpp"
#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

class Question613 : public ExerciseQuestion {
 protected:
  Question613() : ExerciseQuestion(613) {}

  void SetUp() override {
    ExerciseQuestion::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    prepare();
  }

  // SaveAs of the active workbook into the course's templates folder.
  std::string save_template(const std::string& name) {
    return "ActiveWorkbook.SaveAs Filename:=\"" + templates + name + "\", FileFormat:=xlTemplate";
  }
};

TEST_F(Question613, TheTemplateSavedAndClosedIsRight) {
  EXPECT_EQ(check_after(save_template("Thor.xlt") + "\nActiveWorkbook.Close"), "");
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question613, TheTemplateStillOpenIsB) {
  EXPECT_EQ(check_after(save_template("Thor.xlt")), "B");
  EXPECT_EQ(check_after("Workbooks(\"THOR.XLT\").Close"), "") << "closed afterwards: right, the old code gone";
}

TEST_F(Question613, AnythingButThorXltInTheTemplatesFolderIsA) {
  EXPECT_EQ(check_after(""), "A") << "nothing saved";
  EXPECT_EQ(check_after("ActiveWorkbook.SaveAs Filename:=\"" + world.working() + "Thor.xls\""), "A")
      << "a workbook in the working folder";
  EXPECT_EQ(check_after(save_template("Modele.xlt") + "\nActiveWorkbook.Close"), "A") << "another name";
}

TEST_F(Question613, TheFileNameMatchesInAnyCase) {
  EXPECT_EQ(check_after(save_template("THOR.XLT") + "\nActiveWorkbook.Close"), "");
}

TEST_F(Question613, NoWorkbookOpenAndTheTemplatePresentIsRight) {
  act(app(), save_template("Thor.xlt"));
  act(app(), "ActiveWorkbook.Close");
  ASSERT_TRUE(excel->open_workbooks().empty());
  EXPECT_EQ(check_after(""), "");
}

// With the template present the check walks the open workbooks: an
// application that no longer answers makes it fail with its report, where
// another check would have answered "AA" for a conversion error.
TEST_F(Question613, AFailureIsReportedNotTurnedIntoACode) {
  act(app(), save_template("Thor.xlt"));
  question->call("Fermer");
  try {
    question->call("TestePoint");
    FAIL() << "the check did not fail";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), com::err::ObjectNotSet);
    EXPECT_TRUE(reported_by(e, "Question0613", "TestePoint")) << e.source();
  }
}

TEST_F(Question613, ThreeTemplatesAreListedForCleaningOnly) {
  auto fichiers = std::dynamic_pointer_cast<FichiersDeTravail>(question->get("FichiersDeTravail").object());
  ASSERT_NE(fichiers, nullptr);
  ASSERT_EQ(fichiers->count(), 4);
  EXPECT_EQ(fichiers->Item(1).NomSource, "07250613.xls");
  EXPECT_FALSE(fichiers->Item(1).Modele);
  const char* const templates[] = {"Thor.xlt", "International.xlt", "Thor International.xlt"};
  for (std::int32_t i = 2; i <= 4; ++i) {
    EXPECT_EQ(fichiers->Item(i).NomSource, "");
    EXPECT_EQ(fichiers->Item(i).NomDest, templates[i - 2]);
    EXPECT_TRUE(fichiers->Item(i).Modele);
  }
}

}  // namespace
}  // namespace d72506::testing
