// The Application's members as automation sees them.
#include "engine/app/application.hpp"
#include "engine/app/more_dispids.hpp"
#include "platform/com/convert.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

void append_entry(std::vector<std::string>& list, const com::Variant& item) {
  if (item.is_empty() || item.is_number()) return;  // Excel skips blank and numeric cells
  list.push_back(com::cstr(item));
}

// The entries of an array given to AddCustomList, in order, from any lower bound.
std::vector<std::string> array_entries(const com::SafeArray& array) {
  std::vector<std::string> list;
  for (const com::Variant& item : array.elements()) append_entry(list, item);
  return list;
}

// A range's values as lists: one per row or one per column, as ByRow says;
// without it, Excel takes columns unless the range is wider than it is tall.
std::vector<std::vector<std::string>> range_lists(const com::Variant& values, std::optional<bool> by_row) {
  if (!values.is_array()) {
    std::vector<std::string> one;
    append_entry(one, values);
    return {one};
  }
  const com::SafeArray& cells = values.array_value();
  const std::int32_t rows = cells.upper_bound(1) - cells.lower_bound(1) + 1;
  const std::int32_t columns = cells.dimensions() == 2 ? cells.upper_bound(2) - cells.lower_bound(2) + 1 : 1;
  if (cells.dimensions() != 2) return {array_entries(cells)};
  const bool rows_first = by_row.value_or(columns > rows);
  std::vector<std::vector<std::string>> lists(static_cast<std::size_t>(rows_first ? rows : columns));
  for (std::int32_t r = 0; r < rows; ++r) {
    for (std::int32_t c = 0; c < columns; ++c) {
      const com::Variant& item = cells.at(cells.lower_bound(1) + r, cells.lower_bound(2) + c);
      append_entry(lists[static_cast<std::size_t>(rows_first ? r : c)], item);
    }
  }
  return lists;
}

const auto add_custom_list = [](Application& app, const com::Variant& list, std::optional<bool> by_row) {
  if (list.is_object()) {
    for (auto& entries : range_lists(com::value_of(list), by_row)) app.custom_lists().add(std::move(entries));
  } else if (list.is_array()) {
    app.custom_lists().add(array_entries(list.array_value()));
  } else {
    com::raise(com::err::TypeMismatch);
  }
};

const auto custom_list_number = [](Application& app, const com::Variant& list) -> com::Variant {
  if (!list.is_array()) com::raise(com::err::TypeMismatch);
  std::vector<std::string> entries;
  for (const com::Variant& item : list.array_value().elements()) entries.push_back(com::cstr(item));
  return app.custom_lists().number_of(entries);
};

// A 1-based array, as Excel returns a list's contents.
const auto custom_list_contents = [](Application& app, std::int32_t number) -> com::Variant {
  const std::vector<std::string>& entries = app.custom_lists().contents(number);
  com::SafeArray array({{1, static_cast<std::int32_t>(entries.size())}});
  for (std::size_t i = 0; i < entries.size(); ++i) array.at(static_cast<std::int32_t>(i) + 1) = entries[i];
  return array;
};

constexpr com::DispId kCutCopyMode = 330;
constexpr com::DispId kCentimetersToPoints = 1086;
constexpr com::DispId kInchesToPoints = 1087;
constexpr std::int32_t kXlCopy = 1;

// xlCopy while copied cells wait to be pasted, else False.
const auto cut_copy_mode = [](Application& app) -> com::Variant {
  if (app.clipboard()) return kXlCopy;
  return false;
};

// False ends the copy mode, as Esc does; the recorder writes it after each
// paste. Any other value leaves the copied cells as they are.
const auto set_cut_copy_mode = [](Application& app, const com::Variant& mode) {
  if (!com::cbool(com::value_of(mode))) app.set_clipboard(std::nullopt);
};

}  // namespace

const GuardedMembers& Application::member_table() const {
  static const GuardedMembers table =
      AppMembers<Application>("Application")
          .get("Application", dispid::Application, [](Application& a) { return a.application_ref(); })
          .get("Parent", dispid::Parent, [](Application& a) { return a.application_ref(); })
          .get("Name", dispid::Name, [](Application&) { return std::string("Microsoft Excel"); })
          .get("Version", dispid::Version, [](Application&) { return std::string("11.0"); })
          .get("Visible", dispid::Visible, &Application::visible)
          .put("Visible", dispid::Visible, &Application::set_visible)
          .method("Quit", dispid::Quit, &Application::quit)
          .get("Caption", dispid::Caption, &Application::caption)
          .put("Caption", dispid::Caption, &Application::set_caption)
          .get("DisplayFullScreen", dispid::DisplayFullScreen, &Application::display_full_screen)
          .put("DisplayFullScreen", dispid::DisplayFullScreen, &Application::set_display_full_screen)
          .get("ShowToolTips", dispid::ShowToolTips, &Application::show_tool_tips)
          .put("ShowToolTips", dispid::ShowToolTips, &Application::set_show_tool_tips)
          .get("ShowStartupDialog", dispid::ShowStartupDialog, &Application::show_startup_dialog)
          .put("ShowStartupDialog", dispid::ShowStartupDialog, &Application::set_show_startup_dialog)
          .get("DisplayCommentIndicator", dispid::DisplayCommentIndicator, &Application::display_comment_indicator)
          .put("DisplayCommentIndicator", dispid::DisplayCommentIndicator,
               &Application::set_display_comment_indicator)
          .get("ScreenUpdating", dispid::ScreenUpdating, &Application::screen_updating)
          .put("ScreenUpdating", dispid::ScreenUpdating, &Application::set_screen_updating)
          .get("DisplayAlerts", dispid::DisplayAlerts, &Application::display_alerts)
          .put("DisplayAlerts", dispid::DisplayAlerts, &Application::set_display_alerts)
          .get("TemplatesPath", dispid::TemplatesPath, &Application::templates_path)
          .get("ActivePrinter", dispid::ActivePrinter, &Application::active_printer)
          .put("ActivePrinter", dispid::ActivePrinter, &Application::set_active_printer)
          .get("DefaultFilePath", dispid::DefaultFilePath, &Application::default_file_path)
          .put("DefaultFilePath", dispid::DefaultFilePath, &Application::set_default_file_path)
          .method("Calculate", dispid::Calculate, &Application::calculate)
          .get("CustomListCount", dispid::CustomListCount, [](Application& a) { return a.custom_lists().count(); })
          .method("GetCustomListNum", dispid::GetCustomListNum, custom_list_number, {"ListArray"})
          .method("GetCustomListContents", dispid::GetCustomListContents, custom_list_contents, {"ListNum"})
          .method("AddCustomList", dispid::AddCustomList, add_custom_list, {"ListArray", "ByRow"})
          .method("DeleteCustomList", dispid::DeleteCustomList,
                  [](Application& a, std::int32_t number) { a.custom_lists().remove(number); }, {"ListNum"})
          .get("Workbooks", dispid::Workbooks, &Application::workbooks)
          .get("ActiveWorkbook", dispid::ActiveWorkbook, &Application::active_workbook_object)
          .get("ActiveSheet", dispid::ActiveSheet, &Application::active_sheet)
          .get("ActiveWindow", dispid::ActiveWindow, &Application::active_window)
          .get("ActiveCell", dispid::ActiveCell, &Application::active_cell)
          .get("Sheets", dispid::Sheets, &Application::sheets)
          .get("Worksheets", dispid::Worksheets, &Application::sheets)
          .get("Names", dispid::Names, &Application::names)
          .get("Windows", dispid::Windows, &Application::windows)
          .get("Selection", dispid::Selection, &Application::selection)
          .get("CutCopyMode", kCutCopyMode, cut_copy_mode)
          .method("InchesToPoints", kInchesToPoints, [](Application&, double inches) { return inches * 72.0; }, {"Inches"})
          .method("CentimetersToPoints", kCentimetersToPoints,
                  [](Application&, double centimetres) { return centimetres * 72.0 / 2.54; }, {"Centimeters"})
          .put("CutCopyMode", kCutCopyMode, set_cut_copy_mode)
          .get("CommandBars", dispid::CommandBars, &Application::command_bars_object)
          .get("Range", dispid::Range,
               [](Application& a, std::span<com::Variant> args) { return a.on_active_sheet(dispid::Range, args); },
               {"Cell1", "Cell2"})
          .get("Cells", dispid::Cells,
               [](Application& a, std::span<com::Variant> args) { return a.on_active_sheet(dispid::Cells, args); })
          .get("Rows", dispid::Rows,
               [](Application& a, std::span<com::Variant> args) { return a.on_active_sheet(dispid::Rows, args); })
          .get("Columns", dispid::Columns,
               [](Application& a, std::span<com::Variant> args) { return a.on_active_sheet(dispid::Columns, args); })
          .method("Run", dispid::Run, &Application::run, {"Macro"});
  return table;
}

}  // namespace engine::app
