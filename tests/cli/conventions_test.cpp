// The command behaves as the tools its users know: --version, help and an
// unknown subcommand name what exists, a question outside the chapter is
// refused with the range, argument errors follow --json, and each kind of
// failure has its own exit status.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "command_run.hpp"

namespace d72506::cli::testing {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Conventions, VersionAndHelpNameTheCommandAndItsSubcommands) {
  const CommandRun version = run_d72506({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "d72506 1.0.0\n");
  const CommandRun help = run_d72506({"help"});
  EXPECT_EQ(help.status, 0);
  for (const char* name : {"play", "shell", "serve", "check", "codes", "Exit statuses"}) {
    EXPECT_TRUE(contains(help.out, name)) << name << "\n" << help.out;
  }
}

TEST(Conventions, AMissingOrUnknownSubcommandIsNamedWithThoseThatExist) {
  const CommandRun none = run_d72506({});
  EXPECT_EQ(none.status, 2);
  EXPECT_TRUE(contains(none.err, "a subcommand is required: play, shell, ")) << none.err;
  EXPECT_TRUE(contains(none.err, "serve")) << none.err;
  const CommandRun unknown = run_d72506({"plya", "601"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(contains(unknown.err, "unknown subcommand 'plya': the subcommands are ")) << unknown.err;
  EXPECT_TRUE(contains(unknown.err, "serve")) << unknown.err;
}

TEST(Conventions, PlayRefusesAQuestionOutsideTheChapterWithTheRange) {
  for (const char* number : {"600", "616", "0"}) {
    const CommandRun run = run_d72506({"play", number});
    EXPECT_EQ(run.status, 2) << number;
    EXPECT_TRUE(contains(run.err, "601 to 615")) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(Conventions, ArgumentErrorsFollowJson) {
  const CommandRun run = run_d72506({"play", "600", "--json"});
  EXPECT_EQ(run.status, 2);
  const nlohmann::json report = nlohmann::json::parse(run.out);
  EXPECT_EQ(report.at("question"), nullptr);
  EXPECT_EQ(report.at("error").at("call"), "arguments");
  EXPECT_TRUE(contains(report.at("error").at("description").get<std::string>(), "601 to 615"));
}

TEST(Conventions, AScriptErrorHasItsOwnStatusApartFromUsageErrors) {
  const ScratchFolder scratch;
  const auto script = scratch.write("wrong.bas", "Worksheets(\"Absente\").Select\n");
  EXPECT_EQ(run_d72506({"play", "601", "--trainee", script.string()}).status, 4);
  EXPECT_EQ(run_d72506({"play", "601", "--trainee", (scratch.path() / "absent.bas").string()}).status, 2);
}

}  // namespace
}  // namespace d72506::cli::testing
