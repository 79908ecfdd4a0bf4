// Obtaining Excel, and the windows that stand between the module and it:
// modal dialogs, the assistant's balloon, a hidden main window.
#include <gtest/gtest.h>

#include "platform/win32/desktop.hpp"
#include "tests/module/exercise_world.hpp"

namespace d72506::testing {
namespace {

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    D72506_SKIP_WITHOUT_STAND_IN(world);
    world.deliver();
  }
  ExerciseWorld world;
};

TEST_F(Windows, AHiddenExcelIsNotAttachedToANewOneIsStarted) {
  auto hidden = world.new_excel();
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_NE(world.application, hidden);
  EXPECT_TRUE(hidden->alive());
  EXPECT_TRUE(win32::IsWindowVisible(static_cast<win32::HWND>(world.handle)));
}

TEST_F(Windows, ADialogLeftOpenIsClosedByTheNextQuestion) {
  ASSERT_TRUE(succeeded(world.init()));
  const win32::HWND dialog = world.excel().open_dialog("Format de cellule");
  world.deliver();
  ASSERT_TRUE(succeeded(world.init()));
  EXPECT_FALSE(win32::IsWindow(dialog));
}

TEST_F(Windows, ADialogOfADialogIsClosedFirstThenItsOwner) {
  ASSERT_TRUE(succeeded(world.init()));
  const win32::HWND options = world.excel().open_dialog("Options");
  const win32::HWND couleur = world.excel().open_dialog("Modifier la couleur", options);
  ASSERT_TRUE(succeeded(world.module->Fermer()));
  EXPECT_FALSE(win32::IsWindow(couleur));
  EXPECT_FALSE(win32::IsWindow(options));
  EXPECT_FALSE(stdfs::exists(world.working_path() / kWorkingCopy)) << "Excel answered again: cleaned";
}

TEST_F(Windows, ADialogWithoutATitleIsNotTakenForOneOfExcels) {
  ASSERT_TRUE(succeeded(world.init()));
  const win32::HWND untitled = world.excel().open_dialog("");
  EXPECT_NE(world.module->Fermer(), com::S_OK) << "Excel stays busy";
  EXPECT_TRUE(win32::IsWindow(untitled));
  EXPECT_TRUE(stdfs::exists(world.working_path() / kWorkingCopy));
}

TEST_F(Windows, TheAssistantsBalloonIsClosedWithItsChildren) {
  ASSERT_TRUE(succeeded(world.init()));
  const win32::HWND balloon = world.excel().show_balloon("Voulez-vous de l'aide ?");
  ASSERT_TRUE(succeeded(world.module->Fermer()));
  EXPECT_FALSE(win32::IsWindow(balloon));
  EXPECT_EQ(win32::FindWindowA("MSOBALLOON", nullptr), 0u);
}

TEST_F(Windows, ABalloonChildThatRefusesToCloseDoesNotHoldTheModule) {
  ASSERT_TRUE(succeeded(world.init()));
  const win32::HWND balloon = world.excel().show_balloon("Bonjour");
  win32::NewWindow stubborn;
  stubborn.class_name = "Button";
  stubborn.title = "Non";
  stubborn.style = win32::WS_CHILD | win32::WS_VISIBLE;
  stubborn.parent = balloon;
  stubborn.on_message = [](win32::HWND h, win32::UINT message, win32::WPARAM w, win32::LPARAM l) -> win32::LRESULT {
    if (message == win32::WM_CLOSE) return 0;
    return win32::current_desktop().default_procedure(h, message, w, l);
  };
  win32::current_desktop().create(std::move(stubborn));
  ASSERT_TRUE(succeeded(world.module->Fermer()));
  EXPECT_FALSE(win32::IsWindow(balloon));
}

}  // namespace
}  // namespace d72506::testing
