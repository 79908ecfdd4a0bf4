// The window calls with their Win32 names and behaviour, answered by the
// calling thread's desktop (desktop.hpp). A call on a handle that is not a
// window returns 0 and does nothing, as on Win32. Text arguments are the
// system's UTF-8; only GetWindowTextA hands out ANSI (Windows-1252) text.
// The owner of windows creates them and installs their handlers through
// current_desktop().
#pragma once

#include "platform/win32/desktop.hpp"
#include "platform/win32/types.hpp"

namespace platform::win32 {

// Top-level windows only, from the top of the z-order; a null class or title
// matches any, and both compare without regard to case. Hidden windows count.
HWND FindWindowA(const char* class_name, const char* title);
// The children of `parent` (the top-level windows when it is 0) that come
// after `child_after` (from the first when it is 0).
HWND FindWindowExA(HWND parent, HWND child_after, const char* class_name, const char* title);
// GW_HWNDPREV walks up the z-order (0 at the top), GW_HWNDNEXT down; GW_OWNER
// gives the owner, GW_CHILD the first child.
HWND GetWindow(HWND h, UINT command);
// Copies at most size-1 characters of the title, converted to Windows-1252,
// and a terminating NUL; returns the number of characters copied.
int GetWindowTextA(HWND h, char* buffer, int size);
LONG GetWindowLongA(HWND h, int index);
LONG SetWindowLongA(HWND h, int index, LONG value);
// A child's parent, or a top-level window's owner.
HWND GetParent(HWND h);
// Nonzero when the window and all its ancestors have WS_VISIBLE.
BOOL IsWindowVisible(HWND h);
BOOL IsWindow(HWND h);
BOOL IsIconic(HWND h);
BOOL IsZoomed(HWND h);
// Returns whether the window was visible before.
BOOL ShowWindow(HWND h, int command);
BOOL SetForegroundWindow(HWND h);
HWND GetForegroundWindow();
// One window at a time: locking while a window is locked fails; 0 releases.
BOOL LockWindowUpdate(HWND h);
// Which window LockWindowUpdate has locked, 0 when none.
HWND locked_window();
LRESULT SendMessageA(HWND h, UINT message, WPARAM wparam, LPARAM lparam);
// The default answers: WM_CLOSE destroys the window (with its children and
// the windows it owns).
LRESULT DefWindowProcA(HWND h, UINT message, WPARAM wparam, LPARAM lparam);
BOOL DestroyWindow(HWND h);

}  // namespace platform::win32
