#include "platform/fs/folders.hpp"

#include <gtest/gtest.h>

#include "platform/com/error.hpp"
#include "temp_folder.hpp"

namespace platform::fs {
namespace {

using testing::TempFolder;

std::int32_t error_of(void (*call)(std::string_view), const std::string& path) {
  try {
    call(path);
  } catch (const com::Error& e) {
    return e.number();
  }
  return 0;
}

TEST(MakeSureDirectoryPathExists, CreatesEveryMissingLevelUpToTheLastSeparator) {
  TempFolder tmp;
  EXPECT_TRUE(MakeSureDirectoryPathExists(tmp.win() + "Templates\\Excel\\ZEQ Modèles\\"));
  EXPECT_TRUE(std::filesystem::is_directory(tmp.root() / "Templates/Excel/ZEQ Modèles"));
  EXPECT_TRUE(MakeSureDirectoryPathExists(tmp.win() + "a/b\\file.xls"));
  EXPECT_TRUE(std::filesystem::is_directory(tmp.root() / "a/b"));
  EXPECT_FALSE(tmp.has("a/b/file.xls"));
}

TEST(MakeSureDirectoryPathExists, ReusesLevelsSpelledInAnotherCase) {
  TempFolder tmp;
  std::filesystem::create_directory(tmp.root() / "Templates");
  EXPECT_TRUE(MakeSureDirectoryPathExists(tmp.win() + "TEMPLATES\\zeq modèles\\"));
  EXPECT_FALSE(tmp.has("TEMPLATES"));
  EXPECT_TRUE(std::filesystem::is_directory(tmp.root() / "Templates/zeq modèles"));
  EXPECT_TRUE(folder_exists(tmp.win() + "templates\\ZEQ MODÈLES\\"));
}

TEST(MakeSureDirectoryPathExists, FailsWhenAFileIsInTheWay) {
  TempFolder tmp;
  tmp.write("Templates");
  EXPECT_FALSE(MakeSureDirectoryPathExists(tmp.win() + "Templates\\ZEQ Modèles\\"));
}

TEST(Folders, MkDirAndRmDirFollowTheRuntimeErrors) {
  TempFolder tmp;
  MkDir(tmp.win() + "New");
  EXPECT_TRUE(folder_exists(tmp.win() + "new"));
  EXPECT_EQ(error_of(MkDir, tmp.win() + "NEW"), com::err::PathFileAccess);
  EXPECT_EQ(error_of(MkDir, tmp.win() + "none\\x"), com::err::PathNotFound);
  tmp.write("New/file.xls");
  EXPECT_EQ(error_of(RmDir, tmp.win() + "new"), com::err::PathFileAccess);
  std::filesystem::remove(tmp.root() / "New/file.xls");
  RmDir(tmp.win() + "new\\");
  EXPECT_FALSE(tmp.has("New"));
  EXPECT_EQ(error_of(RmDir, tmp.win() + "new"), com::err::PathNotFound);
}

}  // namespace
}  // namespace platform::fs
