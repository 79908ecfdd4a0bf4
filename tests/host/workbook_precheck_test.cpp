// The pre-check's codes, each reached through a state the trainee can leave
// the exercise workbook in.
#include <gtest/gtest.h>

#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

class PreCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    D72506_SKIP_WITHOUT_STAND_IN(world);
    world.deliver();
    ASSERT_TRUE(succeeded(world.init()));
  }
  // The pre-check's code: a general error that the question never saw.
  std::string refusal() {
    const std::string code = world.verdict();
    EXPECT_TRUE(world.general_error()) << code;
    return code;
  }
  ExerciseWorld world;
};

TEST_F(PreCheck, TheWorkingCopyClosedGivesC) {
  world.trainee("Workbooks(\"Thor International.xls\").Close SaveChanges:=False");
  EXPECT_EQ(refusal(), "C");
}

TEST_F(PreCheck, AnotherWorkbookActiveGivesA) {
  world.trainee("Workbooks.Add");
  EXPECT_EQ(refusal(), "A");
  world.trainee("Workbooks(\"THOR INTERNATIONAL.XLS\").Activate");
  EXPECT_EQ(world.verdict(), "A") << "back on the exercise: the question's own code (D1 empty)";
  EXPECT_FALSE(world.general_error());
}

TEST_F(PreCheck, TheFirstSheetRenamedOrMovedGivesB) {
  world.trainee("Sheets(1).Name = \"TRIMESTRE 1\"");
  EXPECT_EQ(world.verdict(), "A") << "letter case does not matter";
  world.trainee("Sheets(1).Name = \"T1\"");
  EXPECT_EQ(refusal(), "B");
  world.trainee("Sheets(1).Name = \"trimestre 1\"");
  world.trainee("Sheets(1).Move After:=Sheets(2)");
  EXPECT_EQ(refusal(), "B") << "the name is there, not at its place";
}

TEST_F(PreCheck, TheReferenceNoteEditedGivesD) {
  world.trainee("Sheets(1).Range(\"F13\").NoteText \"Ne pas supprimer ce commentaire. Merci\"");
  EXPECT_EQ(refusal(), "D");
  world.trainee("Sheets(1).Range(\"F13\").NoteText \"ne pas supprimer ce commentaire. Merci !\"");
  EXPECT_EQ(refusal(), "D") << "the note compares exactly";
  world.trainee("Sheets(1).Range(\"F13\").ClearComments");
  EXPECT_EQ(refusal(), "D");
}

TEST(PreCheckPrinter, QuestionSixElevenWithoutAPrinterGivesBA) {
  ExerciseWorld world(ExerciseWorld::Options{.printer = ""});
  D72506_SKIP_WITHOUT_STAND_IN(world);
  // No class for 611 yet: InitQuestion fails once the work files are needed,
  // but the printer is tested before anything of the question.
  EXPECT_NE(world.init(611), com::S_OK);
  EXPECT_EQ(world.verdict(), "#BA");
  EXPECT_TRUE(world.general_error());
}

}  // namespace
}  // namespace d72506::testing
