#include "platform/win32/desktop.hpp"

#include <utf8proc.h>

#include <algorithm>
#include <cstdlib>

namespace platform::win32 {

namespace {

constexpr HWND kFirstHandle = 0x00010010;
constexpr HWND kHandleStep = 4;  // window handles are multiples of 4, as on Win32

constexpr DWORD kShowStateBits = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;

// What each ShowWindow command does to a window, indexed by SW_ value.
struct ShowCommand {
  DWORD keep;              // show-state bits kept from before
  DWORD set;               // show-state bits set
  bool activates;          // a top-level window comes to the front
  bool passes_foreground;  // the foreground goes to another window
};
constexpr ShowCommand kShowCommands[] = {
    {WS_MINIMIZE | WS_MAXIMIZE, 0, false, true},  // SW_HIDE
    {0, WS_VISIBLE, true, false},                 // SW_SHOWNORMAL
    {0, WS_VISIBLE | WS_MINIMIZE, true, false},   // SW_SHOWMINIMIZED
    {0, WS_VISIBLE | WS_MAXIMIZE, true, false},   // SW_SHOWMAXIMIZED
    {0, WS_VISIBLE, false, false},                // SW_SHOWNOACTIVATE
    {kShowStateBits, WS_VISIBLE, true, false},    // SW_SHOW
    {0, WS_VISIBLE | WS_MINIMIZE, false, true},   // SW_MINIMIZE
    {0, WS_VISIBLE | WS_MINIMIZE, false, false},  // SW_SHOWMINNOACTIVE
    {kShowStateBits, WS_VISIBLE, false, false},   // SW_SHOWNA
    {0, WS_VISIBLE, true, false},                 // SW_RESTORE
    {0, WS_VISIBLE, true, false},                 // SW_SHOWDEFAULT
    {0, WS_VISIBLE | WS_MINIMIZE, false, true},   // SW_FORCEMINIMIZE
};

// Class names and titles are found without regard to case, as Win32 does.
std::string folded(std::string_view text) {
  utf8proc_uint8_t* out = nullptr;
  const auto options = static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_CASEFOLD);
  const utf8proc_ssize_t n = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                          static_cast<utf8proc_ssize_t>(text.size()), &out, options);
  std::string result = n < 0 ? std::string(text) : std::string(reinterpret_cast<const char*>(out), static_cast<std::size_t>(n));
  std::free(out);
  return result;
}

bool matches(const char* wanted, const std::string& actual) {
  return wanted == nullptr || folded(wanted) == folded(actual);
}

void erase_handle(std::vector<HWND>& list, HWND h) { list.erase(std::remove(list.begin(), list.end(), h), list.end()); }

}  // namespace

struct Desktop::Window {
  std::string class_name;
  std::string title;
  DWORD style = 0;
  DWORD ex_style = 0;
  HWND parent = 0;
  HWND owner = 0;
  std::vector<HWND> children;  // z-order, top first
  // Shared so that a handler being called survives its window's destruction.
  std::shared_ptr<const MessageHandler> on_message;
  std::shared_ptr<const KeyHandler> on_keys;
  bool destroying = false;
  bool told_destroy = false;  // WM_DESTROY goes out once
};

Desktop::Desktop() : last_handle_(kFirstHandle - kHandleStep) {}
Desktop::~Desktop() = default;

Desktop& current_desktop() {
  thread_local Desktop desktop;
  return desktop;
}

Desktop::Window* Desktop::lookup(HWND h) {
  auto it = windows_.find(h);
  return it == windows_.end() ? nullptr : it->second.get();
}

const Desktop::Window* Desktop::lookup(HWND h) const {
  auto it = windows_.find(h);
  return it == windows_.end() ? nullptr : it->second.get();
}

bool Desktop::is_window(HWND h) const { return lookup(h) != nullptr; }

HWND Desktop::new_handle() {
  do {
    last_handle_ += kHandleStep;
  } while (last_handle_ == 0 || is_window(last_handle_));
  return last_handle_;
}

HWND Desktop::top_level_of(HWND h) const {
  const Window* w = lookup(h);
  while (w != nullptr && w->parent != 0) {
    h = w->parent;
    w = lookup(h);
  }
  return w == nullptr ? 0 : h;
}

std::vector<HWND>& Desktop::siblings_of(const Window& w) {
  return w.parent == 0 ? top_level_ : lookup(w.parent)->children;
}

const std::vector<HWND>& Desktop::siblings_of(const Window& w) const {
  return w.parent == 0 ? top_level_ : lookup(w.parent)->children;
}

std::vector<HWND> Desktop::owned_by(HWND h) const {
  std::vector<HWND> owned;
  for (HWND t : top_level_)
    if (lookup(t)->owner == h) owned.push_back(t);
  return owned;
}

HWND Desktop::create(NewWindow params) {
  const bool child = (params.style & WS_CHILD) != 0;
  Window* parent = child ? lookup(params.parent) : nullptr;
  if (child && parent == nullptr) return 0;
  const HWND owner = child ? 0 : top_level_of(params.owner);
  if (!child && params.owner != 0 && owner == 0) return 0;

  auto w = std::make_unique<Window>();
  w->class_name = std::move(params.class_name);
  w->title = std::move(params.title);
  w->style = params.style;
  w->ex_style = params.ex_style;
  w->parent = child ? params.parent : 0;
  w->owner = owner;
  if (params.on_message) w->on_message = std::make_shared<const MessageHandler>(std::move(params.on_message));
  if (params.on_keys) w->on_keys = std::make_shared<const KeyHandler>(std::move(params.on_keys));

  const HWND h = new_handle();
  if (child)
    parent->children.push_back(h);
  else
    top_level_.insert(top_level_.begin(), h);
  windows_.emplace(h, std::move(w));
  if (!child && (params.style & WS_VISIBLE) != 0) foreground_ = h;
  return h;
}

bool Desktop::set_message_handler(HWND h, MessageHandler handler) {
  Window* w = lookup(h);
  if (w == nullptr) return false;
  w->on_message = handler ? std::make_shared<const MessageHandler>(std::move(handler)) : nullptr;
  return true;
}

bool Desktop::set_key_handler(HWND h, KeyHandler handler) {
  Window* w = lookup(h);
  if (w == nullptr) return false;
  w->on_keys = handler ? std::make_shared<const KeyHandler>(std::move(handler)) : nullptr;
  return true;
}

// ---- queries

HWND Desktop::find(HWND parent, HWND child_after, const char* class_name, const char* title) const {
  const std::vector<HWND>* list = &top_level_;
  if (parent != 0) {
    const Window* p = lookup(parent);
    if (p == nullptr) return 0;
    list = &p->children;
  }
  auto it = list->begin();
  if (child_after != 0) {
    it = std::find(list->begin(), list->end(), child_after);
    if (it == list->end()) return 0;
    ++it;
  }
  for (; it != list->end(); ++it) {
    const Window* w = lookup(*it);
    if (matches(class_name, w->class_name) && matches(title, w->title)) return *it;
  }
  return 0;
}

HWND Desktop::relative(HWND h, UINT command) const {
  const Window* w = lookup(h);
  if (w == nullptr) return 0;
  if (command == GW_OWNER) return w->owner;
  if (command == GW_CHILD) return w->children.empty() ? 0 : w->children.front();
  const std::vector<HWND>& list = siblings_of(*w);
  const auto at = std::find(list.begin(), list.end(), h);
  switch (command) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT: return at + 1 == list.end() ? 0 : *(at + 1);
    case GW_HWNDPREV: return at == list.begin() ? 0 : *(at - 1);
    default: return 0;
  }
}

HWND Desktop::parent_or_owner(HWND h) const {
  const Window* w = lookup(h);
  if (w == nullptr) return 0;
  return w->parent != 0 ? w->parent : w->owner;
}

const std::string* Desktop::title(HWND h) const {
  const Window* w = lookup(h);
  return w == nullptr ? nullptr : &w->title;
}

const std::string* Desktop::class_name(HWND h) const {
  const Window* w = lookup(h);
  return w == nullptr ? nullptr : &w->class_name;
}

bool Desktop::set_title(HWND h, std::string title) {
  Window* w = lookup(h);
  if (w == nullptr) return false;
  w->title = std::move(title);
  return true;
}

LONG Desktop::long_value(HWND h, int index) const {
  const Window* w = lookup(h);
  if (w == nullptr) return 0;
  if (index == GWL_STYLE) return static_cast<LONG>(w->style);
  if (index == GWL_EXSTYLE) return static_cast<LONG>(w->ex_style);
  return 0;
}

// Parent and child relations are not styles here: WS_CHILD keeps the value
// the window was created with.
LONG Desktop::set_long_value(HWND h, int index, LONG value) {
  Window* w = lookup(h);
  if (w == nullptr) return 0;
  const LONG previous = long_value(h, index);
  const auto bits = static_cast<DWORD>(value);
  if (index == GWL_STYLE) w->style = (bits & ~WS_CHILD) | (w->style & WS_CHILD);
  if (index == GWL_EXSTYLE) w->ex_style = bits;
  return previous;
}

bool Desktop::visible(HWND h) const {
  const Window* w = lookup(h);
  if (w == nullptr) return false;
  for (; w != nullptr; w = w->parent == 0 ? nullptr : lookup(w->parent))
    if ((w->style & WS_VISIBLE) == 0) return false;
  return true;
}

bool Desktop::minimised(HWND h) const {
  const Window* w = lookup(h);
  return w != nullptr && (w->style & WS_MINIMIZE) != 0;
}

bool Desktop::maximised(HWND h) const {
  const Window* w = lookup(h);
  return w != nullptr && (w->style & WS_MAXIMIZE) != 0;
}

// ---- show state, z-order and activation

bool Desktop::show(HWND h, int command) {
  Window* w = lookup(h);
  if (w == nullptr || command < SW_HIDE || command > SW_FORCEMINIMIZE) return false;
  const ShowCommand& effect = kShowCommands[command];
  const bool was_visible = (w->style & WS_VISIBLE) != 0;
  w->style = (w->style & ~kShowStateBits) | (w->style & effect.keep) | effect.set;
  if (w->parent == 0 && effect.activates) activate(h);
  if (w->parent == 0 && effect.passes_foreground) activate_another(h, 0);
  return was_visible;
}

// The window and, above it, the windows it owns (each above its own), in
// their present relative order: an owned window never goes below its owner.
std::vector<HWND> Desktop::above_with_owned(HWND h) const {
  std::vector<HWND> group;
  for (HWND o : owned_by(h)) {
    const auto sub = above_with_owned(o);
    group.insert(group.end(), sub.begin(), sub.end());
  }
  group.push_back(h);
  return group;
}

void Desktop::bring_to_top(HWND h) {
  const std::vector<HWND> group = above_with_owned(h);
  for (HWND g : group) erase_handle(top_level_, g);
  top_level_.insert(top_level_.begin(), group.begin(), group.end());
}

void Desktop::activate(HWND h) {
  bring_to_top(h);
  foreground_ = h;
}

// When the foreground window goes away, the preferred window (its owner)
// or else the highest visible, not minimised top-level window takes over.
void Desktop::activate_another(HWND leaving, HWND preferred) {
  if (foreground_ != leaving) return;
  foreground_ = 0;
  auto eligible = [&](HWND t) {
    const Window* w = lookup(t);
    return t != leaving && w != nullptr && !w->destroying && (w->style & WS_VISIBLE) != 0 &&
           (w->style & WS_MINIMIZE) == 0;
  };
  if (preferred != 0 && eligible(preferred)) {
    foreground_ = preferred;
    return;
  }
  const auto it = std::find_if(top_level_.begin(), top_level_.end(), eligible);
  if (it != top_level_.end()) foreground_ = *it;
}

bool Desktop::set_foreground(HWND h) {
  const HWND top = top_level_of(h);
  if (top == 0) return false;
  activate(top);
  return true;
}

HWND Desktop::foreground() const { return is_window(foreground_) ? foreground_ : 0; }

bool Desktop::lock_update(HWND h) {
  if (h == 0) {
    locked_ = 0;
    return true;
  }
  if (locked_ != 0 || !is_window(h)) return false;
  locked_ = h;
  return true;
}

// ---- messages

LRESULT Desktop::send(HWND h, UINT message, WPARAM wparam, LPARAM lparam) {
  const Window* w = lookup(h);
  if (w == nullptr) return 0;
  const std::shared_ptr<const MessageHandler> handler = w->on_message;
  if (handler) return (*handler)(h, message, wparam, lparam);
  return default_procedure(h, message, wparam, lparam);
}

LRESULT Desktop::default_procedure(HWND h, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) destroy(h);
  return 0;
}

void Desktop::send_keystroke(const Keystroke& key) {
  const HWND h = foreground();
  const Window* w = lookup(h);
  if (w == nullptr) return;
  const std::shared_ptr<const KeyHandler> handler = w->on_keys;
  if (handler) (*handler)(h, key);
}

// ---- destruction

bool Desktop::destroy(HWND h) {
  Window* w = lookup(h);
  if (w == nullptr || w->destroying) return false;
  w->destroying = true;
  destroy_owned(h);
  notify_destroy(h);
  destroy_owned(h);  // any its handlers gave it meanwhile
  const Window* gone = lookup(h);
  const HWND preferred = gone == nullptr ? 0 : gone->owner;
  forget(h);
  activate_another(h, preferred);
  return true;
}

void Desktop::destroy_owned(HWND h) {
  for (HWND o : owned_by(h)) destroy(o);
}

void Desktop::notify_destroy(HWND h) {
  Window* w = lookup(h);
  if (w == nullptr || w->told_destroy) return;
  w->destroying = true;
  w->told_destroy = true;
  send(h, WM_DESTROY, 0, 0);
  w = lookup(h);
  if (w == nullptr) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) notify_destroy(c);
}

void Desktop::forget(HWND h) {
  Window* w = lookup(h);
  if (w == nullptr) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) forget(c);
  for (HWND o : owned_by(h)) lookup(o)->owner = 0;
  erase_handle(siblings_of(*w), h);
  if (locked_ == h) locked_ = 0;
  windows_.erase(h);
}

void Desktop::destroy_all() {
  for (int round = 0; round < 8 && !top_level_.empty(); ++round) {
    const std::vector<HWND> all = top_level_;
    for (HWND h : all) destroy(h);
  }
  windows_.clear();
  top_level_.clear();
  foreground_ = 0;
  locked_ = 0;
}

}  // namespace platform::win32
