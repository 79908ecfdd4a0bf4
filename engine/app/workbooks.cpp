#include "engine/app/workbooks.hpp"

#include "engine/app/application.hpp"
#include "engine/app/item_index.hpp"
#include "engine/app/more_dispids.hpp"
#include "engine/app/workbook_files.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

// Excel's xlWBATWorksheet: Workbooks.Add of it makes a workbook with one worksheet.
constexpr std::int32_t kWorksheetTemplate = -4167;

std::shared_ptr<model::Workbook> blank_workbook(Application& app, int sheets) {
  auto book = std::make_shared<model::Workbook>(app.next_new_workbook_name());
  for (int i = 1; i <= sheets; ++i) book->add_sheet(texts(app.language()).new_sheet + std::to_string(i));
  book->activate_sheet(book->sheet(0).id());
  book->set_saved(true);
  return book;
}

}  // namespace

Workbooks::Workbooks(std::shared_ptr<Application> app) : AppObject(std::move(app)) {}

std::int32_t Workbooks::count() const { return static_cast<std::int32_t>(application().open_workbooks().size()); }

std::shared_ptr<Workbook> Workbooks::item(const com::Variant& index) const {
  const auto& books = application().open_workbooks();
  const std::size_t found = find_item(index, books.size(), [&](std::size_t i) { return books[i]->name(); });
  return make_workbook(application_ref(), books[found]);
}

std::shared_ptr<Workbook> Workbooks::open(const std::string& filename, bool editable) {
  Application& app = application();
  const std::string full_name = full_file_name(app, filename);
  for (const auto& book : app.open_workbooks()) {
    if (!book->path().empty() && same_name(book->path(), full_name)) {
      app.activate_workbook(book);
      return make_workbook(application_ref(), book);
    }
  }
  if (has_template_extension(full_name) && !editable) return from_template(full_name);
  std::shared_ptr<model::Workbook> book = read_workbook(full_name);
  if (has_template_extension(full_name)) book->set_template(true);
  for (const auto& other : app.open_workbooks()) {
    if (same_name(other->name(), book->name())) {
      raise_refused("A document with the name '" + book->name() +
                    "' is already open. You cannot open two documents with the same name, even if the documents "
                    "are in different folders.");
    }
  }
  app.add_workbook(book);
  return make_workbook(application_ref(), book);
}

std::shared_ptr<Workbook> Workbooks::add(const std::optional<com::Variant>& template_file) {
  Application& app = application();
  if (!template_file) {
    auto book = blank_workbook(app, 3);
    app.add_workbook(book);
    return make_workbook(application_ref(), book);
  }
  if (template_file->is_number()) {
    if (com::clng(*template_file) != kWorksheetTemplate) raise_method_failed("Add", "Workbooks");
    auto book = blank_workbook(app, 1);
    app.add_workbook(book);
    return make_workbook(application_ref(), book);
  }
  return from_template(full_file_name(app, com::cstr(*template_file)));
}

// The template itself stays as it is on disk: the new workbook is a copy
// that has never been saved, so it has no path and no extension.
std::shared_ptr<Workbook> Workbooks::from_template(const std::string& full_name) {
  Application& app = application();
  std::shared_ptr<model::Workbook> book = read_workbook(full_name);
  book->set_name(app.next_template_copy_name(stem(book->name())));
  book->set_path("");
  book->set_template(false);
  book->set_saved(true);
  app.add_workbook(book);
  return make_workbook(application_ref(), book);
}

void Workbooks::close() {
  Application& app = application();
  while (!app.open_workbooks().empty()) app.remove_workbook(app.open_workbooks().back());
}

const GuardedMembers& Workbooks::member_table() const {
  static const GuardedMembers table =
      AppMembers<Workbooks>("Workbooks")
          .get("Application", dispid::Application, &Workbooks::application_ref)
          .get("Parent", dispid::Parent, &Workbooks::application_ref)
          .get("Count", dispid::Count, &Workbooks::count)
          .get("Item", dispid::Item, &Workbooks::item, {"Index"})
          .get("_Default", dispid::Default, &Workbooks::item, {"Index"})
          .method("Open", dispid::Open,
                  [](Workbooks& w, std::span<com::Variant> args) -> com::Variant {
                    return w.open(com::argument<std::string>(args, 0),
                                  com::optional_argument<bool>(args, 9).value_or(false));
                  },
                  {"Filename", "UpdateLinks", "ReadOnly", "Format", "Password", "WriteResPassword",
                   "IgnoreReadOnlyRecommended", "Origin", "Delimiter", "Editable", "Notify", "Converter",
                   "AddToMru", "Local", "CorruptLoad"})
          .method("Add", dispid::Add, &Workbooks::add, {"Template"})
          .method("Close", dispid::Close, &Workbooks::close);
  return table;
}

}  // namespace engine::app
