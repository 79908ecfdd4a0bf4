#include "engine/app/styles.hpp"

#include "engine/app/application.hpp"
#include "engine/app/fixed_property.hpp"
#include "engine/app/font.hpp"
#include "engine/app/format_target.hpp"
#include "engine/app/interior.hpp"
#include "engine/app/item_index.hpp"
#include "engine/app/more_dispids.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

// A style as what its Font and Interior format.
class StyleTarget final : public FormatTarget {
 public:
  explicit StyleTarget(std::shared_ptr<Style> style) : style_(std::move(style)) {}

  com::Variant read(const std::function<com::Variant(const model::CellFormat&)>& get) const override {
    return get(style_->style().format);
  }
  void write(const std::function<void(model::CellFormat&)>& change) override { style_->change(change); }
  const model::Palette& palette() const override { return style_->book().palette(); }
  std::shared_ptr<com::Dispatch> parent() const override { return style_; }

 private:
  std::shared_ptr<Style> style_;
};

}  // namespace

// --- Style ---------------------------------------------------------------------

Style::Style(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book, std::string name)
    : AppObject(std::move(app)), book_(std::move(book)), name_(std::move(name)) {}

model::Workbook& Style::book() const {
  if (!application().is_open(*book_)) raise_detached();
  return *book_;
}

const model::Style& Style::style() const {
  const model::Style* found = book().styles().find(name_);
  if (!found) raise_detached();
  return *found;
}

void Style::change(const std::function<void(model::CellFormat&)>& edit) {
  const model::Style& current = style();
  model::CellFormat format = current.format;
  edit(format);
  book().change_style(name_, format);
}

std::string Style::name() const { return style().name; }
bool Style::builtin() const { return style().builtin(); }
std::string Style::number_format() const { return style().format.number_format; }
void Style::set_number_format(const std::string& format) {
  change([&](model::CellFormat& f) { f.number_format = format; });
}
std::int32_t Style::horizontal_alignment() const { return style().format.alignment.horizontal; }
void Style::set_horizontal_alignment(std::int32_t alignment) {
  change([&](model::CellFormat& f) { f.alignment.horizontal = alignment; });
}
std::int32_t Style::vertical_alignment() const { return style().format.alignment.vertical; }
void Style::set_vertical_alignment(std::int32_t alignment) {
  change([&](model::CellFormat& f) { f.alignment.vertical = alignment; });
}
bool Style::wrap_text() const { return style().format.alignment.wrap_text; }
void Style::set_wrap_text(bool wrap) {
  change([&](model::CellFormat& f) { f.alignment.wrap_text = wrap; });
}

com::Variant Style::font() {
  style();
  return std::make_shared<Font>(application_ref(), std::make_shared<StyleTarget>(self(this)));
}

com::Variant Style::interior() {
  style();
  return std::make_shared<Interior>(application_ref(), std::make_shared<StyleTarget>(self(this)));
}

void Style::remove() {
  style();
  book().delete_style(name_);
}

const GuardedMembers& Style::member_table() const {
  static const GuardedMembers table =
      AppMembers<Style>("Style")
          .get("Application", dispid::Application, &Style::application_ref)
          .get("Name", dispid::Name, &Style::name)
          .get("NameLocal", dispid::NameLocal, &Style::name)
          .get("_Default", dispid::Default, &Style::name)
          .get("BuiltIn", dispid::BuiltIn, &Style::builtin)
          .get("NumberFormat", dispid::NumberFormat, &Style::number_format)
          .put("NumberFormat", dispid::NumberFormat, &Style::set_number_format)
          .get("HorizontalAlignment", dispid::HorizontalAlignment, &Style::horizontal_alignment)
          .put("HorizontalAlignment", dispid::HorizontalAlignment, &Style::set_horizontal_alignment)
          .get("VerticalAlignment", dispid::VerticalAlignment, &Style::vertical_alignment)
          .put("VerticalAlignment", dispid::VerticalAlignment, &Style::set_vertical_alignment)
          .get("WrapText", dispid::WrapText, &Style::wrap_text)
          .put("WrapText", dispid::WrapText, &Style::set_wrap_text)
          .get("Font", dispid::Font, &Style::font)
          .get("Interior", dispid::Interior, &Style::interior)
          .get("IncludeAlignment", 413, [](Style&) { return true; })
          .put("IncludeAlignment", 413, [](Style&, const com::Variant& v) { keep_fixed(v, true, "IncludeAlignment", "Style"); })
          .get("IncludeBorder", 414, [](Style&) { return true; })
          .put("IncludeBorder", 414, [](Style&, const com::Variant& v) { keep_fixed(v, true, "IncludeBorder", "Style"); })
          .get("IncludeFont", 415, [](Style&) { return true; })
          .put("IncludeFont", 415, [](Style&, const com::Variant& v) { keep_fixed(v, true, "IncludeFont", "Style"); })
          .get("IncludeNumber", 416, [](Style&) { return true; })
          .put("IncludeNumber", 416, [](Style&, const com::Variant& v) { keep_fixed(v, true, "IncludeNumber", "Style"); })
          .get("IncludePatterns", 417, [](Style&) { return true; })
          .put("IncludePatterns", 417, [](Style&, const com::Variant& v) { keep_fixed(v, true, "IncludePatterns", "Style"); })
          .get("IncludeProtection", 418, [](Style&) { return true; })
          .put("IncludeProtection", 418, [](Style&, const com::Variant& v) { keep_fixed(v, true, "IncludeProtection", "Style"); })
          .method("Delete", dispid::Delete, &Style::remove);
  return table;
}

// --- Styles --------------------------------------------------------------------

Styles::Styles(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book)
    : AppObject(std::move(app)), book_(std::move(book)) {}

model::Workbook& Styles::book() const {
  if (!application().is_open(*book_)) raise_detached();
  return *book_;
}

std::int32_t Styles::count() const { return static_cast<std::int32_t>(book().styles().size()); }

std::shared_ptr<Style> Styles::item(const com::Variant& index) const {
  const model::StyleTable& styles = book().styles();
  const std::size_t found = find_item(index, styles.size(), [&](std::size_t i) { return styles.at(i).name; });
  return std::make_shared<Style>(application_ref(), book_, styles.at(found).name);
}

std::shared_ptr<Style> Styles::add(const std::string& name, const std::optional<com::Variant>& based_on) {
  model::Workbook& b = book();
  model::CellFormat format = b.styles().get("Normal").format;
  if (based_on) {
    com::Dispatch& range = com::object_of(*based_on);
    const std::string style_name = com::cstr(com::object_of(range.get("Cells", {1})).get("Style"));
    format = b.styles().get(style_name).format;
  }
  const model::Style& added = b.styles().add(name, format);
  b.mark_changed();
  return std::make_shared<Style>(application_ref(), book_, added.name);
}

const GuardedMembers& Styles::member_table() const {
  static const GuardedMembers table = AppMembers<Styles>("Styles")
                                          .get("Application", dispid::Application, &Styles::application_ref)
                                          .get("Count", dispid::Count, &Styles::count)
                                          .get("Item", dispid::Item, &Styles::item, {"Index"})
                                          .get("_Default", dispid::Default, &Styles::item, {"Index"})
                                          .method("Add", dispid::Add, &Styles::add, {"Name", "BasedOn"});
  return table;
}

}  // namespace engine::app
