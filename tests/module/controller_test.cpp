// The controller driven as the course player drives it, with the stand-in
// Excel behind it and real files in temporary folders.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/excel/constants.hpp"
#include "platform/win32/window_calls.hpp"
#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

const char* const kSource0601 = "DLL D72506 - CLASSE Module\n\r - SERVICE ";

class Controller : public ::testing::Test {
 protected:
  void SetUp() override {
    D72506_SKIP_WITHOUT_STAND_IN(world);
    world.deliver();
  }
  ExerciseWorld world;
};

// --- A question run, in order --------------------------------------------------------

TEST_F(Controller, AQuestionRunPreparesChecksClosesAndQuits) {
  ASSERT_TRUE(succeeded(world.init()));

  // Excel obtained by the module, handed back with its main window.
  ASSERT_NE(world.application, nullptr);
  EXPECT_EQ(static_cast<win32::HWND>(world.handle), win32::FindWindowA("XLMAIN", nullptr));
  EXPECT_TRUE(world.excel().visible());
  EXPECT_EQ(win32::locked_window(), 0u) << "Excel's drawing must not stay locked";
  EXPECT_TRUE(win32::IsZoomed(static_cast<win32::HWND>(world.handle)));

  // The delivered file became the working copy, open and active.
  EXPECT_FALSE(stdfs::exists(world.working_path() / kDelivered));
  EXPECT_TRUE(stdfs::exists(world.working_path() / kWorkingCopy));
  EXPECT_EQ(com::cstr(world.read("ActiveWorkbook.Name")), kWorkingCopy);
  EXPECT_EQ(world.read("ActiveWindow.WindowState"), Variant(platform::excel::xlMaximized));
  EXPECT_TRUE(stdfs::is_directory(world.course_templates()));
  EXPECT_EQ(world.excel().display_comment_indicator(), platform::excel::xlNoIndicator);
  EXPECT_TRUE(world.excel().show_tool_tips());

  EXPECT_EQ(world.verdict(), "A");
  EXPECT_FALSE(world.general_error());
  world.trainee("Range(\"D1\").Value = \"'09854895\"");
  EXPECT_EQ(world.verdict(), "");
  bool nuance = true;
  EXPECT_EQ(world.module->BravoNuance(nuance), com::S_OK);
  EXPECT_FALSE(nuance);
  std::shared_ptr<ComplementInfo> complement;
  EXPECT_EQ(world.module->Complement(complement), com::S_OK);
  ASSERT_NE(complement, nullptr);
  EXPECT_EQ(complement->count(), 0);

  // Fermer: the working copy closed unsaved and deleted.
  ASSERT_EQ(world.module->Fermer(), com::S_OK);
  EXPECT_FALSE(stdfs::exists(world.working_path() / kWorkingCopy));
  EXPECT_TRUE(world.open_workbooks().empty());

  // Quitter: no workbook left, so the module's Excel quits.
  auto excel = std::dynamic_pointer_cast<engine::app::Application>(world.application);
  ASSERT_EQ(world.quit(), com::S_OK);
  EXPECT_FALSE(excel->alive());
  EXPECT_EQ(world.application, nullptr);
  EXPECT_EQ(world.handle, 0);
}

TEST_F(Controller, ANewInitQuestionClosesThePreviousQuestionItself) {
  ASSERT_TRUE(succeeded(world.init()));
  world.trainee("Range(\"D1\").Value = 9854895");
  world.deliver();  // the player delivers the file again for the next question
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_EQ(world.open_workbooks(), std::vector<std::string>{kWorkingCopy});
  EXPECT_EQ(world.verdict(), "A") << "the new working copy is the delivered one";
}

TEST_F(Controller, QuitterMinimisesAnExcelThatStillHoldsWorkbooks) {
  ASSERT_TRUE(succeeded(world.init()));
  world.trainee("Workbooks.Add");
  const auto window = static_cast<win32::HWND>(world.handle);
  auto excel = std::dynamic_pointer_cast<engine::app::Application>(world.application);
  ASSERT_EQ(world.quit(), com::S_OK);
  EXPECT_TRUE(excel->alive());
  EXPECT_TRUE(win32::IsIconic(window));
  EXPECT_EQ(world.application, nullptr);
  // A second Quitter has nothing left to undo.
  EXPECT_EQ(world.quit(), com::S_OK);
}

TEST_F(Controller, ThePlayersOwnVisibleExcelIsNeitherRestoredNorQuit) {
  auto own = world.new_excel();
  own->set_visible(true);
  world.application = own;
  world.handle = static_cast<std::int32_t>(own->main_window());
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_EQ(world.application, own);
  ASSERT_EQ(world.module->Fermer(), com::S_OK);
  ASSERT_EQ(world.quit(), com::S_OK);
  EXPECT_TRUE(own->alive());
  EXPECT_FALSE(win32::IsIconic(own->main_window()));
  EXPECT_EQ(world.application, own) << "the player's references stay as they were";
  EXPECT_EQ(world.handle, static_cast<std::int32_t>(own->main_window()));
}

TEST_F(Controller, AnExcelWhoseWindowIsHiddenIsReplacedByANewOne) {
  auto hidden = world.new_excel();
  world.application = hidden;
  world.handle = static_cast<std::int32_t>(hidden->main_window());
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_NE(world.application, hidden);
  EXPECT_FALSE(hidden->alive()) << "the hidden Excel answered, so it was quit";
  EXPECT_EQ(static_cast<win32::HWND>(world.handle), world.excel().main_window());
}

TEST_F(Controller, ReleasingTheModuleClosesTheQuestionButLeavesExcelAlone) {
  ASSERT_TRUE(succeeded(world.init()));
  world.module.reset();
  EXPECT_TRUE(world.excel().alive());
  EXPECT_EQ(world.open_workbooks(), std::vector<std::string>{kWorkingCopy});
}

// --- The module's own codes ---------------------------------------------------------

TEST_F(Controller, GeneralErrorsOfTheModule) {
  ASSERT_TRUE(succeeded(world.init()));

  world.excel().enter_edit_mode("D1");
  EXPECT_EQ(world.verdict(), "%AL");
  EXPECT_TRUE(world.general_error());
  win32::SendKeys("{ESC}");  // Excel is in front: the trainee leaves the cell

  world.trainee("Range(\"D1\").Value = \"=1/0\"");
  EXPECT_EQ(world.verdict(), "AA");
  EXPECT_TRUE(world.general_error());

  world.trainee("Range(\"D1\").Value = \"x\"");
  EXPECT_EQ(world.verdict(), "D");
  EXPECT_FALSE(world.general_error());

  const win32::HWND dialog = world.excel().open_dialog("Format de cellule");
  EXPECT_EQ(world.verdict(), "%AL");

  world.excel().close_main_window();  // refused while the dialog is open
  win32::SendMessageA(dialog, win32::WM_CLOSE, 0, 0);
  world.excel().close_main_window();
  EXPECT_EQ(world.verdict(), "AM");
  EXPECT_TRUE(world.general_error());
}

TEST_F(Controller, AHiddenExcelWindowGivesAM) {
  ASSERT_TRUE(succeeded(world.init()));
  win32::ShowWindow(static_cast<win32::HWND>(world.handle), win32::SW_HIDE);
  EXPECT_EQ(world.verdict(), "AM");
}

TEST_F(Controller, AFailingPreCheckGivesAN) {
  ASSERT_TRUE(succeeded(world.init()));
  ASSERT_EQ(world.module->Fermer(), com::S_OK);
  EXPECT_EQ(world.verdict(), "AN") << "no question is held any more";
  EXPECT_TRUE(world.general_error());
}

TEST_F(Controller, PropertiesOfAModuleWithoutAQuestionFailWithObjectNotSet) {
  std::string cause;
  const HRESULT hr = world.module->CauseErreur(cause);
  EXPECT_EQ(failure_of(hr).number, com::err::ObjectNotSet);
  bool general = true;
  EXPECT_EQ(world.module->ErreurGenerale(general), com::S_OK);
  EXPECT_FALSE(general);
}

// --- Failures reaching the player ----------------------------------------------------

TEST_F(Controller, ANumberWithoutAQuestionFailsAtTheCleaningAfterPreparingTheTemplatesFolder) {
  const Failure f = failure_of(world.init(600));
  EXPECT_EQ(f.number, com::err::ObjectNotSet);
  EXPECT_EQ(f.source.rfind(std::string(kSource0601) + "Nettoyage - OBJET ", 0), 0u) << f.source;
  EXPECT_TRUE(stdfs::is_directory(world.course_templates()));
  EXPECT_EQ(win32::locked_window(), 0u);
}

TEST_F(Controller, AMissingDeliveredFileFailsTheRenaming) {
  stdfs::remove(world.working_path() / kDelivered);
  const Failure f = failure_of(world.init());
  EXPECT_EQ(f.number, com::err::FileNotFound);
  EXPECT_EQ(f.source.rfind(std::string(kSource0601) + "Renomme - OBJET ", 0), 0u) << f.source;
}

TEST_F(Controller, APreparationFailureCarriesTheQuestionsReportUnchanged) {
  stdfs::remove(world.working_path() / kDelivered);
  {
    std::ofstream garbage(world.working_path() / kDelivered);
    garbage << "not a workbook";
  }
  const Failure f = failure_of(world.init());
  EXPECT_NE(f.number, 0);
  EXPECT_EQ(f.source.rfind("DLL D72506 - CLASSE Question0601\n\r - SERVICE Prepare - OBJET ", 0), 0u) << f.source;
}

TEST_F(Controller, ATemplatesFolderThatCannotBeCreatedEndsInPathNotFound) {
  stdfs::create_directories(world.root() / "excel");
  std::ofstream(world.root() / "excel" / "Templates") << "a file in the way";
  const Failure f = failure_of(world.init());
  EXPECT_EQ(f.number, com::err::PathNotFound);
  EXPECT_EQ(f.source, std::string(kSource0601) + "InitQuestion - OBJET D72506");
  EXPECT_NE(f.description.find("ZEQ Modèles"), std::string::npos);
}

TEST_F(Controller, AFailureThreeLevelsDeepNamesEveryLevel) {
  ASSERT_TRUE(succeeded(world.init()));
  stdfs::remove_all(world.documents());  // the trainee's own folder is gone
  const Failure f = failure_of(world.quit());
  EXPECT_EQ(f.number, com::err::PathNotFound);
  EXPECT_EQ(f.source.rfind(std::string(kSource0601) + "Quitter - OBJET " + kSource0601 +
                               "RestaureParamUser - OBJET " + kSource0601 + "ChangeDir - OBJET ",
                           0),
            0u)
      << f.source;
}

// --- Late binding ----------------------------------------------------------------------

TEST_F(Controller, APlayerCallingByNameGetsTheSameResultsAndFailures) {
  world.ensure_macro_workbook();
  com::Dispatch& module = *world.module;
  Variant args[] = {Variant(std::int32_t{601}), Variant(world.working()), Variant::nothing(),
                    Variant(std::int32_t{0})};
  module.invoke("InitQuestion", com::CallKind::Method, args);
  ASSERT_TRUE(args[2].is_object());
  world.application = args[2].object();
  EXPECT_EQ(static_cast<win32::HWND>(com::clng(args[3])), world.excel().main_window());

  module.call("TestePoint");
  EXPECT_EQ(module.get("CauseErreur"), Variant("A"));
  EXPECT_EQ(module.get("ErreurGenerale"), Variant(false));
  module.call("Fermer");
  try {
    module.get("BravoNuance");
    FAIL() << "no question is held";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), com::err::ObjectNotSet);
  }
}

}  // namespace
}  // namespace d72506::testing
