// Excel's current folder follows the question through the macro workbook,
// which is never left open.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

bool macro_workbook_open(ExerciseWorld& world) {
  const auto names = world.open_workbooks();
  return std::any_of(names.begin(), names.end(), [](const std::string& n) { return n == "X72506.xls"; });
}

TEST(WorkingFolder, FollowsTheQuestionAndComesBackAtTheEnd) {
  ExerciseWorld world;
  D72506_SKIP_WITHOUT_STAND_IN(world);
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_EQ(world.excel().current_folder() + "/", world.working());
  EXPECT_FALSE(macro_workbook_open(world));

  world.trainee("Workbooks.Add");
  auto excel = std::dynamic_pointer_cast<engine::app::Application>(world.application);
  ASSERT_TRUE(succeeded(world.quit()));
  EXPECT_EQ(excel->current_folder(), world.documents().string());
  EXPECT_EQ(excel->open_workbooks().size(), 1u) << "only the trainee's workbook";
  world.application = excel;  // quit with the world
}

TEST(WorkingFolder, AFailingMacroLeavesTheMacroWorkbookClosed) {
  ExerciseWorld world;
  D72506_SKIP_WITHOUT_STAND_IN(world);
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  world.trainee("Workbooks.Add");
  stdfs::remove_all(world.documents());
  const Failure f = failure_of(world.quit());
  EXPECT_NE(f.source.find("SERVICE ChangeDir"), std::string::npos) << f.source;
  EXPECT_FALSE(macro_workbook_open(world));
}

}  // namespace
}  // namespace d72506::testing
