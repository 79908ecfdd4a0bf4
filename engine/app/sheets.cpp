#include "engine/app/sheets.hpp"

#include "engine/app/application.hpp"
#include "engine/app/item_index.hpp"
#include "engine/app/more_dispids.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

// The position of the sheet a Before or After argument names: a sheet
// object of this workbook, or a sheet's index or name.
std::size_t position_of(const model::Workbook& book, const com::Variant& sheet) {
  if (sheet.is_object()) {
    auto object = std::dynamic_pointer_cast<Worksheet>(sheet.object());
    if (!object) com::raise(com::err::TypeMismatch);
    if (object->ref().book.get() != &book) raise_method_failed("Add", "Sheets");
    auto index = book.sheet_index(object->ref().id);
    if (!index) raise_detached();
    return *index;
  }
  return find_item(sheet, book.sheet_count(), [&](std::size_t i) { return book.sheet(i).name(); });
}

// Excel names a new sheet after the highest "Feuil<n>" it can see, plus one.
std::string new_sheet_name(const model::Workbook& book, const std::string& base) {
  int n = static_cast<int>(book.sheet_count()) + 1;
  while (book.find_sheet(base + std::to_string(n)) != nullptr) ++n;
  return base + std::to_string(n);
}

}  // namespace

Sheets::Sheets(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book,
               std::optional<model::SheetId> selected)
    : AppObject(std::move(app)), book_(std::move(book)), selected_(selected) {}

model::Workbook& Sheets::book() const {
  if (!application().is_open(*book_)) raise_detached();
  return *book_;
}

std::vector<model::SheetId> Sheets::listed() const {
  const model::Workbook& b = book();
  std::vector<model::SheetId> ids;
  for (std::size_t i = 0; i < b.sheet_count(); ++i) {
    if (!selected_ || b.sheet(i).id() == *selected_) ids.push_back(b.sheet(i).id());
  }
  return ids;
}

std::int32_t Sheets::count() const { return static_cast<std::int32_t>(listed().size()); }

std::shared_ptr<Worksheet> Sheets::item(const com::Variant& index) const {
  const std::vector<model::SheetId> ids = listed();
  const std::size_t found =
      find_item(index, ids.size(), [&](std::size_t i) { return book_->find_sheet(ids[i])->name(); });
  return make_worksheet(application_ref(), book_, ids[found]);
}

std::shared_ptr<Worksheet> Sheets::add(const std::optional<com::Variant>& before,
                                       const std::optional<com::Variant>& after, std::optional<std::int32_t> count) {
  model::Workbook& b = book();
  if (before && after) raise_method_failed("Add", "Sheets");
  const std::int32_t how_many = count.value_or(1);
  if (how_many < 1) raise_method_failed("Add", "Sheets");
  std::size_t position = b.sheet_count() == 0 ? 0 : *b.sheet_index(b.active_sheet().id());
  if (before) position = position_of(b, *before);
  if (after) position = position_of(b, *after) + 1;
  model::SheetId added = 0;
  for (std::int32_t i = 0; i < how_many; ++i) {
    added = b.add_sheet(new_sheet_name(b, texts(application().language()).new_sheet), position + i).id();
  }
  b.activate_sheet(added);
  application().clear_selected_object();
  return make_worksheet(application_ref(), book_, added);
}

const GuardedMembers& Sheets::member_table() const {
  static const GuardedMembers table = AppMembers<Sheets>("Sheets")
                                          .get("Application", dispid::Application, &Sheets::application_ref)
                                          .get("Count", dispid::Count, &Sheets::count)
                                          .get("Item", dispid::Item, &Sheets::item, {"Index"})
                                          .get("_Default", dispid::Default, &Sheets::item, {"Index"})
                                          .method("Add", dispid::Add, &Sheets::add, {"Before", "After", "Count"});
  return table;
}

}  // namespace engine::app
