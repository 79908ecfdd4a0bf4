#include "platform/win32/window_calls.hpp"

#include <algorithm>
#include <cstring>

#include "platform/win32/ansi_text.hpp"

namespace platform::win32 {

namespace {

BOOL as_bool(bool b) { return b ? 1 : 0; }

}  // namespace

HWND FindWindowA(const char* class_name, const char* title) {
  return current_desktop().find(0, 0, class_name, title);
}

HWND FindWindowExA(HWND parent, HWND child_after, const char* class_name, const char* title) {
  return current_desktop().find(parent, child_after, class_name, title);
}

HWND GetWindow(HWND h, UINT command) { return current_desktop().relative(h, command); }

int GetWindowTextA(HWND h, char* buffer, int size) {
  const std::string* title = current_desktop().title(h);
  if (buffer == nullptr || size <= 0) return 0;
  const std::string ansi = title == nullptr ? std::string() : to_windows_1252(*title);
  const std::size_t count = std::min(ansi.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, ansi.data(), count);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

LONG GetWindowLongA(HWND h, int index) { return current_desktop().long_value(h, index); }
LONG SetWindowLongA(HWND h, int index, LONG value) { return current_desktop().set_long_value(h, index, value); }
HWND GetParent(HWND h) { return current_desktop().parent_or_owner(h); }
BOOL IsWindowVisible(HWND h) { return as_bool(current_desktop().visible(h)); }
BOOL IsWindow(HWND h) { return as_bool(current_desktop().is_window(h)); }
BOOL IsIconic(HWND h) { return as_bool(current_desktop().minimised(h)); }
BOOL IsZoomed(HWND h) { return as_bool(current_desktop().maximised(h)); }
BOOL ShowWindow(HWND h, int command) { return as_bool(current_desktop().show(h, command)); }
BOOL SetForegroundWindow(HWND h) { return as_bool(current_desktop().set_foreground(h)); }
HWND GetForegroundWindow() { return current_desktop().foreground(); }
BOOL LockWindowUpdate(HWND h) { return as_bool(current_desktop().lock_update(h)); }
HWND locked_window() { return current_desktop().locked(); }

LRESULT SendMessageA(HWND h, UINT message, WPARAM wparam, LPARAM lparam) {
  return current_desktop().send(h, message, wparam, lparam);
}

LRESULT DefWindowProcA(HWND h, UINT message, WPARAM wparam, LPARAM lparam) {
  return current_desktop().default_procedure(h, message, wparam, lparam);
}

BOOL DestroyWindow(HWND h) { return as_bool(current_desktop().destroy(h)); }

}  // namespace platform::win32
