// The Application's members that hand out automation objects: its
// collections, the active objects and the selection.
#include "engine/app/application.hpp"
#include "engine/app/command_bars.hpp"
#include "engine/app/names.hpp"
#include "engine/app/sheets.hpp"
#include "engine/app/windows.hpp"
#include "engine/app/workbook.hpp"
#include "engine/app/workbooks.hpp"
#include "engine/app/worksheet_object.hpp"

namespace engine::app {

namespace com = platform::com;

com::Variant Application::workbooks() { return std::make_shared<Workbooks>(application_ref()); }

com::Variant Application::active_workbook_object() {
  if (!active_workbook_) return com::Variant::nothing();
  return make_workbook(application_ref(), active_workbook_);
}

com::Variant Application::active_sheet() {
  if (!active_workbook_ || active_workbook_->sheet_count() == 0) return com::Variant::nothing();
  return make_worksheet(application_ref(), active_workbook_, active_workbook_->active_sheet().id());
}

com::Variant Application::active_window() {
  if (!active_workbook_) return com::Variant::nothing();
  return std::make_shared<Window>(application_ref(), WindowRef{active_workbook_, active_workbook_->active_window()});
}

com::Variant Application::active_cell() {
  com::Variant window = active_window();
  if (!window.object()) return window;
  return com::object_of(window).get("ActiveCell");
}

// Excel refuses Sheets, Names and the cells of the active sheet with no workbook open.
com::Variant Application::sheets() {
  if (!active_workbook_) raise_method_failed("Sheets", "_Application");
  return std::make_shared<Sheets>(application_ref(), active_workbook_);
}

com::Variant Application::names() {
  if (!active_workbook_) raise_method_failed("Names", "_Application");
  return std::make_shared<Names>(application_ref(), active_workbook_);
}

com::Variant Application::windows() { return std::make_shared<Windows>(application_ref()); }

com::Variant Application::command_bars_object() { return std::make_shared<CommandBars>(application_ref()); }

// An object selected by its own Select (a shape), else the active sheet's
// selected cells.
com::Variant Application::selection() {
  if (selected_object_) return selected_object_(*this);
  com::Variant sheet = active_sheet();
  if (!sheet.object()) return sheet;
  const model::CellRange area = active_workbook_->active_sheet().selection();
  com::Dispatch& s = com::object_of(sheet);
  return s.get("Range", {s.get("Cells", {area.first_row + 1, area.first_column + 1}),
                         s.get("Cells", {area.last_row + 1, area.last_column + 1})});
}

com::Variant Application::on_active_sheet(com::DispId id, std::span<com::Variant> args) {
  com::Variant sheet = active_sheet();
  if (!sheet.object()) raise_method_failed("Range", "_Application");
  std::size_t given = args.size();
  while (given > 0 && args[given - 1].is_missing()) --given;
  return com::object_of(sheet).invoke(id, com::CallKind::Get | com::CallKind::Method, args.first(given));
}

}  // namespace engine::app

#include "engine/app/macros.hpp"

namespace engine::app {

platform::com::Variant Application::run(std::span<platform::com::Variant> args) {
  const std::string macro = com::argument<std::string>(args, 0);
  std::size_t given = args.size();
  while (given > 1 && args[given - 1].is_missing()) --given;
  return run_macro(*this, macro, args.subspan(1, given - 1));
}

}  // namespace engine::app
