// Files that are not the module's stay as they are, whatever the working
// and templates folders hold: links under working names, folders that are
// links, the trainee's files whose names differ only in letter case, and the
// module's own macro workbook, which no trainee's statement can replace.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

mode_t mode_of(const stdfs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mode & 0777;
}

std::string contents(const stdfs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void write(const stdfs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

class ForeignFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    D72506_SKIP_WITHOUT_STAND_IN(world);
    stdfs::create_directories(outside);
    write(precious, "the user's own");
    ::chmod(precious.c_str(), 0444);
  }

  // A failed call's text, for the messages of the expectations below.
  static std::string text_of(const Failure& f) { return f.source + " | " + f.description; }

  ExerciseWorld world;
  const stdfs::path outside = world.root() / "ailleurs";
  const stdfs::path precious = outside / "précieux.xls";
};

TEST_F(ForeignFiles, ALinkUnderTheWorkingNameIsRemovedAndItsTargetKept) {
  stdfs::create_symlink(precious, world.working_path() / kWorkingCopy);
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_FALSE(stdfs::is_symlink(world.working_path() / kWorkingCopy)) << "the delivered file took its place";
  EXPECT_EQ(mode_of(precious), 0444u) << "the target's protection is not lifted";
  EXPECT_EQ(contents(precious), "the user's own");
  ASSERT_TRUE(succeeded(world.module->Fermer()));
  EXPECT_EQ(contents(precious), "the user's own");
}

TEST_F(ForeignFiles, ATemplatesFolderThatIsALinkIsRefusedBeforeAnythingIsDeleted) {
  const stdfs::path templates = world.course_templates();
  stdfs::create_directories(templates.parent_path());
  stdfs::create_symlink(outside, templates);
  write(outside / "Thor.xlt", "not a course template");
  stdfs::copy_file(stdfs::path(D72506_EXERCISE_FILES) / "07250615.xls", world.working_path() / "07250615.xls");

  const Failure f = failure_of(world.init(615));
  EXPECT_EQ(f.number, com::err::PathFileAccess);
  EXPECT_NE(f.source.find("SERVICE InitQuestion"), std::string::npos) << text_of(f);
  EXPECT_NE(f.description.find("is a symbolic link"), std::string::npos) << text_of(f);
  EXPECT_EQ(contents(outside / "Thor.xlt"), "not a course template");
  EXPECT_EQ(contents(precious), "the user's own");
  EXPECT_TRUE(succeeded(world.quit()));
  EXPECT_TRUE(stdfs::exists(outside / "Thor.xlt"));
}

TEST_F(ForeignFiles, AWorkingFolderThatIsALinkIsRefused) {
  world.deliver();
  const stdfs::path linked = world.root() / "lien";
  stdfs::create_symlink(world.working_path(), linked);
  const Failure f = failure_of(world.module->InitQuestion(601, linked.string() + "/", world.application, world.handle));
  EXPECT_NE(f.description.find("is a symbolic link"), std::string::npos) << text_of(f);
  EXPECT_TRUE(stdfs::exists(world.working_path() / kDelivered)) << "nothing renamed";
}

// Deleting the exact spelling would leave the other to be taken for the
// working copy by the next clean-up: the run stops before either is touched.
TEST_F(ForeignFiles, TwoFilesOfTheWorkingNameInDifferentCaseAreBothKept) {
  write(world.working_path() / kWorkingCopy, "exact");
  write(world.working_path() / "thor international.XLS", "other");
  world.deliver();
  const Failure f = failure_of(world.init());
  EXPECT_EQ(f.number, com::err::PathFileAccess);
  EXPECT_NE(f.source.find("SERVICE Nettoyage"), std::string::npos) << text_of(f);
  EXPECT_NE(f.description.find("'Thor International.xls', 'thor international.XLS'"), std::string::npos)
      << text_of(f);
  world.quit();  // cleans again on the way out, and refuses again
  EXPECT_EQ(contents(world.working_path() / kWorkingCopy), "exact");
  EXPECT_EQ(contents(world.working_path() / "thor international.XLS"), "other");
}

TEST_F(ForeignFiles, OneOtherSpellingAloneIsTheWorkingCopy) {
  write(world.working_path() / "THOR INTERNATIONAL.XLS", "left by a previous attempt");
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_FALSE(stdfs::exists(world.working_path() / "THOR INTERNATIONAL.XLS"));
  EXPECT_TRUE(stdfs::exists(world.working_path() / kWorkingCopy));
}

TEST_F(ForeignFiles, TheMacroWorkbookCannotBeSavedOverByTheTrainee) {
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  const stdfs::path macros = binary_folder() / "X72506.xls";
  const std::string before = contents(macros);
  EXPECT_EQ(mode_of(macros) & 0222, 0u) << "the module keeps its own file read-only";

  for (const std::string& attempt :
       {"ActiveWorkbook.SaveAs \"" + macros.string() + "\"",
        "Workbooks.Open \"" + macros.string() + "\"\nWorkbooks(\"X72506.xls\").Save"}) {
    try {
      world.trainee(attempt);
      ADD_FAILURE() << "the trainee wrote over the macro workbook: " << attempt;
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos) << e.what();
    }
    EXPECT_EQ(contents(macros), before);
  }
  ASSERT_TRUE(succeeded(world.quit())) << "the macros still run";
}

}  // namespace
}  // namespace d72506::testing
