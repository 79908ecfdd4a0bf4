// Cleaning and renaming of the work files, seen on disk and in Excel.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/fs/attributes.hpp"
#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

class WorkFiles : public ::testing::Test {
 protected:
  void SetUp() override { D72506_SKIP_WITHOUT_STAND_IN(world); }
  ExerciseWorld world;
};

TEST_F(WorkFiles, AReadOnlyLeftoverIsReplacedByTheDeliveredFile) {
  world.build_workbook(world.working_path() / kWorkingCopy, {"Trimestre 1"}, "Range(\"D1\").Value = \"old\"");
  platform::fs::SetAttr((world.working_path() / kWorkingCopy).string(), platform::fs::attr::ReadOnly);
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_TRUE(world.read("ActiveSheet.Range(\"D1\").Value").is_empty()) << "the working copy is the delivered file";
  EXPECT_FALSE(stdfs::exists(world.working_path() / kDelivered));
}

TEST_F(WorkFiles, AnOpenWorkbookOfTheWorkingNameInAnotherCaseIsClosedUnsaved) {
  auto own = world.new_excel();
  own->set_visible(true);
  const stdfs::path elsewhere = world.root() / "ailleurs";
  stdfs::create_directories(elsewhere);
  world.build_workbook(elsewhere / "THOR INTERNATIONAL.XLS", {"Trimestre 1"});
  const Variant app(std::static_pointer_cast<com::Dispatch>(own));
  act(app, "Workbooks.Open \"" + (elsewhere / "THOR INTERNATIONAL.XLS").string() + "\"");
  act(app, "ActiveSheet.Range(\"A1\").Value = \"unsaved\"");
  act(app, "Workbooks.Add");
  world.application = own;
  world.handle = static_cast<std::int32_t>(own->main_window());
  world.deliver();

  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_EQ(world.open_workbooks().size(), 2u) << "the other workbook stays open";
  EXPECT_EQ(com::cstr(world.read("ActiveWorkbook.FullName")), (world.working_path() / kWorkingCopy).string());
  const Variant reader(std::static_pointer_cast<com::Dispatch>(world.new_excel()));
  act(reader, "Workbooks.Open \"" + (elsewhere / "THOR INTERNATIONAL.XLS").string() + "\"");
  EXPECT_TRUE(evaluate(reader, "ActiveSheet.Range(\"A1\").Value").is_empty()) << "closed without saving";
}

TEST_F(WorkFiles, FermerClosesAndDeletesTheWorkingCopyWhatTheTraineeDid) {
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  world.trainee("ActiveWorkbook.Save");
  platform::fs::SetAttr((world.working_path() / kWorkingCopy).string(), platform::fs::attr::ReadOnly);
  ASSERT_TRUE(succeeded(world.module->Fermer()));
  EXPECT_FALSE(stdfs::exists(world.working_path() / kWorkingCopy));
  EXPECT_TRUE(world.open_workbooks().empty());
}

TEST_F(WorkFiles, NoCleaningWhileExcelDoesNotAnswer) {
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  world.excel().enter_edit_mode("D1");
  // The Task Pane's state cannot be read from a busy Excel either: the
  // question stays held and the working copy stays where it is.
  const Failure f = failure_of(world.module->Fermer());
  EXPECT_EQ(f.number, com::number_from_hresult(com::RPC_E_CALL_REJECTED));
  EXPECT_TRUE(stdfs::exists(world.working_path() / kWorkingCopy));
}

}  // namespace
}  // namespace d72506::testing
