#include "platform/fs/dir.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/com/error.hpp"
#include "platform/fs/folders.hpp"
#include "temp_folder.hpp"

namespace platform::fs {
namespace {

using testing::TempFolder;

std::vector<std::string> listing(std::string_view pattern, std::int32_t mask = attr::Normal) {
  std::vector<std::string> names;
  for (std::string name = Dir(pattern, mask); !name.empty(); name = Dir()) names.push_back(name);
  return names;
}

using Names = std::vector<std::string>;

class DirListing : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"Thor.xls", "b.TXT", "noext", "Les Modèles.xls"}) tmp.write(name);
    std::filesystem::create_directory(tmp.root() / "Sub");
  }
  TempFolder tmp;
};

TEST_F(DirListing, StarDotStarAndStarListEveryFileInCaseInsensitiveOrder) {
  const Names files{"b.TXT", "Les Modèles.xls", "noext", "Thor.xls"};
  EXPECT_EQ(listing(tmp.win() + "*.*"), files);
  EXPECT_EQ(listing(tmp.win() + "*"), files);
  EXPECT_EQ(listing(tmp.win()), files);
}

TEST_F(DirListing, WildcardsMatchWithoutRegardToCase) {
  EXPECT_EQ(listing(tmp.win() + "*.XLS"), (Names{"Les Modèles.xls", "Thor.xls"}));
  EXPECT_EQ(listing(tmp.win() + "t?or.*"), Names{"Thor.xls"});
  EXPECT_EQ(listing(tmp.win() + "les modÈles.xls"), Names{"Les Modèles.xls"});
  EXPECT_EQ(listing(tmp.win() + "noext.*"), Names{"noext"});
  EXPECT_EQ(listing(tmp.win() + "*.xl"), Names{});
  EXPECT_EQ(listing(tmp.win() + "Thor.xls?"), Names{"Thor.xls"});
}

TEST_F(DirListing, FoldersAndDotEntriesOnlyWithTheDirectoryBit) {
  EXPECT_EQ(listing(tmp.win() + "*.*", attr::Directory),
            (Names{".", "..", "b.TXT", "Les Modèles.xls", "noext", "Sub", "Thor.xls"}));
  EXPECT_EQ(listing(tmp.win() + "sub", attr::Directory), Names{"Sub"});
  EXPECT_EQ(listing(tmp.win() + "sub"), Names{});
}

TEST_F(DirListing, FolderExistenceTestAsTheTemplatesFolderIsChecked) {
  const std::string folder = tmp.win() + "SUB\\";
  EXPECT_EQ(Dir(folder, attr::Directory), ".");
  EXPECT_EQ(Dir(tmp.win() + "Missing\\", attr::Directory), "");
  EXPECT_EQ(Dir(tmp.win() + "Missing\\*.*"), "");
  EXPECT_TRUE(folder_exists(folder));
  EXPECT_FALSE(folder_exists(tmp.win() + "Thor.xls"));
}

TEST_F(DirListing, ContinuingWithoutAListingIsAnInvalidCall) {
  EXPECT_EQ(Dir(tmp.win() + "Thor.xls"), "Thor.xls");
  EXPECT_EQ(Dir(), "");
  try {
    Dir();
    FAIL() << "Dir() after the end of the listing";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), com::err::InvalidCall);
  }
}

TEST_F(DirListing, EachThreadKeepsItsOwnListing) {
  EXPECT_EQ(Dir(tmp.win() + "*.xls"), "Les Modèles.xls");
  std::thread([&] { EXPECT_EQ(Dir(tmp.win() + "*.txt"), "b.TXT"); }).join();
  EXPECT_EQ(Dir(), "Thor.xls");
}

TEST_F(DirListing, HiddenAndSystemFilesNeedTheirBits) {
  if (!keeps_dos_attributes(tmp.root())) GTEST_SKIP() << "no extended attributes on " << tmp.root();
  SetAttr(tmp.win() + "noext", attr::Hidden);
  SetAttr(tmp.win() + "b.txt", attr::System | attr::ReadOnly);
  EXPECT_EQ(listing(tmp.win() + "*.*"), (Names{"Les Modèles.xls", "Thor.xls"}));
  EXPECT_EQ(listing(tmp.win() + "*.*", attr::Hidden), (Names{"Les Modèles.xls", "noext", "Thor.xls"}));
  EXPECT_EQ(listing(tmp.win() + "*.*", attr::System), (Names{"b.TXT", "Les Modèles.xls", "Thor.xls"}));
  EXPECT_EQ(listing(tmp.win() + "*.*", 55).size(), 7u);  // every entry, as the templates clean-up asks
}

}  // namespace
}  // namespace platform::fs
