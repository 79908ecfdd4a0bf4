#include "platform/fs/file_ops.hpp"

#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <functional>

#include "platform/com/error.hpp"
#include "platform/fs/attributes.hpp"
#include "temp_folder.hpp"

namespace platform::fs {
namespace {

using testing::TempFolder;

std::int32_t error_of(const std::function<void()>& call) {
  try {
    call();
  } catch (const com::Error& e) {
    return e.number();
  }
  return 0;
}

TEST(Attributes, ReadOnlyIsTheOwnerWriteBitAndBlocksKill) {
  TempFolder tmp;
  tmp.write("Thor International.xls");
  const std::string path = tmp.win() + "THOR international.XLS";
  EXPECT_EQ(GetAttr(path), attr::Normal);
  SetAttr(path, attr::ReadOnly);
  EXPECT_EQ(GetAttr(path), attr::ReadOnly);
  EXPECT_EQ(std::filesystem::status(tmp.root() / "Thor International.xls").permissions() &
                std::filesystem::perms::owner_write,
            std::filesystem::perms::none);
  EXPECT_EQ(error_of([&] { Kill(path); }), com::err::PathFileAccess);
  EXPECT_TRUE(tmp.has("Thor International.xls"));
  SetAttr(path, attr::Normal);
  Kill(path);
  EXPECT_FALSE(tmp.has("Thor International.xls"));
}

TEST(Attributes, BadRequestsRaiseTheRuntimeNumbers) {
  TempFolder tmp;
  tmp.write("a.xls");
  std::filesystem::create_directory(tmp.root() / "Folder");
  EXPECT_EQ(GetAttr(tmp.win() + "folder"), attr::Directory);
  EXPECT_EQ(error_of([&] { GetAttr(tmp.win() + "missing.xls"); }), com::err::FileNotFound);
  EXPECT_EQ(error_of([&] { SetAttr(tmp.win() + "missing.xls", 0); }), com::err::FileNotFound);
  EXPECT_EQ(error_of([&] { SetAttr(tmp.win() + "a.xls", attr::Directory); }), com::err::InvalidCall);
}

TEST(Attributes, HiddenSystemArchiveAreKeptAsSambaKeepsThem) {
  TempFolder tmp;
  if (!keeps_dos_attributes(tmp.root())) GTEST_SKIP() << "no extended attributes on " << tmp.root();
  const auto file = tmp.write("a.xls");
  SetAttr(tmp.win() + "a.xls", attr::Hidden | attr::System | attr::Archive | attr::ReadOnly);
  EXPECT_EQ(GetAttr(tmp.win() + "a.xls"), attr::Hidden | attr::System | attr::Archive | attr::ReadOnly);
  char value[32] = {};
  ASSERT_GT(::getxattr(file.c_str(), "user.DOSATTRIB", value, sizeof value), 0);
  EXPECT_STREQ(value, "0x26");
  // A value Samba wrote in its binary layout: hex text, then version and data.
  const char samba[] = "0x22\0\x03\0\x00\x00\x00\x00";
  SetAttr(tmp.win() + "a.xls", attr::Normal);
  ASSERT_EQ(::setxattr(file.c_str(), "user.DOSATTRIB", samba, sizeof samba, 0), 0);
  EXPECT_EQ(GetAttr(tmp.win() + "a.xls"), attr::Hidden | attr::Archive);
  SetAttr(tmp.win() + "a.xls", attr::Normal);
  EXPECT_EQ(GetAttr(tmp.win() + "a.xls"), attr::Normal);
}

TEST(Kill, WildcardsDeleteEveryMatchingFileAndNothingElse) {
  TempFolder tmp;
  for (const char* name : {"a.xlt", "B.XLT", "c.xls"}) tmp.write(name);
  std::filesystem::create_directory(tmp.root() / "d.xlt");
  Kill(tmp.win() + "*.xlt");
  EXPECT_FALSE(tmp.has("a.xlt"));
  EXPECT_FALSE(tmp.has("B.XLT"));
  EXPECT_TRUE(tmp.has("c.xls"));
  EXPECT_TRUE(tmp.has("d.xlt"));
  EXPECT_EQ(error_of([&] { Kill(tmp.win() + "*.xlt"); }), com::err::FileNotFound);
  EXPECT_EQ(error_of([&] { Kill(tmp.win() + "d.xlt"); }), com::err::FileNotFound);
  EXPECT_EQ(error_of([&] { Kill(tmp.win()); }), com::err::FileNotFound);
  EXPECT_TRUE(tmp.has("c.xls"));
  EXPECT_EQ(error_of([&] { Kill(tmp.win() + "nowhere\\c.xls"); }), com::err::PathNotFound);
}

TEST(Kill, OneReadOnlyMatchSparesAllOfThem) {
  TempFolder tmp;
  tmp.write("a.xlt");
  tmp.write("b.xlt");
  SetAttr(tmp.win() + "b.xlt", attr::ReadOnly);
  EXPECT_EQ(error_of([&] { Kill(tmp.win() + "*.xlt"); }), com::err::PathFileAccess);
  EXPECT_TRUE(tmp.has("a.xlt"));
  EXPECT_TRUE(tmp.has("b.xlt"));
}

TEST(Name, RenamesAndMovesAcrossFolders) {
  TempFolder tmp;
  tmp.write("07250614.xlt", "template");
  std::filesystem::create_directories(tmp.root() / "ZEQ Modèles");
  Name(tmp.win() + "07250614.XLT", tmp.win() + "zeq modèles\\Thor.xlt");
  EXPECT_FALSE(tmp.has("07250614.xlt"));
  EXPECT_EQ(tmp.read("ZEQ Modèles/Thor.xlt"), "template");
}

TEST(Name, RefusesToReplaceAndReportsMissingPieces) {
  TempFolder tmp;
  tmp.write("07250601.xls", "delivered");
  tmp.write("Thor International.xls", "old work");
  EXPECT_EQ(error_of([&] { Name(tmp.win() + "07250601.xls", tmp.win() + "thor international.xls"); }),
            com::err::FileAlreadyExists);
  EXPECT_EQ(tmp.read("07250601.xls"), "delivered");
  EXPECT_EQ(tmp.read("Thor International.xls"), "old work");
  EXPECT_EQ(error_of([&] { Name(tmp.win() + "missing.xls", tmp.win() + "x.xls"); }), com::err::FileNotFound);
  EXPECT_EQ(error_of([&] { Name(tmp.win() + "07250601.xls", tmp.win() + "no\\x.xls"); }), com::err::PathNotFound);
}

TEST(Name, RespellingTheSameFileIsNotAClash) {
  TempFolder tmp;
  tmp.write("thor.xls", "data");
  Name(tmp.win() + "thor.xls", tmp.win() + "Thor.xls");
  EXPECT_EQ(tmp.read("Thor.xls"), "data");
  EXPECT_FALSE(tmp.has("thor.xls"));
}

TEST(FileCopy, CopiesOverWritableFilesOnly) {
  TempFolder tmp;
  tmp.write("src.xls", "new");
  tmp.write("dst.xls", "old");
  FileCopy(tmp.win() + "SRC.xls", tmp.win() + "DST.xls");
  EXPECT_EQ(tmp.read("dst.xls"), "new");
  EXPECT_FALSE(tmp.has("DST.xls"));
  SetAttr(tmp.win() + "dst.xls", attr::ReadOnly);
  tmp.write("src.xls", "newer");
  EXPECT_EQ(error_of([&] { FileCopy(tmp.win() + "src.xls", tmp.win() + "dst.xls"); }), com::err::PathFileAccess);
  EXPECT_EQ(tmp.read("dst.xls"), "new");
  EXPECT_EQ(error_of([&] { FileCopy(tmp.win() + "src.xls", tmp.win() + "src.xls"); }), com::err::PathFileAccess);
  EXPECT_EQ(tmp.read("src.xls"), "newer");
  EXPECT_EQ(error_of([&] { FileCopy(tmp.win() + "none.xls", tmp.win() + "x.xls"); }), com::err::FileNotFound);
}

}  // namespace
}  // namespace platform::fs
