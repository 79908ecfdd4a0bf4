#include "engine/app/shapes.hpp"

#include <algorithm>

#include "engine/app/application.hpp"
#include "engine/app/check_box.hpp"
#include "engine/model/text.hpp"
#include "platform/com/convert.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

namespace {

constexpr com::DispId kShapesCount = 2;
constexpr com::DispId kAddTextbox = 19;
constexpr com::DispId kAddFormControl = 26;
constexpr com::DispId kType = 108;
constexpr com::DispId kLocked = 269;
constexpr com::DispId kTextFrame = 1692;
constexpr com::DispId kControlFormat = 1709;

constexpr std::int32_t kCheckBoxControl = 1;  // xlCheckBox
constexpr std::int32_t msoComment = 4;
constexpr std::int32_t msoFormControl = 8;
constexpr std::int32_t msoTextBox = 17;

// Points of a column `characters` wide in the default font (7-pixel digits,
// 5 pixels of padding, 3/4 point per pixel).
double column_points(double characters) { return characters <= 0 ? 0 : (characters * 7 + 5) * 0.75; }

// The line under the offset `points` from the top (left) of the sheet.
template <class Size>
int line_at(const model::Lines& lines, double points, Size size_of) {
  double edge = 0;
  for (int index = 0; index < lines.count() - 1; ++index) {
    const model::LineInfo& info = lines.at(index);
    edge += info.hidden ? 0 : size_of(info);
    if (edge > points) return index;
  }
  return lines.count() - 1;
}

std::pair<int, int> cell_at(const model::Worksheet& sheet, double left, double top) {
  if (left < 0 || top < 0) raise_refused("The shape must lie on the sheet");
  const double height = sheet.standard_height(), width = sheet.standard_width();
  const int row = line_at(sheet.rows(), top, [height](const model::LineInfo& i) { return i.size.value_or(height); });
  const int column = line_at(sheet.columns(), left,
                             [width](const model::LineInfo& i) { return column_points(i.size.value_or(width)); });
  return {row, column};
}

// The name Excel gives a new control: its kind in the language of Excel's
// interface and the sheet's next shape number, or the first free number
// after it when the sheet already has a shape of that name.
std::string default_name(const model::Worksheet& sheet, Language language, model::ShapeKind kind) {
  const LanguageTexts& words = texts(language);
  const std::string prefix = (kind == model::ShapeKind::CheckBox ? words.new_check_box : words.new_text_box) + " ";
  int number = sheet.next_shape_id();
  while (sheet.find_shape(prefix + std::to_string(number)) != nullptr) ++number;
  return prefix + std::to_string(number);
}

}  // namespace

const model::Shape& shape_with_id(const model::Worksheet& sheet, int id) {
  const auto& shapes = sheet.shapes();
  const auto it = std::find_if(shapes.begin(), shapes.end(), [id](const model::Shape& s) { return s.id == id; });
  if (it == shapes.end()) raise_detached();
  return *it;
}

void select_shape(Application& app, const SheetRef& sheet, int id) {
  const model::Shape& shape = shape_with_id(sheet.get(app), id);
  const bool active = app.active_workbook() == sheet.book && sheet.book->active_sheet().id() == sheet.id;
  if (!active) raise_refused("Select method of Shape class failed");
  const bool check_box = shape.kind == model::ShapeKind::CheckBox;
  app.select_object([sheet, id, check_box](Application& owner) -> std::shared_ptr<com::Dispatch> {
    auto app_ref = std::static_pointer_cast<Application>(owner.shared_from_this());
    if (check_box) return std::make_shared<CheckBox>(std::move(app_ref), sheet, id);
    return std::make_shared<Shape>(std::move(app_ref), sheet, id);
  });
}

void delete_shape(model::Worksheet& sheet, int id) {
  const model::Shape& shape = shape_with_id(sheet, id);
  if (shape.locked && sheet.protection().drawing_objects) raise_refused("Delete method of Shape class failed");
  sheet.delete_shape(shape.name);
}

std::string shape_text(const model::Worksheet& sheet, int id) {
  const model::Shape& shape = shape_with_id(sheet, id);
  if (shape.kind == model::ShapeKind::Comment) {
    for (const auto& [cell, note] : sheet.notes()) {
      if (note.shape_id == id) return note.text;
    }
  }
  if (shape.kind == model::ShapeKind::CheckBox && shape.text.empty()) return shape.name;
  return shape.text;
}

// --- Shapes -----------------------------------------------------------------------

Shapes::Shapes(std::shared_ptr<Application> app, SheetRef sheet) : AppObject(std::move(app)), sheet_(std::move(sheet)) {}

std::int32_t Shapes::count() const { return static_cast<std::int32_t>(sheet_.get(application()).shapes().size()); }

std::shared_ptr<Shape> Shapes::item(const com::Variant& index) const {
  const model::Worksheet& sheet = sheet_.get(application());
  const com::Variant key = com::value_of(index);
  const model::Shape* found = nullptr;
  if (key.type() == com::VarType::String) {
    found = sheet.find_shape(key.string_value());
  } else {
    const std::int32_t n = com::clng(key);
    if (n >= 1 && static_cast<std::size_t>(n) <= sheet.shapes().size()) found = &sheet.shapes()[n - 1];
  }
  if (found == nullptr) com::raise(com::err::SubscriptOutOfRange);
  return std::make_shared<Shape>(application_ref(), sheet_, found->id);
}

std::shared_ptr<Shape> Shapes::add_form_control(std::int32_t type, double left, double top, double, double) {
  model::Worksheet& sheet = sheet_.get(application());
  if (type != kCheckBoxControl) raise_refused("AddFormControl method of Shapes class failed: only check boxes are supported");
  if (sheet.protection().drawing_objects) raise_refused("AddFormControl method of Shapes class failed");
  const auto [row, column] = cell_at(sheet, left, top);
  // A new box's caption is its first name, and stays when the box is renamed.
  const std::string name = default_name(sheet, application().language(), model::ShapeKind::CheckBox);
  return std::make_shared<Shape>(application_ref(), sheet_, sheet.add_check_box(row, column, name, name).id);
}

std::shared_ptr<Shape> Shapes::add_textbox(std::int32_t, double left, double top, double, double) {
  model::Worksheet& sheet = sheet_.get(application());
  if (sheet.protection().drawing_objects) raise_refused("AddTextbox method of Shapes class failed");
  const auto [row, column] = cell_at(sheet, left, top);
  const std::string name = default_name(sheet, application().language(), model::ShapeKind::TextBox);
  return std::make_shared<Shape>(application_ref(), sheet_, sheet.add_text_box(row, column, {}, name).id);
}

const GuardedMembers& Shapes::member_table() const {
  static const GuardedMembers table =
      AppMembers<Shapes>("Shapes")
          .get("Item", com::DISPID_VALUE, &Shapes::item, {"Index"})
          .get("Count", kShapesCount, &Shapes::count)
          .method("AddFormControl", kAddFormControl, &Shapes::add_form_control,
                  {"Type", "Left", "Top", "Width", "Height"})
          .method("AddTextbox", kAddTextbox, &Shapes::add_textbox, {"Orientation", "Left", "Top", "Width", "Height"})
          .get("Parent", dispid::Parent,
               [](Shapes& s) { return make_worksheet(s.application_ref(), s.sheet_.book, s.sheet_.id); })
          .get("Application", dispid::Application, [](Shapes& s) { return s.application_ref(); });
  return table;
}

// --- Shape ------------------------------------------------------------------------

Shape::Shape(std::shared_ptr<Application> app, SheetRef sheet, int id)
    : AppObject(std::move(app)), sheet_(std::move(sheet)), id_(id) {}

const model::Shape& Shape::shape() const { return shape_with_id(sheet_.get(application()), id_); }

std::string Shape::name() const { return shape().name; }

void Shape::set_name(const std::string& name) { sheet_.get(application()).rename_shape(shape().name, name); }

std::int32_t Shape::type() const {
  switch (shape().kind) {
    case model::ShapeKind::Comment: return msoComment;
    case model::ShapeKind::CheckBox: return msoFormControl;
    case model::ShapeKind::TextBox: break;
  }
  return msoTextBox;
}

void Shape::select(std::optional<bool>) { select_shape(application(), sheet_, id_); }

void Shape::delete_shape() { engine::app::delete_shape(sheet_.get(application()), id_); }

bool Shape::locked() const { return shape().locked; }

void Shape::set_locked(bool locked) { sheet_.get(application()).set_shape_locked(shape().name, locked); }

com::Variant Shape::control_format() {
  if (shape().kind != model::ShapeKind::CheckBox) raise_refused("Unable to get the ControlFormat property of the Shape class");
  return std::make_shared<ControlFormat>(application_ref(), sheet_, id_);
}

com::Variant Shape::text_frame() {
  shape();
  return std::make_shared<TextFrame>(application_ref(), sheet_, id_);
}

const GuardedMembers& Shape::member_table() const {
  static const GuardedMembers table =
      AppMembers<Shape>("Shape")
          .get("Name", dispid::Name, &Shape::name)
          .put("Name", dispid::Name, &Shape::set_name)
          .get("Type", kType, &Shape::type)
          .method("Select", dispid::Select, &Shape::select, {"Replace"})
          .method("Delete", dispid::Delete, &Shape::delete_shape)
          .get("Locked", kLocked, &Shape::locked)
          .put("Locked", kLocked, &Shape::set_locked)
          .get("ControlFormat", kControlFormat, &Shape::control_format)
          .get("TextFrame", kTextFrame, &Shape::text_frame)
          .get("Parent", dispid::Parent,
               [](Shape& s) { return make_worksheet(s.application_ref(), s.sheet_.book, s.sheet_.id); })
          .get("Application", dispid::Application, [](Shape& s) { return s.application_ref(); });
  return table;
}

// --- ControlFormat --------------------------------------------------------------------

ControlFormat::ControlFormat(std::shared_ptr<Application> app, SheetRef sheet, int id)
    : AppObject(std::move(app)), sheet_(std::move(sheet)), id_(id) {}

const GuardedMembers& ControlFormat::member_table() const {
  static const GuardedMembers table =
      AppMembers<ControlFormat>("ControlFormat")
          .get("Value", dispid::Value,
               [](ControlFormat& c) {
                 return std::int32_t{shape_with_id(c.sheet_.get(c.application()), c.id_).value};
               })
          .put("Value", dispid::Value,
               [](ControlFormat& c, const com::Variant& value) {
                 model::Worksheet& sheet = c.sheet_.get(c.application());
                 sheet.set_check_box_value(shape_with_id(sheet, c.id_).name, check_box_state(value));
               })
          .get("Application", dispid::Application, [](ControlFormat& c) { return c.application_ref(); });
  return table;
}

}  // namespace engine::app
