// Question 615: the first of the two check boxes of the protected sheet
// "réponses" ticked, alone. Its preparation also empties the course's
// templates folder.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/excel/constants.hpp"
#include "tests/questions/exercise_question.hpp"

namespace d72506::testing {
namespace {

constexpr const char* kAnswers = "Les Modèles.xls";

class Question615 : public ExerciseQuestion {
 protected:
  Question615() : ExerciseQuestion(615, kAnswers) {}

  static std::string box(int n, const char* state) {
    return "Sheets(\"réponses\").CheckBoxes(\"Case à cocher " + std::to_string(n) + "\").Value = " + state;
  }

  bool answers_protected() {
    return com::cbool(evaluate(app(), "Workbooks(\"Les Modèles.xls\").Sheets(\"réponses\").ProtectContents"));
  }

  void save_template(const std::string& name) {
    act(app(), "Workbooks.Add");
    act(app(), "ActiveWorkbook.SaveAs Filename:=\"" + templates + name + "\", FileFormat:=xlTemplate");
  }
};

void touch(const stdfs::path& file) { std::ofstream(file) << "x"; }

TEST_F(Question615, CodesForEachStateOfTheTwoBoxes) {
  prepare();
  EXPECT_EQ(com::cstr(evaluate(app(), "ActiveWorkbook.Name")), kAnswers);
  struct Case {
    std::string statements;
    const char* code;
  } cases[] = {
      {"", "A"},
      {box(1, "xlOn"), ""},
      {box(2, "xlOn"), "B"},
      {box(1, "xlOff"), "B"},
      {box(2, "xlOff") + "\n" + box(1, "xlMixed"), "B"},
      {box(1, "xlOff"), "A"},
      {box(1, "xlOn"), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(check_after(c.statements), c.code) << c.statements;
    EXPECT_TRUE(answers_protected()) << c.statements;
  }
  EXPECT_EQ(question->get("BravoNuance"), Variant(false));
}

TEST_F(Question615, TheSheetTheTraineeLeftActiveIsActiveAgain) {
  prepare();
  act(app(), box(1, "xlOn"));
  act(app(), "Sheets.Add");
  const std::string other = com::cstr(evaluate(app(), "ActiveSheet.Name"));
  ASSERT_NE(other, "réponses");
  EXPECT_EQ(check_after(""), "");
  EXPECT_EQ(com::cstr(evaluate(app(), "ActiveSheet.Name")), other);
  EXPECT_EQ(com::clng(evaluate(app(), "Sheets(\"réponses\").CheckBoxes(\"Case à cocher 1\").Value")),
            platform::excel::xlOn)
      << "the boxes keep their states";
}

TEST_F(Question615, ARenamedAnswerSheetFailsWithTheReportNotAA) {
  prepare();
  act(app(), "Sheets(\"réponses\").Name = \"Mes réponses\"");
  const com::Error e = check_failure();
  EXPECT_EQ(e.number(), com::err::SubscriptOutOfRange);
  EXPECT_TRUE(reported_by(e, "Question0615", "TestePoint")) << e.source();
}

// A check that fails once the sheet is unprotected protects it again, so
// that the trainee is not handed an open answer sheet.
TEST_F(Question615, ACheckThatFailsHalfWayLeavesTheSheetProtected) {
  prepare();
  act(app(), "ActiveSheet.Unprotect");
  act(app(), "ActiveSheet.Shapes(\"Case à cocher 2\").Name = \"Autre case\"");
  act(app(), "ActiveSheet.Protect");
  EXPECT_EQ(check_failure().number(), com::err::SubscriptOutOfRange);
  EXPECT_TRUE(answers_protected());
}

TEST_F(Question615, ThePreparationEmptiesTheTemplatesFolder) {
  save_template("Thor.xlt");  // left open
  save_template("X.XLT");     // left open: not ".xlt" to the letter, so not closed
  touch(world.course_templates() / "notes.txt");
  touch(world.course_templates() / "lecture seule.xlt");
  stdfs::permissions(world.course_templates() / "lecture seule.xlt", stdfs::perms::owner_write,
                     stdfs::perm_options::remove);
  touch(world.course_templates() / "sans point");
  stdfs::create_directories(world.course_templates() / "Anciens");
  touch(world.course_templates() / "Anciens" / "Thor.xlt");

  prepare();

  std::vector<std::string> left;
  for (const auto& entry : stdfs::directory_iterator(world.course_templates())) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"Anciens"}) << "a sub-folder stays";
  EXPECT_TRUE(stdfs::exists(world.course_templates() / "Anciens" / "Thor.xlt")) << "and so do its contents";
  std::vector<std::string> open;
  for (const auto& book : excel->open_workbooks()) open.push_back(book->name());
  EXPECT_EQ(open, (std::vector<std::string>{"X.XLT", kAnswers}));
}

TEST_F(Question615, AnEmptyTemplatesFolderIsNothingToDo) {
  prepare();
  EXPECT_TRUE(stdfs::is_empty(world.course_templates()));
  EXPECT_EQ(com::cstr(evaluate(app(), "ActiveWorkbook.Name")), kAnswers);
}

// Without a templates folder the listing would run on the process's current
// folder: nothing there is touched.
TEST_F(Question615, NoTemplatesFolderDeletesNothing) {
  const stdfs::path before = stdfs::current_path();
  touch(world.documents() / "Thor.xlt");
  stdfs::current_path(world.documents());
  prepare("");
  stdfs::current_path(before);
  EXPECT_TRUE(stdfs::exists(world.documents() / "Thor.xlt"));
}

TEST_F(Question615, ThePreparationWithoutTheWorkbookFailsWithItsReport) {
  stdfs::remove(world.working_path() / kAnswers);
  touch(world.course_templates() / "notes.txt");
  try {
    prepare();
    FAIL() << "the preparation did not fail";
  } catch (const com::Error& e) {
    EXPECT_TRUE(reported_by(e, "Question0615", "Prepare")) << e.source();
  }
  EXPECT_TRUE(stdfs::exists(world.course_templates() / "notes.txt")) << "the clean-up comes after the opening";
}

}  // namespace
}  // namespace d72506::testing
