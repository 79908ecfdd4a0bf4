// The player's folders and delivery: a temporary folder goes with its owner
// and a named one stays; a question's files are copied over older copies and
// a missing one is named, not invented; question numbers are decimal.
#include <gtest/gtest.h>

#include <fstream>

#include "player/exercise_files.hpp"
#include "player/folder.hpp"
#include "player/question_number.hpp"

namespace d72506::player {
namespace {

namespace stdfs = std::filesystem;

TEST(Folders, TemporaryGoesWithItsOwnerAndNamedStays) {
  stdfs::path temporary_path;
  {
    const Folder temporary = Folder::temporary("d72506-player-test");
    temporary_path = temporary.path();
    std::ofstream(temporary_path / "inside.txt") << "x";
    ASSERT_TRUE(stdfs::is_directory(temporary_path));
  }
  EXPECT_FALSE(stdfs::exists(temporary_path));

  const Folder owner = Folder::temporary("d72506-player-test");
  const stdfs::path named = owner.path() / "a" / "b";
  { const Folder kept = Folder::named_or_temporary(named, "unused"); }
  EXPECT_TRUE(stdfs::is_directory(named)) << "a named folder is created and kept";

  std::ofstream(owner.path() / "file") << "x";
  EXPECT_THROW(Folder::kept(owner.path() / "file"), stdfs::filesystem_error);
}

TEST(Folders, AMovedFolderIsRemovedOnceOnly) {
  stdfs::path path;
  {
    Folder first = Folder::temporary("d72506-player-test");
    path = first.path();
    const Folder second(std::move(first));
    EXPECT_TRUE(stdfs::is_directory(path));
  }
  EXPECT_FALSE(stdfs::exists(path));
}

TEST(Delivery, CopiesTheQuestionsFileOverAnOlderCopyAndNamesAMissingOne) {
  const Folder working = Folder::temporary("d72506-player-test");
  std::ofstream(working.path() / "07250601.xls") << "stale";
  EXPECT_TRUE(deliver(601, D72506_EXERCISE_FILES, working.path()).empty());
  EXPECT_EQ(stdfs::file_size(working.path() / "07250601.xls"),
            stdfs::file_size(stdfs::path(D72506_EXERCISE_FILES) / "07250601.xls"));

  const Folder empty = Folder::temporary("d72506-player-test");
  EXPECT_EQ(deliver(614, empty.path(), working.path()), std::vector<std::string>{"07250614.xlt"});
  EXPECT_TRUE(deliver(600, D72506_EXERCISE_FILES, working.path()).empty()) << "outside the chapter: nothing";
}

TEST(QuestionNumbers, AreDecimalDigitsThatFitTheModulesArgument) {
  EXPECT_EQ(parse_question_number("0601"), 601);
  EXPECT_EQ(parse_question_number("615"), 615);
  for (const char* bad : {"", "-601", "+601", "60l", "6 01", "0x259", "99999999999"}) {
    EXPECT_EQ(parse_question_number(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace d72506::player
