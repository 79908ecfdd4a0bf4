// What a trainee's statements may take, and what the command does when they
// take more: play stops at the line (status 3) and still closes the module;
// the shell reports the line and goes on. Also the script files the command
// reads: too long, UTF-16, and a "#" line whose files cannot be delivered.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "command_run.hpp"

namespace d72506::cli::testing {
namespace {

constexpr const char* kEndless = "Range(\"D1\").Value = 1\nFor i = 1 To 2 Step 0\nNext\n";
constexpr const char* kDoubling = "s = \"ab\"\nFor i = 1 To 64\n  s = s & s\nNext\n";

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Budget, PlayStopsAnEndlessLoopAtItsTimeAndStillClosesTheModule) {
  const ScratchFolder scratch;
  const auto script = scratch.write("runaway.bas", kEndless);
  const auto work = scratch.path() / "work";
  const CommandRun run =
      run_d72506({"play", "601", "--trainee", script.string(), "--time-limit", "1", "--workdir", work.string()});
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(contains(run.err, "runaway.bas: line 2: For i = 1 To 2 Step 0: stopped: the statements ran longer than "
                                "their time budget of 1 s"))
      << run.err;
  // Fermer deleted the working copy; nothing of the question is left open.
  EXPECT_TRUE(std::filesystem::is_directory(work));
  EXPECT_FALSE(std::filesystem::exists(work / "Thor International.xls"));
}

TEST(Budget, PlayStopsADoublingStringAtItsMemory) {
  const ScratchFolder scratch;
  const auto script = scratch.write("doubling.bas", kDoubling);
  const CommandRun run = run_d72506({"play", "601", "--trainee", script.string(), "--memory-limit", "1", "--json"});
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_TRUE(contains(run.out, "doubling.bas: line 3:")) << run.out;
  EXPECT_TRUE(contains(run.out, "stopped: the statements needed more than their memory budget of 1 MiB")) << run.out;
}

TEST(Budget, LimitsAreCheckedAndDocumented) {
  EXPECT_EQ(run_d72506({"play", "601", "--time-limit", "0"}).status, 2);
  EXPECT_EQ(run_d72506({"shell", "--memory-limit", "0"}).status, 2);
  const CommandRun help = run_d72506({"play", "--help"});
  EXPECT_TRUE(contains(help.out, "--time-limit")) << help.out;
  EXPECT_TRUE(contains(help.out, "--memory-limit")) << help.out;
  const CommandRun top = run_d72506({"--help"});
  EXPECT_TRUE(contains(top.out, "3 the trainee's statements spent their time or memory budget")) << top.out;
}

TEST(Budget, TheShellReportsAStoppedLineGoesOnAndEndsWithStatus3) {
  const CommandRun run = run_d72506({"shell", "--time-limit", "1"},
                                    "For i = 1 To 2 Step 0: Next\n"
                                    "? 1 + 2\n");
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.out, "3\n");
  EXPECT_TRUE(contains(run.err, "stopped: the statements ran longer than their time budget of 1 s")) << run.err;
}

TEST(Budget, TheShellDropsALineLongerThanAScriptAndGoesOn) {
  const CommandRun run = run_d72506({"shell"}, "x = \"" + std::string(std::size_t{3} << 20, 'a') + "\"\n? 4 * 2\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "8\n");
  EXPECT_TRUE(contains(run.err, "longer than 1 MiB")) << run.err;
}

TEST(ScriptFiles, ALongerFileThanAScriptIsRefusedUnread) {
  const ScratchFolder scratch;
  const auto script = scratch.write("huge.bas", "x = 1\n" + std::string(std::size_t{3} << 20, '\''));
  const CommandRun run = run_d72506({"play", "601", "--trainee", script.string()});
  EXPECT_EQ(run.status, 4);
  EXPECT_TRUE(contains(run.err, "huge.bas: line 1: : syntax error: the script is longer than 1 MiB")) << run.err;
}

TEST(ScriptFiles, AScriptSavedAsUtf16IsReadAsItsText) {
  const ScratchFolder scratch;
  // The right answer to 601, as Notepad saves "Unicode": little-endian with its mark.
  const std::string text = "Range(\"D1\").Value = \"'09854895\"\r\n#check\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char c : text) {
    utf16 += c;
    utf16 += '\0';
  }
  const CommandRun run = run_d72506({"play", "601", "--trainee", scratch.write("unicode.bas", utf16).string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(contains(run.out, "check 1: CauseErreur=\"\" ErreurGenerale=False")) << run.out;
  EXPECT_EQ(run.out, run_d72506({"play", "601", "--trainee", scratch.write("utf8.bas", text).string()}).out);
  // Without its mark, the error says what to do, not the text cut at a NUL.
  const CommandRun unmarked =
      run_d72506({"play", "601", "--trainee", scratch.write("sans.bas", utf16.substr(2)).string()});
  EXPECT_EQ(unmarked.status, 4);
  EXPECT_TRUE(contains(unmarked.err, "sans.bas: line 1: : syntax error: the script holds a NUL character: save it "
                                     "as UTF-8 text, or as UTF-16 with its byte-order mark"))
      << unmarked.err;
}

TEST(ScriptFiles, AnInitWhoseFilesCannotBeDeliveredFailsItsLineAndTheShellGoesOn) {
  const ScratchFolder scratch;
  const auto work = scratch.path() / "work";
  // A folder where the delivered file should be copied: the copy fails.
  std::filesystem::create_directories(work / "07250601.xls");
  const CommandRun run = run_d72506({"shell", "--workdir", work.string()}, "#init 601\n? 6 * 7\n");
  EXPECT_EQ(run.out, "42\n") << run.err;
  EXPECT_TRUE(contains(run.err, "07250601.xls")) << run.err;
}

}  // namespace
}  // namespace d72506::cli::testing
