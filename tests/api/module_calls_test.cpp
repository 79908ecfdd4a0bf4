// A player's session through the C interface: verdicts, the lists, the
// trainee's statements and their limits, and modules on several threads.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <latch>
#include <thread>
#include <vector>

#include "api_session.hpp"

namespace d72506::api_test {
namespace {

constexpr const char* kRightAnswer601 = "Range(\"D1\").Value = \"'09854895\"";

TEST(ApiModule, Question601GivesTheCodeOfEachAnswer) {
  Session session;
  session.init_question(601);
  session.run(kRightAnswer601);
  EXPECT_EQ(session.cause_after_check(), "");
  session.run("Range(\"D1\").Value = \"09854895\"");  // a number: the leading zero is lost
  EXPECT_EQ(session.cause_after_check(), "C");
  int generale = 1;
  int bravo = 1;
  d72506_error* error = nullptr;
  expect_ok(d72506_module_ErreurGenerale(session.module(), &generale, &error), &error, "ErreurGenerale");
  expect_ok(d72506_module_BravoNuance(session.module(), &bravo, &error), &error, "BravoNuance");
  EXPECT_EQ(generale, 0);
  EXPECT_EQ(bravo, 0);
}

TEST(ApiModule, AGeneralErrorComesWithItsFlag) {
  Session session;
  session.init_question(601);
  session.run("Application.Quit");
  EXPECT_EQ(session.cause_after_check(), "AM");
  int generale = 0;
  d72506_error* error = nullptr;
  expect_ok(d72506_module_ErreurGenerale(session.module(), &generale, &error), &error, "ErreurGenerale");
  EXPECT_EQ(generale, 1);
}

TEST(ApiLists, AnEmptyComplementHasNoSlotToRead) {
  Session session;
  session.init_question(601);
  session.cause_after_check();
  d72506_complement* list = nullptr;
  d72506_error* error = nullptr;
  expect_ok(d72506_module_Complement(session.module(), &list, &error), &error, "Complement");
  ASSERT_NE(list, nullptr);
  std::int32_t count = -1;
  expect_ok(d72506_complement_count(list, &count, &error), &error, "count");
  EXPECT_EQ(count, 0);
  // The list's array only exists from its first line on: even slot 0 is out of range.
  char* line = nullptr;
  EXPECT_EQ(failure_of(d72506_complement_item(list, 0, &line, &error), &error).number, 9);
  EXPECT_EQ(failure_of(d72506_complement_item(list, 1, &line, &error), &error).number, 9);
  EXPECT_EQ(line, nullptr);
  d72506_complement_release(list);
}

TEST(ApiLists, AQuestionsWorkFilesReadAsTheModuleReadsThem) {
  d72506_work_files* list = nullptr;
  d72506_error* error = nullptr;
  expect_ok(d72506_work_files_of_question(614, &list, &error), &error, "work files 614");
  std::int32_t count = 0;
  expect_ok(d72506_work_files_count(list, &count, &error), &error, "count");
  ASSERT_GE(count, 1);
  char* source = nullptr;
  char* dest = nullptr;
  int modele = 0;
  expect_ok(d72506_work_files_item(list, 1, &source, &dest, &modele, &error), &error, "item 1");
  EXPECT_EQ(take_text(source), "07250614.xlt");
  EXPECT_EQ(take_text(dest), "Thor.xlt");
  EXPECT_EQ(modele, 1);
  expect_ok(d72506_work_files_item(list, 0, &source, &dest, &modele, &error), &error, "item 0");
  EXPECT_EQ(take_text(source), "");
  EXPECT_EQ(take_text(dest), "");
  EXPECT_EQ(modele, 0);
  EXPECT_EQ(failure_of(d72506_work_files_item(list, count + 1, &source, &dest, &modele, &error), &error).number, 9);
  d72506_work_files_release(list);

  EXPECT_EQ(failure_of(d72506_work_files_of_question(600, &list, &error), &error).number, 5);
}

TEST(ApiStatements, VariablesLastFromCallToCallAndErrorsNameTheirLine) {
  Session session;
  session.init_question(601);
  d72506_error* error = nullptr;
  expect_ok(d72506_application_run(session.application(), "x = 41", nullptr, &error), &error, "run");
  char* value = nullptr;
  expect_ok(d72506_application_evaluate(session.application(), "x + 1", nullptr, &value, &error), &error, "evaluate");
  EXPECT_EQ(take_text(value), "42");
  expect_ok(d72506_application_evaluate(session.application(), "ActiveWorkbook", nullptr, &value, &error), &error,
            "evaluate object");
  EXPECT_EQ(take_text(value), "<Workbook>");

  const Failure runtime = failure_of(
      d72506_application_run(session.application(), "y = 1\nWorksheets(\"Absente\").Select", nullptr, &error), &error);
  EXPECT_EQ(runtime.number, 9);
  EXPECT_NE(runtime.description.find("line 2"), std::string::npos) << runtime.description;

  const Failure syntax =
      failure_of(d72506_application_run(session.application(), "If Then Else", nullptr, &error), &error);
  EXPECT_EQ(syntax.status, D72506_E_STATEMENTS);
  EXPECT_NE(syntax.description.find("line 1"), std::string::npos) << syntax.description;
}

// The working folder the caller names at InitQuestion is where the
// statements may save; a file elsewhere is refused and left as it was.
TEST(ApiStatements, SavesGoIntoTheWorkingFolderAndNowhereElse) {
  Session session;
  session.init_question(601);
  session.run("ActiveWorkbook.SaveAs \"" + session.working_folder() + "mine.xls\"");
  EXPECT_TRUE(std::filesystem::is_regular_file(session.working_folder() + "mine.xls"));

  std::string pattern = (std::filesystem::temp_directory_path() / "d72506-api-outside-XXXXXX").string();
  const std::filesystem::path outside = mkdtemp(pattern.data());
  const std::filesystem::path theirs = outside / "theirs.xls";
  std::ofstream(theirs) << "someone else's";
  d72506_error* error = nullptr;
  const Failure refused = failure_of(
      d72506_application_run(session.application(), ("ActiveWorkbook.SaveAs \"" + theirs.string() + "\"").c_str(),
                             nullptr, &error),
      &error);
  EXPECT_EQ(refused.number, 1004) << refused.description;
  std::ifstream in(theirs);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "someone else's");
  std::filesystem::remove_all(outside);
}

TEST(ApiStatements, StatementsThatOutrunTheirLimitsStopWithTheBudgetStatus) {
  Session session;
  d72506_application* excel = nullptr;
  d72506_error* error = nullptr;
  expect_ok(d72506_application_create(&excel, nullptr, &error), &error, "application");
  const d72506_limits quick{0.2, 0};
  const Failure endless =
      failure_of(d72506_application_run(excel, "For i = 1 To 2 Step 0\nNext", &quick, &error), &error);
  EXPECT_EQ(endless.status, D72506_E_BUDGET);
  const d72506_limits small{0, 1 << 20};
  const Failure greedy = failure_of(
      d72506_application_run(excel, "s = \"x\"\nFor i = 1 To 40\ns = s & s\nNext", &small, &error), &error);
  EXPECT_EQ(greedy.status, D72506_E_BUDGET);
  const d72506_limits wrong{-1, 0};
  EXPECT_EQ(failure_of(d72506_application_run(excel, "x = 1", &wrong, &error), &error).number, 5);
  // Afterwards the application still answers.
  expect_ok(d72506_application_run(excel, "x = 1", nullptr, &error), &error, "run");
  d72506_application_release(excel);
}

TEST(ApiPlayer, DeliveringAFileThatIsNotThereFailsWithFileNotFound) {
  Session session;
  d72506_error* error = nullptr;
  const Failure f = failure_of(
      d72506_deliver(601, session.working_folder().c_str(), session.working_folder().c_str(), &error), &error);
  EXPECT_EQ(f.number, 53);
  EXPECT_NE(f.description.find("07250601.xls"), std::string::npos);
  EXPECT_EQ(failure_of(d72506_deliver(600, nullptr, session.working_folder().c_str(), &error), &error).number, 5);
}

TEST(ApiThreads, ModulesOnTwoThreadsRunInParallel) {
  constexpr int kThreads = 2;
  std::latch prepared(kThreads);
  std::vector<std::string> causes(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Session session;
      session.init_question(601);
      // Both questions are live at once before either is checked.
      prepared.arrive_and_wait();
      session.run(t == 0 ? kRightAnswer601 : "Range(\"D1\").Value = \"09854895\"");
      causes[t] = session.cause_after_check();
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(causes[0], "");
  EXPECT_EQ(causes[1], "C");
}

}  // namespace
}  // namespace d72506::api_test

namespace d72506::api_test {
namespace {

// Every code of a question as a list of (code, general) pairs with messages.
struct Code {
  std::string code;
  int general = 0;
  std::string message;
};

std::vector<Code> codes_of(std::int32_t question, const char* language) {
  d72506_codes* list = nullptr;
  d72506_error* error = nullptr;
  expect_ok(d72506_codes_of_question(question, language, &list, &error), &error, "codes");
  std::int32_t count = 0;
  expect_ok(d72506_codes_count(list, &count, &error), &error, "count");
  std::vector<Code> codes;
  for (std::int32_t i = 1; i <= count; ++i) {
    char* code = nullptr;
    char* message = nullptr;
    Code c;
    expect_ok(d72506_codes_item(list, i, &code, &c.general, &message, &error), &error, "item");
    c.code = take_text(code);
    c.message = take_text(message);
    codes.push_back(c);
  }
  char* code = nullptr;
  char* message = nullptr;
  int general = 0;
  EXPECT_EQ(failure_of(d72506_codes_item(list, count + 1, &code, &general, &message, &error), &error).number, 9);
  d72506_codes_release(list);
  return codes;
}

TEST(ApiCodes, EachCodeOfAQuestionComesWithItsMessageInTheLanguageAsked) {
  const std::vector<Code> english = codes_of(601, "en");
  const std::vector<Code> french = codes_of(601, nullptr);
  ASSERT_EQ(english.size(), french.size());
  const auto find = [](const std::vector<Code>& codes, const std::string& code, int general) {
    for (const Code& c : codes) {
      if (c.code == code && c.general == general) return c.message;
    }
    return std::string("(absent)");
  };
  // The module's own code and the question's own, told apart by the flag.
  EXPECT_NE(find(english, "AM", 1), "(absent)");
  EXPECT_NE(find(english, "C", 0), "(absent)");
  EXPECT_NE(find(english, "", 0), find(french, "", 0));
  for (const Code& c : english) EXPECT_FALSE(c.message.empty()) << c.code;

  char* message = nullptr;
  d72506_error* error = nullptr;
  expect_ok(d72506_message(601, 0, "C", "en", &message, &error), &error, "message");
  EXPECT_EQ(take_text(message), find(english, "C", 0));
  EXPECT_EQ(failure_of(d72506_message(601, 0, "C", "de", &message, &error), &error).number, 5);
  EXPECT_EQ(failure_of(d72506_message(600, 0, "C", "en", &message, &error), &error).number, 5);
  d72506_codes* list = nullptr;
  EXPECT_EQ(failure_of(d72506_codes_of_question(616, "fr", &list, &error), &error).number, 5);
}

}  // namespace
}  // namespace d72506::api_test
