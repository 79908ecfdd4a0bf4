// The in-process window manager: the windows of one thread's desktop, their
// relations (parent and children, owner and owned windows), the z-order of
// the top-level windows, the foreground window and the drawing lock, and the
// handlers through which each window's owner reacts to messages and
// keystrokes. The Win32-named calls of window_calls.hpp answer from the
// calling thread's desktop.
//
// Handlers may create and destroy windows, including their own, while they
// run: the desktop never keeps a reference to a window across a handler call,
// and a destroyed window's handle is simply no longer valid. Handles count
// up and are not reused while the desktop lives.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32/keystrokes.hpp"
#include "platform/win32/types.hpp"

namespace platform::win32 {

// A window procedure: what the window does with a message. Messages it does
// not handle itself it passes on to DefWindowProcA, as a Win32 one does.
using MessageHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using KeyHandler = std::function<void(HWND, const Keystroke&)>;

struct NewWindow {
  std::string class_name;
  std::string title;  // UTF-8
  DWORD style = 0;    // WS_VISIBLE shows it at once; WS_CHILD needs a parent
  DWORD ex_style = 0;
  HWND parent = 0;  // for a WS_CHILD window
  HWND owner = 0;   // for a top-level window; a child given here stands for its top-level window
  MessageHandler on_message;
  KeyHandler on_keys;
};

class Desktop {
 public:
  Desktop();
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // 0 when the parent or owner is not a window, or a child has no parent. A
  // new top-level window goes to the top of the z-order, and becomes the
  // foreground window when it is visible; a new child goes below its siblings.
  HWND create(NewWindow params);
  // Destroys the window's owned windows, tells it and its children
  // WM_DESTROY, then removes them all. False for an invalid handle or a window
  // already being destroyed.
  bool destroy(HWND h);
  // Destroys every window (between tests, or when a session ends).
  void destroy_all();

  bool is_window(HWND h) const;
  bool set_message_handler(HWND h, MessageHandler handler);
  bool set_key_handler(HWND h, KeyHandler handler);

  HWND find(HWND parent, HWND child_after, const char* class_name, const char* title) const;
  HWND relative(HWND h, UINT command) const;
  HWND parent_or_owner(HWND h) const;
  const std::string* title(HWND h) const;
  const std::string* class_name(HWND h) const;
  bool set_title(HWND h, std::string title);
  LONG long_value(HWND h, int index) const;
  LONG set_long_value(HWND h, int index, LONG value);

  bool visible(HWND h) const;
  bool minimised(HWND h) const;
  bool maximised(HWND h) const;
  // ShowWindow: the previous visibility; false for a bad handle or command.
  bool show(HWND h, int command);

  bool set_foreground(HWND h);
  HWND foreground() const;

  bool lock_update(HWND h);
  HWND locked() const { return locked_; }

  LRESULT send(HWND h, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT default_procedure(HWND h, UINT message, WPARAM wparam, LPARAM lparam);
  void send_keystroke(const Keystroke& key);

 private:
  struct Window;

  Window* lookup(HWND h);
  const Window* lookup(HWND h) const;
  HWND top_level_of(HWND h) const;
  std::vector<HWND>& siblings_of(const Window& w);
  const std::vector<HWND>& siblings_of(const Window& w) const;
  std::vector<HWND> owned_by(HWND h) const;
  std::vector<HWND> above_with_owned(HWND h) const;
  void bring_to_top(HWND h);
  void activate(HWND h);
  void activate_another(HWND leaving, HWND preferred);
  void destroy_owned(HWND h);
  void notify_destroy(HWND h);
  void forget(HWND h);
  HWND new_handle();

  std::unordered_map<HWND, std::unique_ptr<Window>> windows_;
  std::vector<HWND> top_level_;  // z-order, top first
  HWND foreground_ = 0;
  HWND locked_ = 0;
  HWND last_handle_;
};

// The calling thread's desktop, as the window system keeps one per session.
Desktop& current_desktop();

}  // namespace platform::win32
