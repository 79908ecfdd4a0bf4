// What the file calls do with symbolic links (never follow them to change
// what they point to) and with names that differ only in letter case (the
// exact spelling is the file; several others are no file at all).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "platform/com/error.hpp"
#include "platform/fs/attributes.hpp"
#include "platform/fs/dir.hpp"
#include "platform/fs/file_ops.hpp"
#include "platform/fs/folders.hpp"
#include "platform/fs/path.hpp"
#include "temp_folder.hpp"

namespace platform::fs {
namespace {

namespace stdfs = std::filesystem;
using testing::TempFolder;

com::Error error_of(const std::function<void()>& call) {
  try {
    call();
  } catch (const com::Error& e) {
    return e;
  }
  return com::Error(0);
}

mode_t mode_of(const stdfs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mode & 0777;
}

// A folder outside the one the calls work in, with a protected file.
struct Elsewhere {
  TempFolder outside;
  stdfs::path target = outside.write("precious.xls", "keep me");
  Elsewhere() { ::chmod(target.c_str(), 0444); }
};

TEST(SymbolicLinks, AttributesOfALinkAreNeitherReadFromNorWrittenToItsTarget) {
  TempFolder tmp;
  Elsewhere elsewhere;
  stdfs::create_symlink(elsewhere.target, tmp.root() / "Thor International.xls");
  const std::string link = tmp.win() + "Thor International.xls";

  EXPECT_EQ(GetAttr(link), attr::Normal) << "the target's read-only bit is not the link's";
  SetAttr(link, attr::Normal);
  SetAttr(link, attr::ReadOnly | attr::Hidden);
  EXPECT_EQ(mode_of(elsewhere.target), 0444u);
  EXPECT_TRUE(stdfs::is_symlink(stdfs::symlink_status(tmp.root() / "Thor International.xls")));
}

TEST(SymbolicLinks, KillRemovesTheLinkAndLeavesItsTarget) {
  TempFolder tmp;
  Elsewhere elsewhere;
  stdfs::create_symlink(elsewhere.target, tmp.root() / "a.xlt");
  stdfs::create_symlink(elsewhere.outside.root(), tmp.root() / "b.xlt");  // a link to a folder
  stdfs::create_symlink(tmp.root() / "nowhere", tmp.root() / "c.xlt");    // a dangling one
  Kill(tmp.win() + "*.xlt");
  for (const char* name : {"a.xlt", "b.xlt", "c.xlt"})
    EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(tmp.root() / name))) << name;
  EXPECT_EQ(elsewhere.outside.read("precious.xls"), "keep me");
}

TEST(SymbolicLinks, AFolderListingShowsLinksAsPlainEntriesThatKillCanRemove) {
  TempFolder tmp;
  Elsewhere elsewhere;
  stdfs::create_symlink(elsewhere.outside.root(), tmp.root() / "linked");
  EXPECT_EQ(Dir(tmp.win() + "*.*", attr::Directory), ".");
  EXPECT_EQ(Dir(), "..");
  EXPECT_EQ(Dir(), "linked");
  Kill(tmp.win() + "linked");
  EXPECT_TRUE(stdfs::exists(elsewhere.target)) << "the folder it named and its files stay";
}

TEST(SymbolicLinks, NameAndFileCopyRefuseToGoThroughLinks) {
  TempFolder tmp;
  Elsewhere elsewhere;
  tmp.write("07250601.xls", "delivered");
  stdfs::create_symlink(elsewhere.target, tmp.root() / "link.xls");
  EXPECT_EQ(error_of([&] { Name(tmp.win() + "link.xls", tmp.win() + "moved.xls"); }).number(),
            com::err::PathFileAccess);
  EXPECT_EQ(error_of([&] { Name(tmp.win() + "07250601.xls", tmp.win() + "link.xls"); }).number(),
            com::err::FileAlreadyExists);
  ::chmod(elsewhere.target.c_str(), 0644);
  EXPECT_EQ(error_of([&] { FileCopy(tmp.win() + "07250601.xls", tmp.win() + "link.xls"); }).number(),
            com::err::PathFileAccess);
  EXPECT_EQ(elsewhere.outside.read("precious.xls"), "keep me");
  EXPECT_EQ(tmp.read("07250601.xls"), "delivered");
}

TEST(SymbolicLinks, OnlyTheLastComponentCountsAsALink) {
  TempFolder tmp;
  Elsewhere elsewhere;
  stdfs::create_symlink(elsewhere.outside.root(), tmp.root() / "Modèles");
  EXPECT_TRUE(is_symbolic_link(tmp.win() + "Modèles\\"));
  EXPECT_TRUE(is_symbolic_link(tmp.win() + "modèles"));
  EXPECT_FALSE(is_symbolic_link(tmp.win() + "Modèles\\precious.xls"));
  EXPECT_FALSE(is_symbolic_link(tmp.win()));
  EXPECT_FALSE(is_symbolic_link(tmp.win() + "missing"));
}

TEST(LetterCase, TheExactSpellingIsTheFileWhenSeveralAnswer) {
  TempFolder tmp;
  tmp.write("Thor International.xls", "exact");
  tmp.write("thor international.XLS", "other");
  EXPECT_EQ(host_path(tmp.win() + "Thor International.xls").filename(), "Thor International.xls");
  Kill(tmp.win() + "Thor International.xls");
  EXPECT_EQ(tmp.read("thor international.XLS"), "other");
}

TEST(LetterCase, SeveralOtherSpellingsAndNoExactOneFailAndNameThem) {
  TempFolder tmp;
  tmp.write("thor international.XLS", "one");
  tmp.write("THOR International.xls", "two");
  const std::string wanted = tmp.win() + "Thor International.xls";
  for (const auto& call : std::vector<std::function<void()>>{[&] { Kill(wanted); },
                                                            [&] { SetAttr(wanted, attr::ReadOnly); },
                                                            [&] { Name(wanted, tmp.win() + "x.xls"); },
                                                            [&] { GetAttr(wanted); }}) {
    const com::Error e = error_of(call);
    EXPECT_EQ(e.number(), com::err::PathFileAccess);
    EXPECT_NE(e.description().find("'THOR International.xls', 'thor international.XLS'"), std::string::npos)
        << e.description();
  }
  EXPECT_EQ(tmp.read("thor international.XLS"), "one");
  EXPECT_EQ(tmp.read("THOR International.xls"), "two");
  EXPECT_EQ(mode_of(tmp.root() / "THOR International.xls") & 0200, 0200u);
  // One other spelling alone is the file, as on the original's volumes.
  Kill(tmp.win() + "THOR International.xls");
  Kill(wanted);
  EXPECT_FALSE(tmp.has("thor international.XLS"));
  EXPECT_EQ(error_of([&] { Kill(wanted); }).number(), com::err::FileNotFound);
}

TEST(LetterCase, RequireOneSpellingRefusesTheExactOneBesideAnother) {
  TempFolder tmp;
  tmp.write("Thor International.xls");
  require_one_spelling(tmp.win() + "Thor International.xls");
  require_one_spelling(tmp.win() + "missing.xls");
  tmp.write("thor international.XLS");
  const com::Error e = error_of([&] { require_one_spelling(tmp.win() + "Thor International.xls"); });
  EXPECT_EQ(e.number(), com::err::PathFileAccess);
  EXPECT_NE(e.description().find("in letter case only"), std::string::npos) << e.description();
}

}  // namespace
}  // namespace platform::fs
