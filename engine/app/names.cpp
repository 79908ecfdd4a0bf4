#include "engine/app/names.hpp"

#include <algorithm>

#include "engine/app/application.hpp"
#include "engine/app/item_index.hpp"
#include "engine/app/more_dispids.hpp"
#include "engine/formula/r1c1.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

std::string quoted_sheet(const std::string& sheet) {
  std::string quoted = "'";
  for (char c : sheet) {
    quoted += c;
    if (c == '\'') quoted += c;
  }
  return quoted + "'";
}

bool needs_quotes(const std::string& sheet) {
  return std::any_of(sheet.begin(), sheet.end(), [](char c) {
    return !(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || (c & 0x80));
  });
}

std::string display_name(const model::Workbook& book, const model::DefinedName& name) {
  if (!name.sheet) return name.name;
  const model::Worksheet* sheet = book.find_sheet(*name.sheet);
  if (!sheet) return name.name;
  return (needs_quotes(sheet->name()) ? quoted_sheet(sheet->name()) : sheet->name()) + "!" + name.name;
}

// The names in Excel's order: by name, without regard to case.
std::vector<const model::DefinedName*> sorted_names(const model::Workbook& book) {
  std::vector<const model::DefinedName*> names;
  for (const model::DefinedName& name : book.names()) names.push_back(&name);
  std::stable_sort(names.begin(), names.end(), [&](const auto* a, const auto* b) {
    return com::lcase(display_name(book, *a)) < com::lcase(display_name(book, *b));
  });
  return names;
}

}  // namespace

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
std::string reference_text(const com::Variant& refers_to) {
  if (!refers_to.is_object()) return com::cstr(refers_to);
  com::Dispatch& range = com::object_of(refers_to);
  const std::string sheet = com::cstr(com::object_of(range.get("Worksheet")).get("Name"));
  return "=" + quoted_sheet(sheet) + "!" + com::cstr(range.get("Address"));
}
#pragma GCC diagnostic pop

// --- Name ----------------------------------------------------------------------

Name::Name(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book, std::string name,
           std::optional<model::SheetId> sheet)
    : AppObject(std::move(app)), book_(std::move(book)), name_(std::move(name)), sheet_(sheet) {}

const model::DefinedName& Name::defined() const {
  if (!application().is_open(*book_)) raise_detached();
  const model::DefinedName* found = book_->find_name(name_, sheet_);
  if (!found) raise_detached();
  return *found;
}

std::string Name::name() const { return display_name(*book_, defined()); }
std::string Name::refers_to() const { return defined().refers_to_text(); }

void Name::set_refers_to(const com::Variant& refers_to) {
  defined();
  book_->add_name(name_, reference_text(refers_to), sheet_);
}

bool Name::visible() const { return defined().visible; }

void Name::remove() {
  defined();
  book_->delete_name(name_, sheet_);
}

const GuardedMembers& Name::member_table() const {
  static const GuardedMembers table = AppMembers<Name>("Name")
                                          .get("Application", dispid::Application, &Name::application_ref)
                                          .get("Name", dispid::Name, &Name::name)
                                          .get("RefersTo", dispid::RefersTo, &Name::refers_to)
                                          .put("RefersTo", dispid::RefersTo, &Name::set_refers_to)
                                          .get("Value", dispid::Value, &Name::refers_to)
                                          .put("Value", dispid::Value, &Name::set_refers_to)
                                          .get("_Default", dispid::Default, &Name::refers_to)
                                          .get("Visible", dispid::Visible, &Name::visible)
                                          .method("Delete", dispid::Delete, &Name::remove);
  return table;
}

// --- Names ---------------------------------------------------------------------

Names::Names(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book)
    : AppObject(std::move(app)), book_(std::move(book)) {}

model::Workbook& Names::book() const {
  if (!application().is_open(*book_)) raise_detached();
  return *book_;
}

std::int32_t Names::count() const { return static_cast<std::int32_t>(book().names().size()); }

std::shared_ptr<Name> Names::item(const com::Variant& index) const {
  const auto names = sorted_names(book());
  const std::size_t found =
      find_item(index, names.size(), [&](std::size_t i) { return display_name(*book_, *names[i]); });
  return std::make_shared<Name>(application_ref(), book_, names[found]->name, names[found]->sheet);
}

// The recorder writes what Insert, Name, Define made in R1C1
// (RefersToR1C1:="='Trimestre 1'!R4C3:R7C3"); relative parts count from A1.
std::shared_ptr<Name> Names::add(const std::string& name, const std::optional<com::Variant>& refers_to,
                                 const std::optional<std::string>& refers_to_r1c1) {
  if (!refers_to && !refers_to_r1c1) com::raise(com::err::ArgumentNotOptional);
  std::optional<std::string> r1c1_reference;
  if (!refers_to && !(r1c1_reference = formula::r1c1_to_a1(*refers_to_r1c1, 0, 0))) {
    raise_refused("Application-defined or object-defined error");
  }
  std::string reference = refers_to ? reference_text(*refers_to) : *r1c1_reference;
  if (reference.empty() || reference.front() != '=') reference.insert(reference.begin(), '=');
  const model::DefinedName& added = book().add_name(name, reference);
  return std::make_shared<Name>(application_ref(), book_, added.name, added.sheet);
}

const GuardedMembers& Names::member_table() const {
  static const GuardedMembers table = AppMembers<Names>("Names")
                                          .get("Application", dispid::Application, &Names::application_ref)
                                          .get("Count", dispid::Count, &Names::count)
                                          .get("Item", dispid::Item, &Names::item, {"Index"})
                                          .get("_Default", dispid::Default, &Names::item, {"Index"})
                                          .method("Add", dispid::Add,
                                                  [](Names& n, std::span<com::Variant> args) {
                                                    return n.add(com::argument<std::string>(args, 0),
                                                                 com::optional_argument<com::Variant>(args, 1),
                                                                 com::optional_argument<std::string>(args, 9));
                                                  },
                                                  {"Name", "RefersTo", "Visible", "MacroType", "ShortcutKey",
                                                   "Category", "NameLocal", "RefersToLocal", "CategoryLocal",
                                                   "RefersToR1C1", "RefersToR1C1Local"});
  return table;
}

}  // namespace engine::app
