#include "engine/app/command_bar_set.hpp"

#include "platform/com/error.hpp"
#include "platform/com/text.hpp"
#include "platform/excel/constants.hpp"

namespace engine::app {

namespace {

using platform::excel::msoBarBottom;
using platform::excel::msoBarRight;
using platform::excel::msoBarTop;

constexpr platform::com::HRESULT kFail = static_cast<platform::com::HRESULT>(0x80004005);

[[noreturn]] void refuse(const char* member) {
  throw platform::com::Error::from_hresult(kFail, "Office",
                                           std::string("Method '") + member + "' of object 'CommandBar' failed");
}

CommandBarState toolbar(std::string name, bool visible = false, std::int32_t position = msoBarTop) {
  return {std::move(name), BarType::Normal, true, visible, position};
}

CommandBarState popup(std::string name) { return {std::move(name), BarType::Popup, true, false, kBarPopup}; }

// Excel 2003 with a worksheet active, as installed: the worksheet menu bar,
// the Standard and Formatting toolbars and the task pane shown.
std::vector<CommandBarState> excel_2003_bars() {
  std::vector<CommandBarState> bars = {
      {"Worksheet Menu Bar", BarType::MenuBar, true, true, msoBarTop},
      {"Chart Menu Bar", BarType::MenuBar, true, false, msoBarTop},
      toolbar("Standard", true),
      toolbar("Formatting", true),
      toolbar("PivotTable"),
      toolbar("Chart"),
      toolbar("Reviewing"),
      toolbar("Forms"),
      toolbar("Stop Recording"),
      toolbar("External Data"),
      toolbar("Formula Auditing"),
      toolbar("Full Screen"),
      toolbar("Circular Reference"),
      toolbar("Visual Basic"),
      toolbar("Web"),
      toolbar("Control Toolbox"),
      toolbar("Exit Design Mode"),
      toolbar("Refresh"),
      toolbar("Watch Window"),
      toolbar("PivotTable Field List"),
      toolbar("Borders"),
      toolbar("Protection"),
      toolbar("Text To Speech"),
      toolbar("List"),
      toolbar("Compare Side by Side"),
  };
  for (const char* name :
       {"Query and Pivot", "PivotChart Menu", "Workbook tabs", "Cell", "Column", "Row", "Cell", "Column", "Row",
        "Ply", "XLM Cell", "Document", "Desktop", "Nondefault Drag and Drop", "AutoFill", "Button", "Dialog",
        "Series", "Plot Area", "Floor and Walls", "Trendline", "Chart", "Format Data Series", "Format Axis",
        "Format Legend Entry", "Formula Bar", "PivotTable Context Menu", "Query", "Query Layout", "AutoCalculate",
        "Object/Plot", "Title Bar (Charting)", "Layout", "Pivot Chart Popup", "Phonetic Information", "Auto Sum",
        "Paste Special Dropdown", "Find Format", "Replace Format", "List Range Popup", "List Range Layout Popup",
        "XML Range Popup", "List Range Layout Popup", "Built-in Menus", "Shapes", "Inactive Chart",
        "Excel Control", "Curve", "Curve Node", "Curve Segment", "Pictures Context Menu", "OLE Object",
        "ActiveX Control", "WordArt Context Menu", "Rotate Mode", "Connector", "Script Anchor Popup",
        "Canvas Popup", "Organization Chart Popup", "Diagram", "Select"}) {
    bars.push_back(popup(name));
  }
  for (auto bar : {toolbar("Drawing Canvas"), toolbar("Organization Chart"), toolbar("Diagram"),
                   toolbar("Drawing", false, msoBarBottom), toolbar("Picture"), toolbar("Shadow Settings"),
                   toolbar("3-D Settings"), toolbar("WordArt"), toolbar("Task Pane", true, msoBarRight),
                   toolbar("Clipboard"), toolbar("Envelope"), toolbar("Online Meeting"),
                   toolbar("Ink Drawing and Writing"), toolbar("Ink Annotations")}) {
    bars.push_back(bar);
  }
  return bars;
}

}  // namespace

CommandBarSet::CommandBarSet() : bars_(excel_2003_bars()) {}

std::optional<int> CommandBarSet::index_of(std::string_view name) const {
  const std::string wanted = platform::com::lcase(name);
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    if (platform::com::lcase(bars_[i].name) == wanted) return static_cast<int>(i) + 1;
  }
  return std::nullopt;
}

const CommandBarState& CommandBarSet::at(int index) const {
  if (index < 1 || index > count()) platform::com::raise(platform::com::err::SubscriptOutOfRange);
  return bars_[static_cast<std::size_t>(index - 1)];
}

CommandBarState& CommandBarSet::bar(int index) { return const_cast<CommandBarState&>(at(index)); }

void CommandBarSet::set_enabled(int index, bool enabled) {
  CommandBarState& b = bar(index);
  b.enabled = enabled;
  if (!enabled) b.visible = false;
}

void CommandBarSet::set_visible(int index, bool visible) {
  CommandBarState& b = bar(index);
  if (b.type == BarType::Popup || (visible && !b.enabled)) refuse("Visible");
  b.visible = visible;
}

void CommandBarSet::set_position(int index, std::int32_t position) {
  CommandBarState& b = bar(index);
  bool docked_or_floating = position >= platform::excel::msoBarLeft && position <= platform::excel::msoBarFloating;
  if (b.type == BarType::Popup || !docked_or_floating) refuse("Position");
  b.position = position;
}

}  // namespace engine::app
