// A shape's text as Excel's object model reaches it: Shape.TextFrame, then
// Characters, whose Text reads or replaces a run of the text.
#include "engine/app/application.hpp"
#include "engine/app/shapes.hpp"
#include "platform/com/text.hpp"
#include "engine/app/more_dispids.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

constexpr com::DispId kInsert = 252;
constexpr com::DispId kCharacters = 603;

}  // namespace

// --- TextFrame ----------------------------------------------------------------------

TextFrame::TextFrame(std::shared_ptr<Application> app, SheetRef sheet, int id)
    : AppObject(std::move(app)), sheet_(std::move(sheet)), id_(id) {}

com::Variant TextFrame::characters(std::optional<std::int32_t> start, std::optional<std::int32_t> length) {
  shape_with_id(sheet_.get(application()), id_);
  if (start.value_or(1) < 1 || length.value_or(0) < 0) {
    raise_refused("Unable to get the Characters property of the TextFrame class");
  }
  return std::make_shared<Characters>(application_ref(), sheet_, id_, start.value_or(1), length);
}

const GuardedMembers& TextFrame::member_table() const {
  static const GuardedMembers table =
      AppMembers<TextFrame>("TextFrame")
          .method("Characters", kCharacters, &TextFrame::characters, {"Start", "Length"})
          .get("Parent", dispid::Parent,
               [](TextFrame& t) {
                 shape_with_id(t.sheet_.get(t.application()), t.id_);
                 return std::make_shared<Shape>(t.application_ref(), t.sheet_, t.id_);
               })
          .get("Application", dispid::Application, [](TextFrame& t) { return t.application_ref(); });
  return table;
}

// --- Characters ---------------------------------------------------------------------

Characters::Characters(std::shared_ptr<Application> app, SheetRef sheet, int id, std::int32_t start,
                       std::optional<std::int32_t> length)
    : AppObject(std::move(app)), sheet_(std::move(sheet)), id_(id), start_(start), length_(length) {}

std::string Characters::text() const {
  return com::mid(shape_text(sheet_.get(application()), id_), start_, length_);
}

void Characters::set_text(const std::string& text) {
  model::Worksheet& sheet = sheet_.get(application());
  const std::string whole = shape_text(sheet, id_);
  std::string replaced = com::left(whole, start_ - 1) + text;
  if (length_) replaced += com::mid(whole, start_ + *length_);
  sheet.set_shape_text(shape_with_id(sheet, id_).name, std::move(replaced));
}

std::int32_t Characters::count() const { return com::len(text()); }

const GuardedMembers& Characters::member_table() const {
  static const GuardedMembers table =
      AppMembers<Characters>("Characters")
          .get("Text", dispid::Text, &Characters::text)
          .put("Text", dispid::Text, &Characters::set_text)
          .get("Caption", dispid::Caption, &Characters::text)
          .put("Caption", dispid::Caption, &Characters::set_text)
          .get("Count", dispid::Count, &Characters::count)
          .method("Insert", kInsert, &Characters::set_text, {"String"})
          .get("Application", dispid::Application, [](Characters& c) { return c.application_ref(); });
  return table;
}

}  // namespace engine::app
