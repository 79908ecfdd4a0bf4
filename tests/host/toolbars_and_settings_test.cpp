// Toolbars arranged for each question; the trainee's settings saved when the
// module takes over their running Excel, and put back when it quits.
#include <gtest/gtest.h>

#include "platform/excel/constants.hpp"
#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

using namespace platform::excel;

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    D72506_SKIP_WITHOUT_STAND_IN(world);
    world.deliver();
    trainee_excel = world.new_excel();
    trainee_excel->set_visible(true);  // running and shown: the module attaches to it
  }

  void trainee(const std::string& statements) {
    act(Variant(std::static_pointer_cast<com::Dispatch>(trainee_excel)), statements);
  }
  const engine::app::CommandBarState& bar(const char* name) {
    auto& bars = trainee_excel->command_bars();
    return bars.at(*bars.index_of(name));
  }

  ExerciseWorld world;
  std::shared_ptr<engine::app::Application> trainee_excel;
};

TEST_F(Settings, TheTraineesSettingsAreSavedChangedAndRestored) {
  trainee("CommandBars(\"Standard\").Position = 3");
  trainee("CommandBars(\"Formatting\").Visible = False");
  trainee("CommandBars(\"PivotTable\").Visible = True");
  trainee("CommandBars(\"Watch Window\").Visible = True");  // bar 19
  trainee_excel->set_show_tool_tips(false);
  trainee_excel->set_show_startup_dialog(false);
  trainee_excel->set_display_comment_indicator(xlCommentAndIndicator);

  ASSERT_TRUE(succeeded(world.init()));
  ASSERT_EQ(world.application, trainee_excel) << "the running Excel is the one obtained";
  EXPECT_EQ(bar("Standard").position, msoBarTop);
  EXPECT_TRUE(bar("Standard").visible && bar("Standard").enabled);
  EXPECT_TRUE(bar("Formatting").visible);
  EXPECT_EQ(bar("Formatting").position, msoBarTop);
  EXPECT_TRUE(trainee_excel->show_tool_tips());
  EXPECT_EQ(trainee_excel->display_comment_indicator(), xlNoIndicator);
  EXPECT_EQ(trainee_excel->current_folder() + "/", world.working());

  world.trainee("CommandBars(\"PivotTable\").Visible = False");
  world.trainee("CommandBars(\"Watch Window\").Visible = False");
  world.trainee("Workbooks.Add");  // keeps Excel running after Quitter
  ASSERT_TRUE(succeeded(world.quit()));

  EXPECT_TRUE(bar("Standard").visible);
  EXPECT_EQ(bar("Standard").position, msoBarTop) << "positions are not restored";
  EXPECT_FALSE(bar("Formatting").visible);
  EXPECT_TRUE(bar("PivotTable").visible);
  EXPECT_FALSE(bar("Watch Window").visible) << "bars beyond the eighteenth keep their state";
  EXPECT_FALSE(trainee_excel->show_tool_tips());
  EXPECT_FALSE(trainee_excel->show_startup_dialog());
  EXPECT_EQ(trainee_excel->display_comment_indicator(), xlCommentAndIndicator);
  EXPECT_EQ(trainee_excel->current_folder(), world.documents().string());
  EXPECT_EQ(world.application, nullptr);
}

TEST_F(Settings, TheDrawingBarIsEnabledAndMovedOnlyWhenShown) {
  trainee("CommandBars(\"Drawing\").Enabled = False");
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_TRUE(bar("Drawing").enabled);
  EXPECT_FALSE(bar("Drawing").visible) << "a hidden drawing bar stays hidden";

  world.trainee("CommandBars(\"Drawing\").Position = 1");
  world.trainee("CommandBars(\"Drawing\").Visible = True");
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_TRUE(bar("Drawing").visible);
  EXPECT_EQ(bar("Drawing").position, msoBarBottom);
}

TEST_F(Settings, TheTaskPaneFollowsItsStateAtTheEndOfThePreviousQuestion) {
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_FALSE(bar("Task Pane").visible) << "nothing closed yet: hidden";
  EXPECT_EQ(bar("Task Pane").position, msoBarRight);

  world.trainee("CommandBars(\"Task Pane\").Visible = True");
  ASSERT_TRUE(succeeded(world.module->Fermer()));
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_TRUE(bar("Task Pane").visible);
}

TEST_F(Settings, ADisabledTaskPaneIsLeftAlone) {
  trainee("CommandBars(\"Task Pane\").Position = 1");
  trainee("CommandBars(\"Task Pane\").Enabled = False");
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_FALSE(bar("Task Pane").enabled);
  EXPECT_EQ(bar("Task Pane").position, msoBarTop);
}

}  // namespace
}  // namespace d72506::testing
