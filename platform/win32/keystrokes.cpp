#include "platform/win32/keystrokes.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

#include "platform/com/error.hpp"
#include "platform/win32/desktop.hpp"

namespace platform::win32 {

namespace {

// Key names as SendKeys spells them, with their aliases.
constexpr std::pair<std::string_view, std::string_view> kKeyNames[] = {
    {"BACKSPACE", "BACKSPACE"}, {"BS", "BACKSPACE"},   {"BKSP", "BACKSPACE"}, {"BREAK", "BREAK"},
    {"CAPSLOCK", "CAPSLOCK"},   {"CLEAR", "CLEAR"},    {"DELETE", "DELETE"},  {"DEL", "DELETE"},
    {"DOWN", "DOWN"},           {"END", "END"},        {"ENTER", "ENTER"},    {"ESC", "ESC"},
    {"ESCAPE", "ESC"},          {"HELP", "HELP"},      {"HOME", "HOME"},      {"INSERT", "INSERT"},
    {"INS", "INSERT"},          {"LEFT", "LEFT"},      {"NUMLOCK", "NUMLOCK"}, {"PGDN", "PGDN"},
    {"PGUP", "PGUP"},           {"PRTSC", "PRTSC"},    {"RIGHT", "RIGHT"},    {"SCROLLLOCK", "SCROLLLOCK"},
    {"TAB", "TAB"},             {"UP", "UP"},
};

[[noreturn]] void malformed() { platform::com::raise(platform::com::err::InvalidCall); }

std::string upper(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

bool is_function_key(std::string_view name) {
  int n = 0;
  if (name.size() < 2 || name[0] != 'F') return false;
  const auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
  return ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 16;
}

// The key a braced name stands for: a single character, or a key name.
std::string braced_key(std::string_view name) {
  if (name.empty()) malformed();
  const auto lead = static_cast<unsigned char>(name[0]);
  const std::size_t char_len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (name.size() == char_len) return std::string(name);
  const std::string key = upper(name);
  if (is_function_key(key)) return key;
  for (const auto& [alias, canonical] : kKeyNames)
    if (alias == key) return std::string(canonical);
  malformed();
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::vector<Keystroke> parse() {
    parse_sequence(false);
    return std::move(keys_);
  }

 private:
  struct Modifiers {
    bool shift = false, ctrl = false, alt = false;
  };

  void parse_sequence(bool in_group) {
    while (pos_ < text_.size()) {
      if (text_[pos_] == ')') {
        if (!in_group) malformed();
        return;
      }
      parse_item({});
    }
    if (in_group) malformed();
  }

  void parse_item(Modifiers mods) {
    const char c = text_[pos_++];
    switch (c) {
      case '+': return modified(mods, &Modifiers::shift);
      case '^': return modified(mods, &Modifiers::ctrl);
      case '%': return modified(mods, &Modifiers::alt);
      case '~': return add("ENTER", mods, 1);
      case '(': return group(mods);
      case '{': return braced(mods);
      case '}': malformed();
      default: return literal(c, mods);
    }
  }

  void modified(Modifiers mods, bool Modifiers::*which) {
    mods.*which = true;
    if (pos_ >= text_.size()) malformed();
    parse_item(mods);
  }

  // "+(ab)" holds shift down for the whole group.
  void group(Modifiers mods) {
    const std::size_t first = keys_.size();
    parse_sequence(true);
    ++pos_;  // ')'
    for (std::size_t i = first; i < keys_.size(); ++i) {
      keys_[i].shift |= mods.shift;
      keys_[i].ctrl |= mods.ctrl;
      keys_[i].alt |= mods.alt;
    }
  }

  // "{ESC}", "{+}", "{}}", "{LEFT 3}".
  void braced(Modifiers mods) {
    std::size_t close = text_.find('}', pos_ + (pos_ < text_.size() && text_[pos_] == '}' ? 1 : 0));
    if (close == std::string_view::npos) malformed();
    std::string_view inside = text_.substr(pos_, close - pos_);
    pos_ = close + 1;
    int count = 1;
    const std::size_t space = inside.rfind(' ');
    if (space != std::string_view::npos && space > 0) {
      const auto [end, ec] = std::from_chars(inside.data() + space + 1, inside.data() + inside.size(), count);
      if (ec != std::errc() || end != inside.data() + inside.size() || count < 0) malformed();
      inside = inside.substr(0, space);
    }
    add(braced_key(inside), mods, count);
  }

  void literal(char first, Modifiers mods) {
    std::string key(1, first);
    while (pos_ < text_.size() && (static_cast<unsigned char>(text_[pos_]) & 0xC0) == 0x80) key += text_[pos_++];
    add(std::move(key), mods, 1);
  }

  void add(std::string key, Modifiers mods, int count) {
    for (int i = 0; i < count; ++i) keys_.push_back({key, mods.shift, mods.ctrl, mods.alt});
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<Keystroke> keys_;
};

}  // namespace

std::vector<Keystroke> parse_keys(std::string_view keys) { return Parser(keys).parse(); }

void SendKeys(std::string_view keys) {
  for (const Keystroke& key : parse_keys(keys)) current_desktop().send_keystroke(key);
}

}  // namespace platform::win32
