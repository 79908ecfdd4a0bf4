// What only the template questions reach in the controller, driven as the
// course player drives it: 613 cleans three templates and skips the
// pre-check, 614 moves its delivered template into the templates folder,
// keeps the window state and activates nothing, so that an Excel left
// without a workbook gets a blank one and its task pane; 615 is pre-checked
// on its answer sheet and empties the templates folder the module computes.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/excel/constants.hpp"
#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

namespace excel = platform::excel;

constexpr const char* kAnswers = "Les Modèles.xls";

class Templates : public ::testing::Test {
 protected:
  void SetUp() override { D72506_SKIP_WITHOUT_STAND_IN(world); }

  // The built exercise file as the player delivers it.
  void deliver(const std::string& name) {
    stdfs::copy_file(stdfs::path(D72506_EXERCISE_FILES) / name, world.working_path() / name,
                     stdfs::copy_options::overwrite_existing);
  }

  std::string templates() { return com::cstr(world.read("Application.TemplatesPath")) + "ZEQ Modèles\\"; }

  // An Excel of the player's own, shown, with `workbooks` blank workbooks.
  std::shared_ptr<engine::app::Application> players_excel(int workbooks) {
    auto own = world.new_excel();
    own->set_visible(true);
    for (int i = 0; i < workbooks; ++i) act(Variant(std::static_pointer_cast<com::Dispatch>(own)), "Workbooks.Add");
    world.application = own;
    world.handle = static_cast<std::int32_t>(own->main_window());
    return own;
  }

  ExerciseWorld world;
};

void touch(const stdfs::path& file) { std::ofstream(file) << "x"; }

// --- 614 --------------------------------------------------------------------------------

TEST_F(Templates, TheDeliveredTemplateOf614IsMovedAndAnEmptyExcelGetsABlankWorkbook) {
  deliver("07250614.xlt");
  ASSERT_TRUE(succeeded(world.init(614)));

  EXPECT_TRUE(stdfs::exists(world.course_templates() / "Thor.xlt"));
  EXPECT_FALSE(stdfs::exists(world.working_path() / "07250614.xlt"));

  ASSERT_EQ(world.open_workbooks().size(), 1u) << "the preparation opens nothing; a blank workbook is added";
  EXPECT_TRUE(world.excel().show_startup_dialog());
  EXPECT_EQ(world.read("CommandBars(\"Task Pane\").Enabled"), Variant(true));
  EXPECT_EQ(world.read("CommandBars(\"Task Pane\").Visible"), Variant(true));
  EXPECT_EQ(com::clng(world.read("CommandBars(\"Task Pane\").Position")), excel::msoBarRight);

  EXPECT_EQ(world.verdict(), "B") << "the blank workbook is not made from the template";
  EXPECT_FALSE(world.general_error());
  world.trainee("Workbooks.Add Template:=Application.TemplatesPath & \"ZEQ Modèles\\Thor.xlt\"");
  EXPECT_EQ(world.verdict(), "");

  ASSERT_EQ(world.module->Fermer(), com::S_OK);
  EXPECT_FALSE(stdfs::exists(world.course_templates() / "Thor.xlt")) << "the working template is cleaned";
}

TEST_F(Templates, Question614KeepsThePlayersWindowStateAndActiveWorkbook) {
  deliver("07250614.xlt");
  auto own = players_excel(2);
  const Variant app(std::static_pointer_cast<com::Dispatch>(own));
  act(app, "Workbooks(1).Activate");
  act(app, "ActiveWindow.WindowState = xlNormal");
  act(app, "CommandBars(\"Task Pane\").Enabled = False");
  const std::string active = com::cstr(evaluate(app, "ActiveWorkbook.Name"));

  ASSERT_TRUE(succeeded(world.init(614)));
  EXPECT_EQ(com::cstr(world.read("ActiveWorkbook.Name")), active);
  EXPECT_EQ(com::clng(world.read("ActiveWindow.WindowState")), excel::xlNormal);
  EXPECT_EQ(world.open_workbooks().size(), 2u) << "workbooks were open: no blank one added";
  EXPECT_EQ(world.read("CommandBars(\"Task Pane\").Enabled"), Variant(false));
}

TEST_F(Templates, Question614WithoutItsDeliveredTemplateStillPrepares) {
  ASSERT_TRUE(succeeded(world.init(614))) << "a failing move of a template is ignored";
  EXPECT_FALSE(stdfs::exists(world.course_templates() / "Thor.xlt"));
}

// --- 613 --------------------------------------------------------------------------------

TEST_F(Templates, Question613CleansItsThreeTemplatesBeforeThePreparation) {
  deliver("07250613.xls");
  auto own = players_excel(0);
  const Variant app(std::static_pointer_cast<com::Dispatch>(own));
  stdfs::create_directories(world.course_templates());
  const std::string folder = com::cstr(evaluate(app, "Application.TemplatesPath")) + "ZEQ Modèles\\";
  for (const char* name : {"Thor.xlt", "International.xlt"}) {
    act(app, "Workbooks.Add");
    act(app, "ActiveWorkbook.SaveAs Filename:=\"" + folder + name + "\", FileFormat:=xlTemplate");
  }
  touch(world.course_templates() / "Thor International.xlt");
  touch(world.course_templates() / "Autre.xlt");

  ASSERT_TRUE(succeeded(world.init(613)));
  EXPECT_EQ(world.open_workbooks(), std::vector<std::string>{kWorkingCopy});
  for (const char* name : {"Thor.xlt", "International.xlt", "Thor International.xlt"}) {
    EXPECT_FALSE(stdfs::exists(world.course_templates() / name)) << name;
  }
  EXPECT_TRUE(stdfs::exists(world.course_templates() / "Autre.xlt")) << "not one of the question's";
}

// Question 613 has no pre-check: with the exercise workbook closed, the
// question's own check answers, where another question would get "C".
TEST_F(Templates, Question613IsCheckedWithItsWorkbookClosed) {
  deliver("07250613.xls");
  ASSERT_TRUE(succeeded(world.init(613)));
  EXPECT_EQ(world.verdict(), "A");
  world.trainee("ActiveWorkbook.SaveAs Filename:=\"" + templates() +
                "Thor.xlt\", FileFormat:=xlTemplate\nActiveWorkbook.Close");
  EXPECT_EQ(world.verdict(), "");
  EXPECT_FALSE(world.general_error());
}

// --- 615 --------------------------------------------------------------------------------

TEST_F(Templates, Question615IsPreCheckedOnItsAnswerSheet) {
  deliver("07250615.xls");
  ASSERT_TRUE(succeeded(world.init(615)));
  EXPECT_EQ(com::cstr(world.read("ActiveWorkbook.Name")), kAnswers);
  EXPECT_EQ(world.verdict(), "A");
  EXPECT_FALSE(world.general_error());

  world.trainee("Sheets(\"réponses\").Name = \"Mes réponses\"");
  EXPECT_EQ(world.verdict(), "H");
  EXPECT_TRUE(world.general_error());
  world.trainee("Sheets(1).Name = \"RÉPONSES\"");
  EXPECT_EQ(world.verdict(), "A") << "the name matches in any case";
  world.trainee("Sheets.Add");
  EXPECT_EQ(world.verdict(), "H") << "the answer sheet no longer first";
}

TEST_F(Templates, Question615WantsExactlyThreeShapes) {
  deliver("07250615.xls");
  ASSERT_TRUE(succeeded(world.init(615)));
  world.trainee("ActiveSheet.Unprotect\nActiveSheet.Shapes.AddTextbox 1, 20, 220, 100, 20\nActiveSheet.Protect");
  EXPECT_EQ(world.verdict(), "D");
  EXPECT_TRUE(world.general_error());
}

// The templates folder emptied is the one the module computes; the one the
// player passes is not used.
TEST_F(Templates, Question615EmptiesTheCoursesTemplatesFolder) {
  deliver("07250615.xls");
  stdfs::create_directories(world.course_templates());
  touch(world.course_templates() / "Thor.xlt");
  touch(world.course_templates() / "notes.txt");
  const stdfs::path players = world.root() / "modeles du lecteur";
  stdfs::create_directories(players);
  touch(players / "Thor.xlt");

  world.ensure_macro_workbook();
  ASSERT_TRUE(succeeded(world.module->InitQuestion(615, world.working(), world.application, world.handle,
                                                   players.string() + "/")));
  EXPECT_TRUE(stdfs::is_empty(world.course_templates()));
  EXPECT_TRUE(stdfs::exists(players / "Thor.xlt"));
}

}  // namespace
}  // namespace d72506::testing
