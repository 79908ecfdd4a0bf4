#include "engine/app/windows.hpp"

#include "engine/app/application.hpp"
#include "engine/app/item_index.hpp"
#include "engine/app/more_dispids.hpp"
#include "engine/app/sheets.hpp"
#include "engine/app/worksheet_object.hpp"
#include "platform/excel/constants.hpp"

namespace engine::app {

namespace com = platform::com;

Window::Window(std::shared_ptr<Application> app, WindowRef ref) : AppObject(std::move(app)), ref_(std::move(ref)) {}

model::Workbook& Window::book() const {
  if (!application().is_open(*ref_.book) || ref_.index >= ref_.book->window_count()) raise_detached();
  return *ref_.book;
}

model::Window& Window::window() const { return book().window(ref_.index); }

std::string Window::caption() const { return book().window_caption(ref_.index); }

void Window::set_caption(const std::string& caption) {
  window().caption = caption;
  application().refresh_main_window_title();
}

bool Window::visible() const { return window().visible; }
void Window::set_visible(bool visible) {
  window();
  application().set_window_visible(ref_.book, ref_.index, visible);
}

std::int32_t Window::zoom() const { return window().zoom; }

void Window::set_zoom(const com::Variant& zoom) {
  const std::int32_t percent = com::clng(zoom);
  if (percent < 10 || percent > 400) raise_refused("Unable to set the Zoom property of the Window class");
  window().zoom = percent;
}

std::int32_t Window::window_state() const { return window().window_state; }

void Window::set_window_state(std::int32_t state) {
  using namespace platform::excel;
  if (state != xlMaximized && state != xlMinimized && state != xlNormal) {
    raise_refused("Unable to set the WindowState property of the Window class");
  }
  window().window_state = state;
}

std::int32_t Window::index() const {
  book();
  const auto listed = application_windows(application());
  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (listed[i].book == ref_.book && listed[i].index == ref_.index) return static_cast<std::int32_t>(i) + 1;
  }
  raise_detached();
}

void Window::activate() {
  model::Workbook& b = book();
  b.activate_window(ref_.index);
  application().activate_workbook(ref_.book);
}

com::Variant Window::active_sheet() {
  model::Workbook& b = book();
  if (b.sheet_count() == 0 || !b.find_sheet(window().active_sheet)) return com::Variant::nothing();
  return make_worksheet(application_ref(), ref_.book, window().active_sheet);
}

com::Variant Window::active_cell() {
  com::Variant sheet = active_sheet();
  if (!sheet.object()) return com::Variant::nothing();
  const model::Worksheet* s = ref_.book->find_sheet(window().active_sheet);
  auto [row, column] = s->active_cell();
  return com::object_of(sheet).get("Cells", {row + 1, column + 1});
}

// The stand-in selects one sheet at a time: the window's active sheet.
com::Variant Window::selected_sheets() {
  model::Workbook& b = book();
  if (!b.find_sheet(window().active_sheet)) return com::Variant::nothing();
  return std::make_shared<Sheets>(application_ref(), ref_.book, window().active_sheet);
}

const GuardedMembers& Window::member_table() const {
  static const GuardedMembers table = AppMembers<Window>("Window")
                                          .get("Application", dispid::Application, &Window::application_ref)
                                          .get("Caption", dispid::Caption, &Window::caption)
                                          .put("Caption", dispid::Caption, &Window::set_caption)
                                          .get("Visible", dispid::Visible, &Window::visible)
                                          .put("Visible", dispid::Visible, &Window::set_visible)
                                          .get("Zoom", dispid::Zoom, &Window::zoom)
                                          .put("Zoom", dispid::Zoom, &Window::set_zoom)
                                          .get("WindowState", dispid::WindowState, &Window::window_state)
                                          .put("WindowState", dispid::WindowState, &Window::set_window_state)
                                          .get("Index", dispid::Index, &Window::index)
                                          .method("Activate", dispid::Activate, &Window::activate)
                                          .get("ActiveSheet", dispid::ActiveSheet, &Window::active_sheet)
                                          .get("ActiveCell", dispid::ActiveCell, &Window::active_cell)
                                          .get("SelectedSheets", dispid::SelectedSheets, &Window::selected_sheets);
  return table;
}

std::vector<WindowRef> application_windows(const Application& app) {
  std::vector<WindowRef> listed;
  for (const auto& book : app.workbooks_by_recent_use()) {
    listed.push_back({book, book->active_window()});
    for (std::size_t i = 0; i < book->window_count(); ++i) {
      if (i != book->active_window()) listed.push_back({book, i});
    }
  }
  return listed;
}

Windows::Windows(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book)
    : AppObject(std::move(app)), book_(std::move(book)) {}

std::vector<WindowRef> Windows::listed() const {
  std::vector<WindowRef> all = application_windows(application());
  if (!book_) return all;
  if (!application().is_open(*book_)) raise_detached();
  std::erase_if(all, [&](const WindowRef& w) { return w.book != book_; });
  return all;
}

std::int32_t Windows::count() const { return static_cast<std::int32_t>(listed().size()); }

std::shared_ptr<Window> Windows::item(const com::Variant& index) const {
  const std::vector<WindowRef> all = listed();
  const std::size_t found =
      find_item(index, all.size(), [&](std::size_t i) { return all[i].book->window_caption(all[i].index); });
  return std::make_shared<Window>(application_ref(), all[found]);
}

const GuardedMembers& Windows::member_table() const {
  static const GuardedMembers table = AppMembers<Windows>("Windows")
                                          .get("Application", dispid::Application, &Windows::application_ref)
                                          .get("Count", dispid::Count, &Windows::count)
                                          .get("Item", dispid::Item, &Windows::item, {"Index"})
                                          .get("_Default", dispid::Default, &Windows::item, {"Index"});
  return table;
}

}  // namespace engine::app
