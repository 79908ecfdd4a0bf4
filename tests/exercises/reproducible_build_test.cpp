// Building an exercise file again gives the same bytes: nothing of the time,
// the machine or the user enters the delivered files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/exercises/exercise_world.hpp"

namespace exercises::testing {
namespace {

namespace fs = std::filesystem;

std::string bytes_of(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int build(const fs::path& script, const fs::path& output) {
  const std::string command = std::string("'") + D72506_BUILD_EXERCISE + "' '" + script.string() + "' '" +
                              output.string() + "' 2>/dev/null";
  return std::system(command.c_str());
}

TEST(ReproducibleBuild, EveryFileRebuildsToTheSameBytes) {
  TemporaryFolder folder;
  for (const char* name : {"07250601.xls", "07250608.xls", "07250611.xls", "07250614.xlt", "07250615.xls",
                           "X72506.xls"}) {
    SCOPED_TRACE(name);
    const fs::path output = folder.path / name;
    ASSERT_EQ(build(source_file("workbooks") / (fs::path(name).stem().string() + ".bas"), output), 0);
    EXPECT_EQ(bytes_of(output), bytes_of(built_file(name)));
  }
}

TEST(ReproducibleBuild, AScriptThatDoesNotSaveItsFileFailsTheBuild) {
  TemporaryFolder folder;
  const fs::path script = folder.path / "forgets.bas";
  std::ofstream(script) << "Workbooks.Add\n";
  const fs::path output = folder.path / "07250601.xls";
  std::ofstream(output) << "an old build";
  EXPECT_NE(build(script, output), 0);
  EXPECT_FALSE(fs::exists(output)) << "the stale file must not pass for the new one";
}

TEST(ReproducibleBuild, IncludeCyclesAndUnknownHostLinesFailTheBuild) {
  TemporaryFolder folder;
  std::ofstream(folder.path / "a.bas") << "#include b.bas\n";
  std::ofstream(folder.path / "b.bas") << "#include a.bas\n";
  std::ofstream(folder.path / "c.bas") << "#check\n";
  EXPECT_NE(build(folder.path / "a.bas", folder.path / "out.xls"), 0);
  EXPECT_NE(build(folder.path / "c.bas", folder.path / "out.xls"), 0);
}

}  // namespace
}  // namespace exercises::testing
