// The pre-check of the questions whose workbook has "détail" first and
// "Trimestre 1" second (608, 610, 611, 612), reached through states a
// trainee can produce and read as the player reads them: a general error
// with the pre-check's code, the question's own check not run.
#include <gtest/gtest.h>

#include <string>

#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

// Delivers the question's exercise file laid out as the course lays it out
// (the reference note on F13 of "Trimestre 1", which question 611 delivers
// active) and starts the question through the module.
void start(ExerciseWorld& world, std::int32_t question) {
  std::string setup = "ActiveWorkbook.Sheets(2).Range(\"F13\").AddComment \"" + std::string(kNote) + "\"";
  if (question == 611) setup += ": ActiveWorkbook.Sheets(2).Activate";
  world.build_workbook(world.working_path() / ("07250" + std::to_string(question) + ".xls"),
                       {"détail", "Trimestre 1"}, setup);
  ASSERT_TRUE(succeeded(world.init(question)));
}

// The verdict, which must be a general error for the pre-check's codes.
std::string general_verdict(ExerciseWorld& world) {
  const std::string code = world.verdict();
  EXPECT_TRUE(world.general_error()) << code;
  return code;
}

class PreCheck : public ::testing::TestWithParam<std::int32_t> {
 protected:
  void SetUp() override {
    D72506_SKIP_WITHOUT_STAND_IN(world);
    start(world, GetParam());
  }

  bool passes() {
    world.verdict();
    return !world.general_error();
  }

  ExerciseWorld world;
};

TEST_P(PreCheck, SheetsRenamedOrMovedGiveFThenG) {
  ASSERT_TRUE(passes()) << world.cause();
  world.trainee("Sheets(\"détail\").Name = \"Détail 2\"");
  EXPECT_EQ(general_verdict(world), "F");
  world.trainee("Sheets(1).Name = \"DÉTAIL\"");
  EXPECT_TRUE(passes()) << "names compare in any letter case: " << world.cause();

  world.trainee("Sheets(\"Trimestre 1\").Name = \"T1\"");
  EXPECT_EQ(general_verdict(world), "G");
  world.trainee("Sheets(\"T1\").Name = \"Trimestre 1\"");

  world.trainee("Sheets(\"détail\").Move After:=Sheets(2)");
  EXPECT_EQ(general_verdict(world), "F") << "the name is there, at the wrong place";
  world.trainee("Sheets(\"détail\").Move Before:=Sheets(1)");
  world.trainee("Sheets(\"Trimestre 1\").Move After:=Sheets(3)");
  EXPECT_EQ(general_verdict(world), "G");
  world.trainee("Sheets(\"Trimestre 1\").Move After:=Sheets(1): Sheets(\"Trimestre 1\").Activate");
  EXPECT_TRUE(passes()) << world.cause();
}

// Questions 610 to 612 keep the reference note on their second sheet;
// question 608 does not look at it.
TEST_P(PreCheck, TheNoteOfTrimestre1Edited) {
  world.trainee("Sheets(\"Trimestre 1\").Range(\"F13\").NoteText Text:=\"Ne pas supprimer ce commentaire. Merci\"");
  if (GetParam() == 608) {
    EXPECT_TRUE(passes()) << world.cause();
  } else {
    EXPECT_EQ(general_verdict(world), "D");
  }
}

INSTANTIATE_TEST_SUITE_P(Questions, PreCheck, ::testing::Values(608, 610, 611, 612));

class PreCheck611 : public ::testing::Test {
 protected:
  void SetUp() override { D72506_SKIP_WITHOUT_STAND_IN(world); }
  ExerciseWorld world;
};

TEST_F(PreCheck611, TheViewIsRecordedOnTrimestre1) {
  start(world, 611);
  EXPECT_EQ(world.verdict(), "A") << "no view yet: the question's own code";
  EXPECT_FALSE(world.general_error());
  world.trainee("Sheets(\"détail\").Activate");
  EXPECT_EQ(general_verdict(world), "K");
}

class WithoutPrinter : public ::testing::Test {
 protected:
  void SetUp() override { D72506_SKIP_WITHOUT_STAND_IN(world); }
  ExerciseWorld world{ExerciseWorld::Options{.printer = ""}};
};

TEST_F(WithoutPrinter, Question611NeedsAPrinterBeforeAnythingElse) {
  start(world, 611);
  EXPECT_EQ(general_verdict(world), "#BA");
  world.trainee("Workbooks(\"Thor International.xls\").Close SaveChanges:=False");
  EXPECT_EQ(general_verdict(world), "#BA") << "before the workbook is looked for";
}

TEST_F(WithoutPrinter, OtherQuestionsNeedNone) {
  start(world, 612);
  EXPECT_EQ(world.verdict(), "A") << "no style yet: the question's own code";
  EXPECT_FALSE(world.general_error());
}

}  // namespace
}  // namespace d72506::testing
