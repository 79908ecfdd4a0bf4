// Excel 2003's command bars as the application keeps them: the built-in
// menu bars, toolbars and shortcut menus, in Excel's order (index 1 is the
// "Worksheet Menu Bar"), with whether each is enabled, shown and where it
// is docked. Office's rules apply: a disabled bar is hidden and cannot be
// shown, a shortcut menu is never shown or docked by a property, and a
// toolbar cannot be made a shortcut menu.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine::app {

enum class BarType { Normal = 0, MenuBar = 1, Popup = 2 };

// Office's msoBarPopup; the other positions are in platform/excel/constants.hpp.
inline constexpr std::int32_t kBarPopup = 5;

struct CommandBarState {
  std::string name;
  BarType type = BarType::Normal;
  bool enabled = true;
  bool visible = false;
  std::int32_t position = 1;  // msoBarTop
};

class CommandBarSet {
 public:
  CommandBarSet();

  int count() const { return static_cast<int>(bars_.size()); }
  // 1-based; nothing out of range.
  std::optional<int> index_of(std::string_view name) const;
  const CommandBarState& at(int index) const;

  // Each raises Office's failure ("Method 'Visible' of object 'CommandBar'
  // failed", -2147467259) for what the bar refuses.
  void set_enabled(int index, bool enabled);
  void set_visible(int index, bool visible);
  void set_position(int index, std::int32_t position);

 private:
  CommandBarState& bar(int index);
  std::vector<CommandBarState> bars_;
};

}  // namespace engine::app
