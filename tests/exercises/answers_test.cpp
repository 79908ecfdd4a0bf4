// Every answer script of exercises/answers, played on its question's file as
// a trainee would play it, leaves the state whose cause code its header
// announces ("' expect: C"; "' expect: \"\"" for a right answer).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/exercises/checks.hpp"
#include "tests/exercises/exercise_world.hpp"

namespace exercises::testing {
namespace {

namespace fs = std::filesystem;

struct Answer {
  fs::path path;
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
  for (const auto& entry : fs::directory_iterator(source_file("answers"))) {
    const fs::path& path = entry.path();
    if (path.extension() != ".bas") continue;
    answers.push_back({path, std::stoi(path.filename().string().substr(0, 4)), announced_code(path)});
  }
  std::sort(answers.begin(), answers.end(), [](const Answer& a, const Answer& b) { return a.path < b.path; });
  return answers;
}

void PrintTo(const Answer& answer, std::ostream* out) { *out << answer.path.filename().string(); }

class AnswerTest : public ::testing::TestWithParam<Answer> {};

TEST_P(AnswerTest, LeavesTheStateOfItsAnnouncedCode) {
  const Answer& answer = GetParam();
  ExerciseWorld world;
  world.prepare(answer.question);
  std::vector<std::string> verdicts;
  world.on_host_line = [&](std::string_view line) {
    ASSERT_EQ(line, "check");
    verdicts.push_back(verdict(answer.question, world));
  };
  world.play(answer.path);
  ASSERT_EQ(verdicts.size(), 1u) << "an answer asks for its verdict once, at its end";
  EXPECT_EQ(verdicts.front(), answer.expected);
}

INSTANTIATE_TEST_SUITE_P(Exercises, AnswerTest, ::testing::ValuesIn(all_answers()),
                         [](const ::testing::TestParamInfo<Answer>& info) { return info.param.path.stem().string(); });

TEST(AnswerSet, EveryQuestionHasARightAnswerAndAWrongOne) {
  std::set<int> right, wrong;
  for (const Answer& answer : all_answers()) (answer.expected.empty() ? right : wrong).insert(answer.question);
  for (int question = 601; question <= 615; ++question) {
    EXPECT_TRUE(right.contains(question)) << question;
    EXPECT_TRUE(wrong.contains(question)) << question;
  }
}

TEST(AnswerSet, ABlankWorkingCopyIsNotTakenForARightAnswer) {
  // The delivered files must not already hold the answers.
  for (int question = 601; question <= 615; ++question) {
    ExerciseWorld world;
    world.prepare(question);
    EXPECT_NE(verdict(question, world), "") << question;
  }
}

}  // namespace
}  // namespace exercises::testing
