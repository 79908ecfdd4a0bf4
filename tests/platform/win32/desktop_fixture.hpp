// Each test starts from an empty desktop and leaves one behind.
#pragma once

#include <gtest/gtest.h>

#include "platform/win32/window_calls.hpp"

namespace platform::win32::testing {

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override { current_desktop().destroy_all(); }
  void TearDown() override { current_desktop().destroy_all(); }

  static HWND window(std::string class_name, std::string title, DWORD style = WS_VISIBLE, HWND owner = 0,
                     DWORD ex_style = 0) {
    WindowSpec spec;
    spec.class_name = std::move(class_name);
    spec.title = std::move(title);
    spec.style = style;
    spec.ex_style = ex_style;
    spec.owner = owner;
    return current_desktop().create(std::move(spec));
  }
  static HWND child(HWND parent, std::string class_name, DWORD style = WS_VISIBLE) {
    WindowSpec spec;
    spec.class_name = std::move(class_name);
    spec.style = style | WS_CHILD;
    spec.parent = parent;
    return current_desktop().create(std::move(spec));
  }
  static HWND modal_dialog(HWND owner, std::string title) {
    return window("bosa_sdm_XL9", std::move(title), WS_VISIBLE | WS_POPUP, owner, WS_EX_DLGMODALFRAME);
  }
};

}  // namespace platform::win32::testing
