#include <gtest/gtest.h>

#include <vector>

#include "desktop_fixture.hpp"

namespace platform::win32 {
namespace {

class WindowRelations : public testing::DesktopTest {};

std::vector<HWND> z_order() {
  std::vector<HWND> order;
  for (HWND h = GetWindow(FindWindowExA(0, 0, nullptr, nullptr), GW_HWNDFIRST); h != 0; h = GetWindow(h, GW_HWNDNEXT))
    order.push_back(h);
  return order;
}

TEST_F(WindowRelations, OwnedDialogSitsAboveItsOwnerAndFollowsItToTheFront) {
  const HWND excel = window("XLMAIN", "Microsoft Excel - Thor International.xls");
  const HWND dialog = modal_dialog(excel, "Enregistrer sous");
  const HWND other = window("Notepad", "notes");
  EXPECT_EQ(z_order(), (std::vector<HWND>{other, dialog, excel}));
  EXPECT_EQ(GetWindow(excel, GW_HWNDPREV), dialog);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), excel);
  EXPECT_EQ(GetParent(dialog), excel);
  EXPECT_EQ(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 1);

  ASSERT_TRUE(SetForegroundWindow(excel));
  EXPECT_EQ(GetForegroundWindow(), excel);
  EXPECT_EQ(z_order(), (std::vector<HWND>{dialog, excel, other}));
  EXPECT_EQ(GetWindow(dialog, GW_HWNDPREV), 0u);
}

TEST_F(WindowRelations, FindWindowLooksAtTopLevelWindowsOnlyAndIgnoresCase) {
  const HWND hidden = window("XLMAIN", "Microsoft Excel", 0);
  const HWND balloon = window("MSOBALLOON", "", WS_VISIBLE);
  const HWND inner = child(balloon, "XLDESK");
  EXPECT_EQ(FindWindowA("xlmain", nullptr), hidden);
  EXPECT_EQ(FindWindowA(nullptr, "MICROSOFT EXCEL"), hidden);
  EXPECT_EQ(FindWindowA("XLDESK", nullptr), 0u);
  EXPECT_EQ(FindWindowExA(balloon, 0, "xldesk", nullptr), inner);
  EXPECT_EQ(FindWindowA("XLMAIN", "Other"), 0u);
}

TEST_F(WindowRelations, ChildrenAreListedInCreationOrder) {
  const HWND parent = window("XLMAIN", "Excel");
  const HWND first = child(parent, "EXCEL2");
  const HWND second = child(parent, "XLDESK");
  EXPECT_EQ(FindWindowExA(parent, 0, nullptr, nullptr), first);
  EXPECT_EQ(FindWindowExA(parent, first, nullptr, nullptr), second);
  EXPECT_EQ(FindWindowExA(parent, second, nullptr, nullptr), 0u);
  EXPECT_EQ(FindWindowExA(parent, parent, nullptr, nullptr), 0u);  // not one of its children
  EXPECT_EQ(GetWindow(parent, GW_CHILD), first);
  EXPECT_EQ(GetParent(second), parent);
  EXPECT_EQ(GetWindow(second, GW_OWNER), 0u);
}

TEST_F(WindowRelations, AChildIsVisibleOnlyWhenItsAncestorsAre) {
  const HWND parent = window("XLMAIN", "Excel", 0);
  const HWND inner = child(parent, "XLDESK");
  EXPECT_FALSE(IsWindowVisible(inner));
  EXPECT_FALSE(ShowWindow(parent, SW_SHOWMAXIMIZED));
  EXPECT_TRUE(IsWindowVisible(inner));
  EXPECT_TRUE(IsZoomed(parent));
  EXPECT_NE(GetWindowLongA(parent, GWL_STYLE) & static_cast<LONG>(WS_MAXIMIZE), 0);
  EXPECT_TRUE(ShowWindow(parent, SW_SHOWMINIMIZED));
  EXPECT_TRUE(IsIconic(parent));
  EXPECT_FALSE(IsZoomed(parent));
  ShowWindow(parent, SW_RESTORE);
  EXPECT_FALSE(IsIconic(parent));
  EXPECT_TRUE(IsWindowVisible(parent));
}

TEST_F(WindowRelations, HidingTheForegroundWindowHandsTheForegroundOn) {
  const HWND below = window("Notepad", "notes");
  const HWND excel = window("XLMAIN", "Excel");
  EXPECT_EQ(GetForegroundWindow(), excel);
  ShowWindow(excel, SW_HIDE);
  EXPECT_EQ(GetForegroundWindow(), below);
  EXPECT_FALSE(IsWindowVisible(excel));
  ShowWindow(excel, SW_SHOWMAXIMIZED);
  EXPECT_EQ(GetForegroundWindow(), excel);
  ShowWindow(excel, SW_HIDE);
  EXPECT_TRUE(ShowWindow(below, SW_MINIMIZE));
  EXPECT_EQ(GetForegroundWindow(), 0u);  // nothing visible and restored is left
  ShowWindow(excel, SW_SHOW);
  EXPECT_TRUE(IsZoomed(excel));  // hiding kept the show state
  EXPECT_EQ(GetForegroundWindow(), excel);
}

TEST_F(WindowRelations, InvalidHandlesAnswerZeroAndAreNeverReused) {
  const HWND gone = window("XLMAIN", "Excel");
  ASSERT_NE(gone, 0u);
  ASSERT_TRUE(DestroyWindow(gone));
  const HWND fresh = window("XLMAIN", "Excel");
  EXPECT_NE(fresh, gone);
  for (HWND bad : {gone, HWND{0}, HWND{12345}}) {
    EXPECT_FALSE(IsWindow(bad));
    EXPECT_FALSE(IsWindowVisible(bad));
    EXPECT_EQ(GetWindow(bad, GW_HWNDPREV), 0u);
    EXPECT_EQ(GetParent(bad), 0u);
    EXPECT_EQ(GetWindowLongA(bad, GWL_EXSTYLE), 0);
    EXPECT_FALSE(ShowWindow(bad, SW_SHOW));
    EXPECT_FALSE(SetForegroundWindow(bad));
    EXPECT_EQ(SendMessageA(bad, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(DestroyWindow(bad));
  }
  EXPECT_EQ(window("Dialog", "x", WS_VISIBLE, gone), 0u);  // owner must be a window
  EXPECT_EQ(child(gone, "EXCEL7"), 0u);
}

TEST_F(WindowRelations, WindowTextIsHandedOutInWindows1252) {
  const HWND h = window("XLMAIN", "Modèles – Thor € 日");
  char buffer[255];
  std::fill(std::begin(buffer), std::end(buffer), 'a');
  EXPECT_EQ(GetWindowTextA(h, buffer, 255), 18);
  EXPECT_STREQ(buffer, "Mod\xE8les \x96 Thor \x80 ?");
  EXPECT_EQ(GetWindowTextA(h, buffer, 5), 4);
  EXPECT_STREQ(buffer, "Mod\xE8");
  buffer[0] = 'z';
  EXPECT_EQ(GetWindowTextA(h, buffer, 0), 0);
  EXPECT_EQ(buffer[0], 'z');
  EXPECT_EQ(GetWindowTextA(window("Dialog", ""), buffer, 255), 0);
  EXPECT_EQ(GetWindowTextA(0, buffer, 255), 0);
  EXPECT_EQ(buffer[0], '\0');
}

TEST_F(WindowRelations, OneWindowLockedAtATime) {
  const HWND excel = window("XLMAIN", "Excel");
  const HWND other = window("XLMAIN", "Excel 2");
  EXPECT_TRUE(LockWindowUpdate(excel));
  EXPECT_EQ(locked_window(), excel);
  EXPECT_FALSE(LockWindowUpdate(other));
  EXPECT_FALSE(LockWindowUpdate(excel));
  EXPECT_EQ(locked_window(), excel);
  EXPECT_TRUE(LockWindowUpdate(0));
  EXPECT_EQ(locked_window(), 0u);
  EXPECT_FALSE(LockWindowUpdate(12345));
  EXPECT_TRUE(LockWindowUpdate(other));
  DestroyWindow(other);
  EXPECT_EQ(locked_window(), 0u);
}

}  // namespace
}  // namespace platform::win32
