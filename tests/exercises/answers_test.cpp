// Every answer script of exercises/answers, played by the d72506 command on
// its question as the course player plays it (files delivered, InitQuestion,
// the trainee's script, TestePoint, Fermer), gets from the module the cause
// code its header announces ("' expect: C"; "' expect: \"\"" for a right
// answer). The answers of answers/recorded are whole modules as Excel's
// macro recorder writes them from a trainee's menu and mouse actions.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/exercises/exercise_world.hpp"
#include "tests/exercises/program_run.hpp"

namespace exercises::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Answer {
  fs::path path;
  bool recorded() const { return path.parent_path().filename() == "recorded"; }
  int question = 0;
  std::string expected;  // the cause code
};

// "' expect: B" -> "B"; "' expect: \"\"" -> "".
std::string announced_code(const fs::path& path) {
  std::ifstream in(path);
  const std::string prefix = "' expect: ";
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with(prefix)) continue;
    const std::string code = line.substr(prefix.size());
    return code == "\"\"" ? "" : code;
  }
  throw std::runtime_error(path.string() + " announces no code");
}

std::vector<Answer> all_answers() {
  std::vector<Answer> answers;
  for (const auto& entry : fs::recursive_directory_iterator(source_file("answers"))) {
    const fs::path& path = entry.path();
    if (path.extension() != ".bas") continue;
    answers.push_back({path, std::stoi(path.filename().string().substr(0, 4)), announced_code(path)});
  }
  std::sort(answers.begin(), answers.end(), [](const Answer& a, const Answer& b) { return a.path < b.path; });
  return answers;
}

void PrintTo(const Answer& answer, std::ostream* out) { *out << answer.path.filename().string(); }

// The command's report of one question played, the trainee's script first
// when there is one.
json play(int question, const std::optional<fs::path>& trainee) {
  std::vector<std::string> command = {D72506_COMMAND, "play",         std::to_string(question),
                                      "--json",       "--exercises", D72506_EXERCISE_FILES};
  if (trainee) command.insert(command.end(), {"--trainee", trainee->string()});
  const ProgramRun run = run_program(command, 120);
  const json report = json::parse(run.output, nullptr, false);
  if (report.is_discarded()) throw std::runtime_error("no report from d72506: " + run.output + run.errors);
  return report;
}

// The one verdict of a report, its code, or the failure that replaced it.
std::string only_verdict(const json& report) {
  if (!report.at("error").is_null()) return "failed: " + report.at("error").dump();
  const json& verdicts = report.at("verdicts");
  if (verdicts.size() != 1) return "verdicts: " + verdicts.dump();
  const json& verdict = verdicts.at(0);
  const std::string code = verdict.at("causeErreur");
  return verdict.at("erreurGenerale") ? "general error " + code : code;
}

class AnswerTest : public ::testing::TestWithParam<Answer> {};

TEST_P(AnswerTest, GetsTheCodeItAnnounces) {
  const Answer& answer = GetParam();
  EXPECT_EQ(only_verdict(play(answer.question, answer.path)), answer.expected);
}

INSTANTIATE_TEST_SUITE_P(Exercises, AnswerTest, ::testing::ValuesIn(all_answers()),
                         [](const ::testing::TestParamInfo<Answer>& info) {
                           return (info.param.recorded() ? "recorded_" : "") + info.param.path.stem().string();
                         });

TEST(AnswerSet, EveryQuestionHasARightAnswerAndAWrongOne) {
  std::set<int> right, wrong;
  for (const Answer& answer : all_answers()) (answer.expected.empty() ? right : wrong).insert(answer.question);
  for (int question = 601; question <= 615; ++question) {
    EXPECT_TRUE(right.contains(question)) << question;
    EXPECT_TRUE(wrong.contains(question)) << question;
  }
}

TEST(AnswerSet, EveryQuestionHasARecordedRightAnswerAndAWrongOne) {
  std::set<int> right, wrong;
  for (const Answer& answer : all_answers()) {
    if (answer.recorded()) (answer.expected.empty() ? right : wrong).insert(answer.question);
  }
  for (int question = 601; question <= 615; ++question) {
    EXPECT_TRUE(right.contains(question)) << question;
    EXPECT_TRUE(wrong.contains(question)) << question;
  }
}

TEST(AnswerSet, ABlankWorkingCopyIsNotTakenForARightAnswer) {
  // The delivered files must not already hold the answers.
  for (int question = 601; question <= 615; ++question) {
    const std::string verdict = only_verdict(play(question, std::nullopt));
    EXPECT_NE(verdict, "") << question;
    EXPECT_FALSE(verdict.starts_with("failed")) << question << ": " << verdict;
  }
}

}  // namespace
}  // namespace exercises::testing
