// Saved workbooks judged by the real module through the player's judge: the
// verdict a file earns, the files that earn none (and say why, naming the
// trainee's file), the trainee's file left as it was, and many files on
// several workers coming back in order.
#include <gtest/gtest.h>

#include <sstream>

#include "player/judging_run.hpp"
#include "player/saved_answers.hpp"
#include "saved_answer_files.hpp"

namespace d72506::player {
namespace {

namespace stdfs = std::filesystem;
using testing::SavedAnswerFiles;

// "'<path>'", as the reader's messages quote a file; built by appending, since
// "'" + a string draws GCC 12's false -Wrestrict here (GCC bug 105329).
std::string in_quotes(const stdfs::path& file) { return std::string("'").append(file.string()).append("'"); }

RunSetup setup() {
  RunSetup s;
  s.exercises = D72506_EXERCISE_FILES;
  return s;
}

struct Judged {
  JudgeStatus status;
  bool erreur_generale;
  std::string cause;
};

Judged judged(std::int32_t question, const stdfs::path& file) {
  std::ostringstream notes;
  const Judgement j = judge_saved_answer(question, file, setup(), notes);
  return {j.status, j.verdict.erreur_generale, j.verdict.cause_erreur};
}

void expect_verdict(std::int32_t question, const stdfs::path& file, bool erreur_generale, const std::string& cause) {
  const Judged j = judged(question, file);
  EXPECT_EQ(j.status, JudgeStatus::kJudged) << file;
  EXPECT_EQ(j.erreur_generale, erreur_generale) << file;
  EXPECT_EQ(j.cause, cause) << file;
}

TEST(SavedAnswers, EarnTheVerdictOfThePlayedAnswer) {
  const SavedAnswerFiles answers;
  expect_verdict(601, answers.make(601, "Range(\"D1\").Value = \"'09854895\"", "right.xls"), false, "");
  expect_verdict(601, answers.make(601, "Range(\"D1\").Value = 9854895", "number.xls"), false, "C");
  // The pre-check runs on the file as on a played workbook.
  expect_verdict(601, answers.make(601, "Sheets(1).Name = \"T1\"", "renamed.xls"), true, "B");
  expect_verdict(606, answers.make(606, "Range(\"D1\").NumberFormat = \"@\"\"-52\"\"\"", "format.xls"), false, "");
  expect_verdict(615, answers.make(615, "", "untouched.xls"), false, "A");
}

// The window hidden is the answer to 609; the preparation must not fail for
// want of a visible window.
TEST(SavedAnswers, AWorkbookSavedWithItsWindowHiddenIsJudged) {
  const SavedAnswerFiles answers;
  expect_verdict(609, answers.make(609, "ActiveWindow.Visible = False", "hidden.xls"), false, "");
  expect_verdict(609, answers.make(609, "", "shown.xls"), false, "B");
}

TEST(SavedAnswers, ACustomViewSavedInTheFileIsShownByTheCheck) {
  const SavedAnswerFiles answers;
  const std::string view =
      "Sheets(2).Activate\n"
      "ActiveWindow.Zoom = 110\n"
      "ActiveSheet.PageSetup.Orientation = xlPortrait\n"
      "ActiveSheet.PageSetup.CenterHorizontally = True\n"
      "ActiveWorkbook.CustomViews.Add ViewName:=\"123\", PrintSettings:=True, RowColSettings:=True\n";
  expect_verdict(611, answers.make(611, view, "view.xls"), false, "");
  expect_verdict(611, answers.make(611, "Sheets(2).Activate", "no_view.xls"), false, "A");
}

// 613's answer is the template in the templates folder, under the name the
// trainee gave it; its content must still be a workbook.
TEST(SavedAnswers, ForTheTemplateQuestionTheFileIsTheTemplateUnderItsOwnName) {
  const SavedAnswerFiles answers;
  expect_verdict(613, answers.make(613, "", "Thor.xlt"), false, "");
  expect_verdict(613, answers.make(613, "", "Thor International.xlt"), false, "A");

  const stdfs::path fake = answers.write("thor.xlt", "not a workbook");
  std::ostringstream notes;
  const Judgement j = judge_saved_answer(613, fake, setup(), notes);
  EXPECT_EQ(j.status, JudgeStatus::kUnreadable);
  ASSERT_TRUE(j.failure);
  EXPECT_NE(j.failure->description.find(in_quotes(fake)), std::string::npos) << j.failure->description;
}

TEST(SavedAnswers, QuestionsAnsweredInExcelItselfAreNotJudged) {
  const SavedAnswerFiles answers;
  const stdfs::path file = answers.make(601, "", "any.xls");
  for (std::int32_t question : {602, 614}) {
    EXPECT_FALSE(judged_from_file(question));
    EXPECT_EQ(judged(question, file).status, JudgeStatus::kNotJudged) << question;
  }
  EXPECT_TRUE(judged_from_file(613));
}

TEST(SavedAnswers, AFileThatIsNoWorkbookIsNamedWithItsReason) {
  const SavedAnswerFiles answers;
  const std::string workbook = testing::contents(answers.make(601, "", "whole.xls"));
  const struct {
    std::string name;
    std::string bytes;
  } cases[] = {
      {"notes.xls", "Ceci n'est pas un classeur."},
      {"empty.xls", ""},
      {"cut.xls", workbook.substr(0, workbook.size() / 2)},
      {"header only.xls", workbook.substr(0, 512)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const stdfs::path file = answers.write(c.name, c.bytes);
    std::ostringstream notes;
    const Judgement j = judge_saved_answer(601, file, setup(), notes);
    EXPECT_EQ(j.status, JudgeStatus::kUnreadable);
    ASSERT_TRUE(j.failure);
    EXPECT_NE(j.failure->description.find(in_quotes(file)), std::string::npos) << j.failure->description;
    EXPECT_EQ(j.failure->description.find("Thor International"), std::string::npos) << j.failure->description;
  }
  for (const stdfs::path& nothing : {answers.folder() / "absent.xls", answers.folder()}) {
    EXPECT_EQ(judged(601, nothing).status, JudgeStatus::kUnreadable) << nothing;
  }
}

TEST(SavedAnswers, TheTraineesFileIsOnlyRead) {
  const SavedAnswerFiles answers;
  const stdfs::path file = answers.make(601, "Range(\"D1\").Value = 9854895", "Thor International.xls");
  const std::string before = testing::contents(file);
  const auto written = stdfs::last_write_time(file);
  expect_verdict(601, file, false, "C");
  EXPECT_EQ(testing::contents(file), before);
  EXPECT_EQ(stdfs::last_write_time(file), written);
  EXPECT_EQ(std::distance(stdfs::directory_iterator(answers.folder()), stdfs::directory_iterator()), 1)
      << "nothing was left beside the trainee's file";
}

TEST(SavedAnswers, OneJudgeGoesOnAfterAFileItCouldNotRead) {
  const SavedAnswerFiles answers;
  const stdfs::path right = answers.make(601, "Range(\"D1\").Value = \"'09854895\"", "right.xls");
  const stdfs::path wrong = answers.make(601, "Range(\"D1\").Value = \"O9854895\"", "wrong.xls");
  const stdfs::path broken = answers.write("broken.xls", "x");
  std::ostringstream notes;
  SavedAnswerJudge judge(601, setup(), notes);
  const Judgement first = judge.judge(right);
  const Judgement second = judge.judge(broken);
  const Judgement third = judge.judge(wrong);
  const Judgement fourth = judge.judge(right);
  EXPECT_EQ(first.verdict.cause_erreur, "");
  EXPECT_EQ(second.status, JudgeStatus::kUnreadable);
  EXPECT_EQ(third.status, JudgeStatus::kJudged);
  EXPECT_EQ(third.verdict.cause_erreur, "B");
  EXPECT_EQ(fourth.verdict.cause_erreur, "") << "an earlier answer leaves nothing behind";
}

TEST(JudgingRun, SeveralWorkersGiveEachFileItsOwnVerdictInTheOrderGiven) {
  const SavedAnswerFiles answers;
  const stdfs::path right = answers.make(601, "Range(\"D1\").Value = \"'09854895\"", "right.xls");
  const stdfs::path number = answers.make(601, "Range(\"D1\").Value = 9854895", "number.xls");
  const stdfs::path broken = answers.write("broken.xls", "x");
  JudgingRun run;
  run.question = 601;
  run.setup = setup();
  run.workers = 2;
  std::size_t last_done = 0;
  run.progress = [&](std::size_t done, std::size_t total) {
    EXPECT_GE(done, last_done);
    EXPECT_EQ(total, run.files.size());
    last_done = done;
  };
  for (int i = 0; i < 4; ++i) run.files.insert(run.files.end(), {right, number, broken});
  std::ostringstream notes;
  const std::vector<Judgement> results = judge_files(run, notes);
  ASSERT_EQ(results.size(), run.files.size());
  EXPECT_EQ(last_done, run.files.size()) << "the last progress report counts every file";
  for (std::size_t i = 0; i < results.size(); i += 3) {
    EXPECT_EQ(results[i].file, right);
    EXPECT_EQ(results[i].verdict.cause_erreur, "");
    EXPECT_EQ(results[i + 1].verdict.cause_erreur, "C");
    EXPECT_EQ(results[i + 2].status, JudgeStatus::kUnreadable);
  }
  EXPECT_TRUE(judge_files({}, notes).empty());
}

TEST(JudgingRun, AFolderGivesItsWorkbooksRecursivelyInPathOrder) {
  const SavedAnswerFiles answers;
  const stdfs::path root = answers.folder();
  stdfs::create_directories(root / "b" / "deeper");
  const std::string workbook = testing::contents(answers.make(601, "", "z.xls"));
  answers.write("b/deeper/a.XLSX", "damaged, but a workbook by its name");
  answers.write("b/no_extension", workbook);  // a workbook by its first bytes
  answers.write("a.ods", "x");
  answers.write("notes.txt", "not a workbook, left out");
  const std::vector<stdfs::path> files = expand_answers({root, root / "absent.xls"});
  const std::vector<stdfs::path> expected = {root / "a.ods", root / "b" / "deeper" / "a.XLSX", root / "b" / "no_extension",
                                             root / "z.xls", root / "absent.xls"};
  EXPECT_EQ(files, expected);
}

}  // namespace
}  // namespace d72506::player
