// The folders a run works in and what it leaves behind: delivery never
// writes through a link, a folder path the module would misread is refused,
// an interrupted run removes its temporary folders, and standard output
// holds nothing but the command's own report.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "command_run.hpp"

extern char** environ;

namespace d72506::cli::testing {
namespace {

namespace stdfs = std::filesystem;
using nlohmann::json;

std::string contents(const stdfs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::size_t entries(const stdfs::path& folder) {
  return static_cast<std::size_t>(std::distance(stdfs::directory_iterator(folder), stdfs::directory_iterator()));
}

TEST(RunFolders, DeliveryReplacesALinkAndLeavesItsTarget) {
  const ScratchFolder scratch;
  const stdfs::path target = scratch.write("précieux.xls", "the user's own");
  ::chmod(target.c_str(), 0444);
  const stdfs::path work = scratch.path() / "travail";
  stdfs::create_directories(work);
  stdfs::create_symlink(target, work / "07250601.xls");

  const CommandRun run = run_d72506({"play", "601", "--workdir", work.string(), "--templates-root",
                                     scratch.path().string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(contents(target), "the user's own");
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
}

TEST(RunFolders, AFolderPathWithABackslashIsRefusedBeforeAnythingIsCreated) {
  const ScratchFolder scratch;
  const std::string literal = (scratch.path() / "wdb\\x").string();
  for (const char* option : {"--workdir", "--templates-root"}) {
    SCOPED_TRACE(option);
    stdfs::create_directories(literal);  // --templates-root wants an existing folder
    const CommandRun run = run_d72506({"play", "601", option, literal});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("backslash"), std::string::npos) << run.err;
    EXPECT_FALSE(stdfs::exists(scratch.path() / "wdb")) << "the module would have worked in wdb/x";
    stdfs::remove(literal);
  }
  stdfs::create_directories(literal);  // the system's temporary folder, named so
  const CommandRun run = run_d72506_with({"TMPDIR=" + literal}, {"play", "601"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("backslash"), std::string::npos) << run.err;
}

// A shell waiting on its input, with its temporary folders in `tmpdir`.
pid_t start_waiting_shell(const stdfs::path& tmpdir, int& input) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[1]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> env = {"TMPDIR=" + tmpdir.string()};
  for (char** e = environ; *e; ++e)
    if (std::string_view(*e).rfind("TMPDIR=", 0) != 0) env.emplace_back(*e);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = D72506_COMMAND, shell = "shell";
  char* argv[] = {program.data(), shell.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[0]);
  input = fds[1];
  return pid;
}

TEST(RunFolders, AnInterruptedRunRemovesItsTemporaryFolders) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    const ScratchFolder tmpdir;
    int input = -1;
    const pid_t pid = start_waiting_shell(tmpdir.path(), input);
    ASSERT_GT(pid, 0);
    // The working and templates folders appear once the shell is ready.
    for (int i = 0; i < 600 && entries(tmpdir.path()) < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(entries(tmpdir.path()), 2u);
    ::kill(pid, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(input);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "ends as the signal says: " << status;
    EXPECT_EQ(entries(tmpdir.path()), 0u) << "nothing left behind";
  }
}

// The summary of a workbook the trainee opens is damaged: the report on
// standard output still parses.
TEST(RunFolders, ADamagedSummaryLeavesTheJsonReportWhole) {
  const ScratchFolder scratch;
  const stdfs::path book = scratch.path() / "résumé abîmé.xls";
  const auto save = scratch.write("save.bas", "Workbooks.Add\nActiveWorkbook.SaveAs \"" + book.string() +
                                                  "\"\nActiveWorkbook.Close\n");
  ASSERT_EQ(run_d72506({"play", "601", "--workdir", scratch.path().string(), "--trainee", save.string()}).status, 0);

  std::string bytes = contents(book);
  const std::string summary_format("\xE0\x85\x9F\xF2\xF9\x4F\x68\x10", 8);
  const auto at = bytes.find(summary_format);
  ASSERT_NE(at, std::string::npos);
  for (std::size_t i = at + 16; i < std::min(bytes.size(), at + 120); ++i) bytes[i] = static_cast<char>(0xFF);
  std::ofstream(book, std::ios::binary | std::ios::trunc) << bytes;

  const auto open = scratch.write("open.bas", "Workbooks.Open \"" + book.string() + "\"\nWorkbooks(1).Activate\n");
  const CommandRun run = run_d72506({"play", "601", "--json", "--trainee", open.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NO_THROW(json::parse(run.out)) << run.out;
}

// A trainee's script saves into the run's working folder and nowhere else:
// a file outside, named outright or reached by "..", is left exactly as it
// was, nothing new appears there, and the script stops on Excel's 1004.
TEST(RunFolders, ATraineeSavesNothingOutsideTheWorkingFolder) {
  const ScratchFolder scratch;
  const stdfs::path work = scratch.path() / "work";
  stdfs::create_directory(work);
  const stdfs::path important = scratch.write("important.xls", "the trainee's own file\n");
  stdfs::last_write_time(important, stdfs::last_write_time(important) - std::chrono::hours(48));
  const auto written = stdfs::last_write_time(important);
  const auto entries_beside = [&] { return std::distance(stdfs::directory_iterator(scratch.path()), {}); };

  const struct {
    const char* name;
    std::string target;
  } cases[] = {{"absolute.bas", important.string()}, {"dotdot.bas", work.string() + "\\..\\important.xls"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto script = scratch.write(c.name, "Workbooks.Add\nActiveWorkbook.SaveAs \"" + (work / "mine.xls").string() +
                                                  "\"\nActiveWorkbook.SaveAs \"" + c.target + "\"\n");
    const auto before = entries_beside();
    const CommandRun run =
        run_d72506({"play", "601", "--json", "--workdir", work.string(), "--trainee", script.string()});
    EXPECT_EQ(run.status, 4) << run.err;
    const json error = json::parse(run.out).at("error");
    EXPECT_EQ(error.at("line"), 3);
    EXPECT_EQ(error.at("number"), 1004);
    EXPECT_TRUE(stdfs::is_regular_file(work / "mine.xls")) << "saving inside still works";
    EXPECT_EQ(contents(important), "the trainee's own file\n");
    EXPECT_EQ(stdfs::last_write_time(important), written);
    EXPECT_EQ(entries_beside(), before) << "nothing new beside the working folder";
  }
}

// The module's macro workbook, damaged beside a copy of the command: every
// run fails with the file named, never a crash.
TEST(RunFolders, ADamagedMacroWorkbookIsAClearFailure) {
  const ScratchFolder scratch;
  const stdfs::path command = scratch.path() / "d72506";
  stdfs::copy_file(D72506_COMMAND, command);
  const stdfs::path exercises = stdfs::path(D72506_COMMAND).parent_path().parent_path() / "exercises";
  const std::string intact = contents(stdfs::path(D72506_COMMAND).parent_path() / "X72506.xls");
  ASSERT_GT(intact.size(), 512u);
  for (const std::string& damaged : {std::string(), intact.substr(0, 512), std::string(intact.size(), '\xFF')}) {
    const stdfs::path macros = scratch.path() / "X72506.xls";
    stdfs::remove(macros);
    std::ofstream(macros, std::ios::binary) << damaged;
    CommandRun run;
    {
      std::vector<std::string> words = {command.string(), "play", "601", "--exercises", exercises.string()};
      const std::string out = (scratch.path() / "out").string(), err = (scratch.path() / "err").string();
      std::string line;
      for (const auto& w : words) line += "'" + w + "' ";
      const int status = std::system((line + ">'" + out + "' 2>'" + err + "'").c_str());
      run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      run.err = contents(err);
    }
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("X72506.xls"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace d72506::cli::testing
