#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop_fixture.hpp"
#include "platform/com/error.hpp"
#include "platform/win32/keystrokes.hpp"

namespace platform::win32 {
namespace {

class Messages : public testing::DesktopTest {
 protected:
  // Records every WM_DESTROY, then lets the default procedure answer.
  MessageHandler recorder(std::string name) {
    return [this, name](HWND h, UINT message, WPARAM w, LPARAM l) {
      if (message == WM_DESTROY) destroyed.push_back(name);
      return DefWindowProcA(h, message, w, l);
    };
  }
  std::vector<std::string> destroyed;
};

TEST_F(Messages, DefaultCloseDestroysOwnedWindowsFirstThenTheWindowAndItsChildren) {
  const HWND excel = window("XLMAIN", "Excel");
  const HWND inner = child(excel, "XLDESK");
  const HWND dialog = modal_dialog(excel, "Options");
  const HWND nested = modal_dialog(dialog, "Couleur");
  const HWND other = window("Notepad", "notes");
  current_desktop().set_message_handler(excel, recorder("excel"));
  current_desktop().set_message_handler(inner, recorder("inner"));
  current_desktop().set_message_handler(dialog, recorder("dialog"));
  current_desktop().set_message_handler(nested, recorder("nested"));

  EXPECT_EQ(SendMessageA(excel, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(destroyed, (std::vector<std::string>{"nested", "dialog", "excel", "inner"}));
  for (HWND h : {excel, inner, dialog, nested}) EXPECT_FALSE(IsWindow(h)) << h;
  EXPECT_TRUE(IsWindow(other));
  EXPECT_EQ(FindWindowA("XLMAIN", nullptr), 0u);
}

TEST_F(Messages, ClosingADialogGivesTheForegroundBackToItsOwner) {
  const HWND excel = window("XLMAIN", "Excel");
  window("Notepad", "notes", WS_VISIBLE);
  const HWND dialog = modal_dialog(excel, "Options");
  EXPECT_EQ(GetForegroundWindow(), dialog);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_EQ(GetForegroundWindow(), excel);
}

TEST_F(Messages, AHandlerMayRefuseToClose) {
  const HWND dialog = modal_dialog(window("XLMAIN", "Excel"), "Enregistrer");
  int closes = 0;
  current_desktop().set_message_handler(dialog, [&](HWND h, UINT message, WPARAM w, LPARAM l) {
    if (message != WM_CLOSE) return DefWindowProcA(h, message, w, l);
    ++closes;
    return LRESULT{0};
  });
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(Messages, HandlersMayDestroyAndCreateWindowsWhileTheyRun) {
  const HWND excel = window("XLMAIN", "Excel");
  const HWND dialog = modal_dialog(excel, "Options");
  const HWND inner = child(excel, "XLDESK");
  const HWND bar = child(excel, "EXCEL2");
  HWND created_during_destroy = 0;
  HWND late_sibling = 0;
  // Closing the dialog takes its owner down with it; the owner's destruction
  // reaches back into the dialog, which is already being destroyed.
  current_desktop().set_message_handler(dialog, [&](HWND h, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE) {
      DestroyWindow(excel);
      return LRESULT{0};
    }
    if (message == WM_DESTROY) {
      EXPECT_FALSE(DestroyWindow(h));
    }
    return DefWindowProcA(h, message, w, l);
  });
  current_desktop().set_message_handler(inner, [&](HWND h, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
      created_during_destroy = window("XLMAIN", "Excel relancé");
      late_sibling = child(excel, "EXCEL7");  // grows the list being walked
    }
    return DefWindowProcA(h, message, w, l);
  });
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(excel));
  EXPECT_FALSE(IsWindow(inner));
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_FALSE(IsWindow(late_sibling));
  ASSERT_TRUE(IsWindow(created_during_destroy));
  EXPECT_EQ(FindWindowA("XLMAIN", nullptr), created_during_destroy);
}

TEST_F(Messages, AHandlerMayReplaceItselfOrDestroyItsOwnWindow) {
  const HWND h = window("XLMAIN", "Excel");
  int calls = 0;
  current_desktop().set_message_handler(h, [&](HWND self, UINT, WPARAM, LPARAM) {
    ++calls;
    current_desktop().set_message_handler(self, {});
    DestroyWindow(self);
    return LRESULT{7};
  });
  EXPECT_EQ(SendMessageA(h, 0x400, 0, 0), 7);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(Messages, KeystrokesGoToWhicheverWindowIsInTheForeground) {
  const HWND excel = window("XLMAIN", "Excel");
  const HWND dialog = modal_dialog(excel, "Options");
  std::vector<std::string> log;
  current_desktop().set_key_handler(excel, [&](HWND, const Keystroke& k) { log.push_back("excel:" + k.key); });
  current_desktop().set_key_handler(dialog, [&](HWND h, const Keystroke& k) {
    log.push_back("dialog:" + k.key);
    if (k.key == "ESC") SendMessageA(h, WM_CLOSE, 0, 0);
  });
  SendKeys("{ESC}{ESC}");
  EXPECT_EQ(log, (std::vector<std::string>{"dialog:ESC", "excel:ESC"}));
  ASSERT_TRUE(SetForegroundWindow(window("Notepad", "notes")));
  SendKeys("a");  // no handler there: the key is lost
  EXPECT_EQ(log.size(), 2u);
}

TEST(KeyStrings, ReadAsTheRuntimeWritesThem) {
  const std::vector<Keystroke> keys = parse_keys("+{TAB}^a~{left 2}{}}%(bé){ESCAPE}");
  const std::vector<Keystroke> expected{
      {"TAB", true, false, false}, {"a", false, true, false},  {"ENTER"},       {"LEFT"},
      {"LEFT"},                    {"}"},                      {"b", false, false, true},
      {"é", false, false, true},   {"ESC"},
  };
  EXPECT_EQ(keys, expected);
  for (const char* bad : {"{NOPE}", "{ESC", "(a", "a)", "+", "}", "{F17}"}) {
    try {
      parse_keys(bad);
      ADD_FAILURE() << bad;
    } catch (const com::Error& e) {
      EXPECT_EQ(e.number(), com::err::InvalidCall) << bad;
    }
  }
}

}  // namespace
}  // namespace platform::win32
