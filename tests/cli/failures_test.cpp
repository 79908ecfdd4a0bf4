// What the command does with what goes wrong: a module call that fails
// (status 1, the module's error information), a trainee script that stops
// (status 2, its line), and arguments it cannot use (status 2, no crash).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "command_run.hpp"

namespace d72506::cli::testing {
namespace {

using nlohmann::json;

TEST(Failures, InitQuestionWithoutItsDeliveredFileReportsTheModuleError) {
  const ScratchFolder empty;
  const CommandRun run = run_d72506({"play", "601", "--json", "--exercises", empty.path().string()});
  EXPECT_EQ(run.status, 1) << run.err;
  const json report = json::parse(run.out);
  EXPECT_EQ(report.at("verdicts"), json::array());
  const json& error = report.at("error");
  EXPECT_EQ(error.at("call"), "InitQuestion");
  EXPECT_NE(error.at("number"), 0);
  EXPECT_FALSE(error.at("description").get<std::string>().empty());
  // The source the module composes, line feed and carriage return included,
  // survives the JSON text.
  const std::string source = error.at("source");
  EXPECT_EQ(source.rfind("DLL D72506 - CLASSE ", 0), 0u) << source;
  EXPECT_NE(source.find("\n\r - SERVICE "), std::string::npos) << source;
  EXPECT_NE(run.err.find("07250601.xls is not in"), std::string::npos) << run.err;
}

TEST(Failures, InitQuestionFailureInTextNamesTheCall) {
  const ScratchFolder empty;
  const CommandRun run = run_d72506({"play", "601", "--exercises", empty.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("InitQuestion failed: error "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\\n\\r"), std::string::npos) << "the source's line breaks are shown escaped: " << run.err;
}

TEST(Failures, AScriptThatStopsNamesItsLine) {
  const ScratchFolder scratch;
  const struct {
    const char* text;
    const char* line;
  } cases[] = {
      {"' a runtime error\nRange(\"D1\").Value = 1\nWorkbooks(\"absent.xls\").Activate\n#check\n", "line 3"},
      {"Range(\"D1\").Value = \n", "line 1"},               // syntax: nothing runs
      {"\n\n\n#frobnicate\n", "line 4"},                     // unknown host line
      {"#init six hundred\n", "line 1"},                      // malformed player call
      {"#edit\n", "line 1"},                                  // world action without its cell
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto script = scratch.write("stops.bas", c.text);
    const CommandRun text = run_d72506({"play", "601", "--trainee", script.string()});
    EXPECT_EQ(text.status, 4);
    EXPECT_EQ(text.out, "");
    EXPECT_NE(text.err.find("stops.bas: " + std::string(c.line) + ":"), std::string::npos) << text.err;

    const CommandRun as_json = run_d72506({"play", "601", "--json", "--trainee", script.string()});
    EXPECT_EQ(as_json.status, 4);
    const json error = json::parse(as_json.out).at("error");
    EXPECT_EQ(error.at("call"), "script");
    EXPECT_EQ(error.at("line"), std::stoi(std::string(c.line).substr(5)));
  }
}

TEST(Failures, AFermerThatExcelCannotAnswerIsReportedAfterTheVerdict) {
  const ScratchFolder scratch;
  const struct {
    const char* text;
    const char* cause;
    std::int32_t number;
  } cases[] = {
      {"#edit D1\n#check\n", "%AL", -2147418111},     // a busy Excel rejects the call
      {"#close-excel\n#check\n", "AM", -2147023174},  // Excel is gone
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto script = scratch.write("gone.bas", c.text);
    const CommandRun run = run_d72506({"play", "601", "--json", "--trainee", script.string()});
    EXPECT_EQ(run.status, 1) << run.err;
    const json report = json::parse(run.out);
    ASSERT_EQ(report.at("verdicts").size(), 1u);
    EXPECT_EQ(report.at("verdicts").at(0).at("erreurGenerale"), true);
    EXPECT_EQ(report.at("verdicts").at(0).at("causeErreur"), c.cause);
    EXPECT_EQ(report.at("error").at("call"), "Fermer");
    EXPECT_EQ(report.at("error").at("number"), c.number);
  }
}

TEST(Failures, VerdictsBeforeAFailureAreKept) {
  const ScratchFolder scratch;
  const auto script = scratch.write("late.bas", "#check\nWorkbooks(\"absent.xls\").Activate\n");
  const CommandRun run = run_d72506({"play", "601", "--trainee", script.string()});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out.rfind("check 1: CauseErreur=\"A\"", 0), 0u) << run.out;
}

TEST(Failures, ArgumentsItCannotUseGiveAClearMessage) {
  const ScratchFolder scratch;
  const auto not_a_folder = scratch.write("file.txt", "x");
  const struct {
    std::vector<std::string> arguments;
    const char* mentions;
  } cases[] = {
      {{"play", "6o1"}, "6o1"},
      {{"play", "-601"}, ""},
      {{"play", "99999999999"}, "99999999999"},
      {{"play"}, "QUESTION"},
      {{"play", "601", "--trainee", (scratch.path() / "absent.bas").string()}, "absent.bas"},
      {{"play", "601", "--exercises", (scratch.path() / "absent").string()}, "absent"},
      {{"play", "601", "--exercises", not_a_folder.string()}, "file.txt"},
      {{"play", "601", "--workdir", not_a_folder.string()}, "file.txt"},
      {{"play", "601", "--templates-root", (scratch.path() / "absent").string()}, "absent"},
      {{"frobnicate"}, "subcommand"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const CommandRun run = run_d72506(c.arguments);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_FALSE(run.err.empty());
    EXPECT_NE(run.err.find(c.mentions), std::string::npos) << run.err;
  }
}

TEST(Failures, HelpIsNotAFailure) {
  const CommandRun run = run_d72506({"play", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--trainee"), std::string::npos);
}

}  // namespace
}  // namespace d72506::cli::testing
