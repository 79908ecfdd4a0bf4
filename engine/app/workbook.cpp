#include "engine/app/workbook.hpp"

#include "engine/app/application.hpp"
#include "engine/app/custom_views.hpp"
#include "engine/app/item_index.hpp"
#include "engine/app/more_dispids.hpp"
#include "engine/app/names.hpp"
#include "engine/app/sheets.hpp"
#include "engine/app/styles.hpp"
#include "engine/app/windows.hpp"
#include "engine/app/workbook_files.hpp"
#include "engine/app/worksheet_object.hpp"
#include "platform/excel/constants.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

// A file is never encrypted here: a password would be silently lost, so a
// save that asks for one fails instead. The recorder's empty ones are fine.
void refuse_password(std::span<const com::Variant> args, std::size_t i) {
  if (com::optional_argument<std::string>(args, i).value_or("").empty()) return;
  raise_refused("SaveAs method of Workbook class failed: passwords are not supported");
}

}  // namespace

Workbook::Workbook(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book)
    : AppObject(std::move(app)), book_(std::move(book)) {}

std::shared_ptr<Workbook> make_workbook(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book) {
  return std::make_shared<Workbook>(std::move(app), std::move(book));
}

model::Workbook& Workbook::book() const {
  if (!application().is_open(*book_)) raise_detached();
  return *book_;
}

const std::shared_ptr<model::Workbook>& Workbook::open_book() const {
  book();
  return book_;
}

std::string Workbook::name() const { return book().name(); }

std::string Workbook::full_name() const {
  const model::Workbook& b = book();
  return b.path().empty() ? b.name() : b.path();
}

std::string Workbook::path() const {
  const model::Workbook& b = book();
  return b.path().empty() ? "" : folder_part(b.path());
}

bool Workbook::saved() const { return book().saved(); }
void Workbook::set_saved(bool saved) { book().set_saved(saved); }

void Workbook::activate() {
  book();
  application().activate_workbook(book_);
}

void Workbook::close(std::optional<bool> save_changes, const std::optional<std::string>& filename) {
  model::Workbook& b = book();
  if (save_changes.value_or(false) && !b.saved()) {
    if (filename) save_as(*filename, std::nullopt);
    else save();
  }
  application().remove_workbook(book_);
}

void Workbook::save() {
  model::Workbook& b = book();
  const std::string target = b.path().empty() ? full_file_name(application(), b.name() + ".xls") : b.path();
  write_workbook(application(), b, target);
  application().refresh_main_window_title();
}

void Workbook::save_as(const std::string& filename, std::optional<std::int32_t> file_format) {
  model::Workbook& b = book();
  const bool as_template = file_format == platform::excel::xlTemplate || has_template_extension(filename);
  std::string target = full_file_name(application(), filename);
  if (file_part(target).find('.') == std::string::npos) target += as_template ? ".xlt" : ".xls";
  for (const auto& other : application().open_workbooks()) {
    if (other != book_ && same_name(other->name(), file_part(target))) {
      raise_refused("You cannot save this workbook with the same name as another open workbook or add-in. "
                    "Choose a different name, or close the other workbook or add-in before saving.");
    }
  }
  write_workbook(application(), b, target);
  if (as_template) b.set_template(true);
  application().refresh_main_window_title();
}

void Workbook::protect(const std::optional<std::string>& password, std::optional<bool> structure,
                       std::optional<bool> windows) {
  book().protect(password.value_or(""), structure.value_or(true), windows.value_or(false));
}

void Workbook::unprotect(const std::optional<std::string>& password) { book().unprotect(password.value_or("")); }

com::Variant Workbook::sheets() { return std::make_shared<Sheets>(application_ref(), open_book()); }

com::Variant Workbook::active_sheet() {
  model::Workbook& b = book();
  if (b.sheet_count() == 0) return com::Variant::nothing();
  return make_worksheet(application_ref(), book_, b.active_sheet().id());
}

com::Variant Workbook::windows() { return std::make_shared<Windows>(application_ref(), open_book()); }
com::Variant Workbook::names() { return std::make_shared<Names>(application_ref(), open_book()); }
com::Variant Workbook::styles() { return std::make_shared<Styles>(application_ref(), open_book()); }
com::Variant Workbook::custom_views() { return std::make_shared<CustomViews>(application_ref(), open_book()); }

const GuardedMembers& Workbook::member_table() const {
  static const GuardedMembers table =
      AppMembers<Workbook>("Workbook")
          .get("Application", dispid::Application, &Workbook::application_ref)
          .get("Parent", dispid::Parent, &Workbook::application_ref)
          .get("Name", dispid::Name, &Workbook::name)
          .get("FullName", dispid::FullName, &Workbook::full_name)
          .get("Path", dispid::Path, &Workbook::path)
          .get("Saved", dispid::Saved, &Workbook::saved)
          .put("Saved", dispid::Saved, &Workbook::set_saved)
          .method("Activate", dispid::Activate, &Workbook::activate)
          .method("Close", dispid::Close, &Workbook::close, {"SaveChanges", "Filename"})
          .method("Save", dispid::Save, &Workbook::save)
          .method("SaveAs", dispid::SaveAs,
                  [](Workbook& w, std::span<com::Variant> args) -> com::Variant {
                    refuse_password(args, 2);
                    refuse_password(args, 3);
                    w.save_as(com::argument<std::string>(args, 0), com::optional_argument<std::int32_t>(args, 1));
                    return {};
                  },
                  // The Save As dialog's recording names them all; the options are Excel's defaults.
                  {"Filename", "FileFormat", "Password", "WriteResPassword", "ReadOnlyRecommended", "CreateBackup",
                   "AccessMode", "ConflictResolution", "AddToMru", "TextCodepage", "TextVisualLayout", "Local"})
          .method("Protect", dispid::Protect, &Workbook::protect, {"Password", "Structure", "Windows"})
          .method("Unprotect", dispid::Unprotect, &Workbook::unprotect, {"Password"})
          .get("ProtectStructure", dispid::ProtectStructure,
               [](Workbook& w) { return w.book().protection().structure; })
          .get("ProtectWindows", dispid::ProtectWindows, [](Workbook& w) { return w.book().protection().windows; })
          .get("Sheets", dispid::Sheets, &Workbook::sheets)
          .get("Worksheets", dispid::Worksheets, &Workbook::sheets)
          .get("ActiveSheet", dispid::ActiveSheet, &Workbook::active_sheet)
          .get("Windows", dispid::Windows, &Workbook::windows)
          .get("Names", dispid::Names, &Workbook::names)
          .get("Styles", dispid::Styles, &Workbook::styles)
          .get("CustomViews", dispid::CustomViews, &Workbook::custom_views);
  return table;
}

}  // namespace engine::app
