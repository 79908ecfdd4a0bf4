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
    NewWindow params;
    params.class_name = std::move(class_name);
    params.title = std::move(title);
    params.style = style;
    params.ex_style = ex_style;
    params.owner = owner;
    return current_desktop().create(std::move(params));
  }
  static HWND child(HWND parent, std::string class_name, DWORD style = WS_VISIBLE) {
    NewWindow params;
    params.class_name = std::move(class_name);
    params.style = style | WS_CHILD;
    params.parent = parent;
    return current_desktop().create(std::move(params));
  }
  static HWND modal_dialog(HWND owner, std::string title) {
    return window("bosa_sdm_XL9", std::move(title), WS_VISIBLE | WS_POPUP, owner, WS_EX_DLGMODALFRAME);
  }
};

}  // namespace platform::win32::testing
