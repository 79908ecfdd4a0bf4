#include "engine/app/custom_views.hpp"

#include "engine/app/application.hpp"
#include "engine/app/item_index.hpp"
#include "engine/app/more_dispids.hpp"

namespace engine::app {

namespace com = platform::com;

CustomView::CustomView(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book, std::string name)
    : AppObject(std::move(app)), book_(std::move(book)), name_(std::move(name)) {}

const model::CustomView& CustomView::view() const {
  if (!application().is_open(*book_)) raise_detached();
  const model::CustomView* found = book_->find_custom_view(name_);
  if (!found) raise_detached();
  return *found;
}

std::string CustomView::name() const { return view().name; }
bool CustomView::print_settings() const { return view().print_settings; }
bool CustomView::row_col_settings() const { return view().row_column_settings; }

// Showing a view activates its sheet, so cells or a shape selected before
// are no longer the selection.
void CustomView::show() {
  view();
  book_->show_custom_view(name_);
  application().clear_selected_object();
  application().refresh_main_window_title();
}

void CustomView::remove() {
  view();
  book_->delete_custom_view(name_);
}

const GuardedMembers& CustomView::member_table() const {
  static const GuardedMembers table =
      AppMembers<CustomView>("CustomView")
          .get("Application", dispid::Application, &CustomView::application_ref)
          .get("Name", dispid::Name, &CustomView::name)
          .get("PrintSettings", dispid::PrintSettings, &CustomView::print_settings)
          .get("RowColSettings", dispid::RowColSettings, &CustomView::row_col_settings)
          .method("Show", dispid::Show, &CustomView::show)
          .method("Delete", dispid::Delete, &CustomView::remove);
  return table;
}

CustomViews::CustomViews(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book)
    : AppObject(std::move(app)), book_(std::move(book)) {}

model::Workbook& CustomViews::book() const {
  if (!application().is_open(*book_)) raise_detached();
  return *book_;
}

std::int32_t CustomViews::count() const { return static_cast<std::int32_t>(book().custom_views().size()); }

std::shared_ptr<CustomView> CustomViews::item(const com::Variant& index) const {
  const auto& views = book().custom_views();
  const std::size_t found = find_item(index, views.size(), [&](std::size_t i) { return views[i].name; });
  return std::make_shared<CustomView>(application_ref(), book_, views[found].name);
}

std::shared_ptr<CustomView> CustomViews::add(const std::string& name, std::optional<bool> print_settings,
                                             std::optional<bool> row_col_settings) {
  if (name.empty()) raise_method_failed("Add", "CustomViews");
  const model::CustomView& added =
      book().add_custom_view(name, print_settings.value_or(true), row_col_settings.value_or(true));
  return std::make_shared<CustomView>(application_ref(), book_, added.name);
}

const GuardedMembers& CustomViews::member_table() const {
  static const GuardedMembers table =
      AppMembers<CustomViews>("CustomViews")
          .get("Application", dispid::Application, &CustomViews::application_ref)
          .get("Count", dispid::Count, &CustomViews::count)
          .get("Item", dispid::Item, &CustomViews::item, {"ViewName"})
          .get("_Default", dispid::Default, &CustomViews::item, {"ViewName"})
          .method("Add", dispid::Add, &CustomViews::add, {"ViewName", "PrintSettings", "RowColSettings"});
  return table;
}

}  // namespace engine::app
