// Keystrokes as the runtime's SendKeys writes them ("{ESC}", "~", "+{TAB}",
// "^a", "{LEFT 3}"), and their synchronous delivery to the foreground window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::win32 {

struct Keystroke {
  // A character (UTF-8) or a key's canonical name: "ESC", "ENTER", "TAB",
  // "BACKSPACE", "DELETE", "INSERT", "UP", "DOWN", "LEFT", "RIGHT", "HOME",
  // "END", "PGUP", "PGDN", "F1".."F16", "BREAK", "CAPSLOCK", "CLEAR", "HELP",
  // "NUMLOCK", "PRTSC", "SCROLLLOCK".
  std::string key;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool operator==(const Keystroke&) const = default;
};

// Reads a key string; raises 5 on a malformed one (unknown key name,
// unbalanced braces or parentheses, a modifier with nothing to modify).
std::vector<Keystroke> parse_keys(std::string_view keys);

// SendKeys with wait: each keystroke goes, in order, to the keystroke handler
// of whichever window is in the foreground when it is sent, and has been
// handled when the call returns. Keystrokes with no foreground window or no
// handler to take them are lost, as they would be on a desktop.
void SendKeys(std::string_view keys);

}  // namespace platform::win32
