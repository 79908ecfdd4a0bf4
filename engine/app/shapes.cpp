#include "engine/app/shapes.hpp"

#include <algorithm>
#include <cmath>

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
constexpr com::DispId kAddShape = 24;
constexpr std::int32_t kShapeOval = 9;
constexpr com::DispId kAddFormControl = 26;
constexpr com::DispId kType = 108;
constexpr com::DispId kWidth = 122;
constexpr com::DispId kHeight = 123;
constexpr com::DispId kTop = 126;
constexpr com::DispId kLeft = 127;
constexpr com::DispId kLocked = 269;
constexpr com::DispId kTextFrame = 1692;
constexpr com::DispId kControlFormat = 1709;

constexpr std::int32_t kCheckBoxControl = 1;  // xlCheckBox
constexpr com::DispId kAutoShapeType = 1701;
constexpr std::int32_t msoAutoShape = 1;
constexpr std::int32_t msoShapeRectangle = 1;
constexpr std::int32_t msoShapeMixed = -2;
constexpr std::int32_t msoComment = 4;
constexpr std::int32_t msoFormControl = 8;
constexpr std::int32_t msoTextBox = 17;

// Excel's refusal of a size or place, which maps to 5.
[[noreturn]] void raise_out_of_range() {
  com::raise(com::err::InvalidCall, "Shape", "The specified value is out of range");
}

// A size Excel takes: finite, 0 or more.
double checked_size(double points) {
  if (!(std::isfinite(points) && points >= 0)) raise_out_of_range();
  return points;
}

// A place Excel takes: any number but NaN; one off the sheet is brought
// back onto it.
double checked_position(double points) {
  if (std::isnan(points)) raise_out_of_range();
  return points;
}

// Where a new shape goes: at (left, top) with its size, on the sheet.
model::ShapeFrame new_shape_frame(const model::Worksheet& sheet, double left, double top, double width, double height) {
  if (!(left >= 0 && top >= 0)) raise_refused("The shape must lie on the sheet");
  return model::frame_at(sheet, {left, top, checked_size(width), checked_size(height)});
}

// The name Excel gives a new shape: its kind ("Rectangle", or a control's
// kind in the language of Excel's interface) and the sheet's next shape
// number, or the first free number after it when a shape already has that
// name ("Rectangle 4").
std::string numbered_name(const model::Worksheet& sheet, const std::string& word) {
  const std::string prefix = word + " ";
  int number = sheet.next_shape_id();
  while (sheet.find_shape(prefix + std::to_string(number)) != nullptr) ++number;
  return prefix + std::to_string(number);
}

std::string default_name(const model::Worksheet& sheet, Language language, model::ShapeKind kind) {
  const LanguageTexts& words = texts(language);
  return numbered_name(sheet, kind == model::ShapeKind::CheckBox ? words.new_check_box : words.new_text_box);
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

std::shared_ptr<Shape> Shapes::add_form_control(std::int32_t type, double left, double top, double width,
                                                double height) {
  model::Worksheet& sheet = sheet_.get(application());
  if (type != kCheckBoxControl) raise_refused("AddFormControl method of Shapes class failed: only check boxes are supported");
  if (sheet.protection().drawing_objects) raise_refused("AddFormControl method of Shapes class failed");
  const model::ShapeFrame frame = new_shape_frame(sheet, left, top, width, height);
  // A new box's caption is its first name, and stays when the box is renamed.
  const std::string name = default_name(sheet, application().language(), model::ShapeKind::CheckBox);
  const int id = sheet.add_check_box(frame.row, frame.column, name, name).id;
  sheet.place_shape(name, frame.row, frame.column, frame.extent);
  return std::make_shared<Shape>(application_ref(), sheet_, id);
}

std::shared_ptr<Shape> Shapes::add_textbox(std::int32_t, double left, double top, double width, double height) {
  model::Worksheet& sheet = sheet_.get(application());
  if (sheet.protection().drawing_objects) raise_refused("AddTextbox method of Shapes class failed");
  return add_box(default_name(sheet, application().language(), model::ShapeKind::TextBox), left, top, width, height);
}

// An autoshape drawn from the Drawing toolbar: a text box that keeps the
// autoshape it is (Type msoAutoShape, AutoShapeType), named as Excel names
// it ("Rectangle 4", "Oval 5").
std::shared_ptr<Shape> Shapes::add_shape(std::int32_t type, double left, double top, double width, double height) {
  model::Worksheet& sheet = sheet_.get(application());
  if (sheet.protection().drawing_objects) raise_refused("AddShape method of Shapes class failed");
  if (type < 1) com::raise(com::err::InvalidCall);
  auto shape = add_box(numbered_name(sheet, type == kShapeOval ? "Oval" : "Rectangle"), left, top, width, height);
  sheet.set_auto_shape_type(shape->name(), type);
  return shape;
}

std::shared_ptr<Shape> Shapes::add_box(const std::string& name, double left, double top, double width, double height) {
  model::Worksheet& sheet = sheet_.get(application());
  const model::ShapeFrame frame = new_shape_frame(sheet, left, top, width, height);
  const int id = sheet.add_text_box(frame.row, frame.column, {}, name).id;
  sheet.place_shape(name, frame.row, frame.column, frame.extent);
  return std::make_shared<Shape>(application_ref(), sheet_, id);
}

const GuardedMembers& Shapes::member_table() const {
  static const GuardedMembers table =
      AppMembers<Shapes>("Shapes")
          .get("Item", com::DISPID_VALUE, &Shapes::item, {"Index"})
          .get("Count", kShapesCount, &Shapes::count)
          .method("AddFormControl", kAddFormControl, &Shapes::add_form_control,
                  {"Type", "Left", "Top", "Width", "Height"})
          .method("AddTextbox", kAddTextbox, &Shapes::add_textbox, {"Orientation", "Left", "Top", "Width", "Height"})
          .method("AddShape", kAddShape, &Shapes::add_shape, {"Type", "Left", "Top", "Width", "Height"})
          .get("Parent", dispid::Parent,
               [](Shapes& s) { return make_worksheet(s.application_ref(), s.sheet_.book, s.sheet_.id); })
          .get("Application", dispid::Application, [](Shapes& s) { return s.application_ref(); });
  return table;
}

// --- ShapeObject ------------------------------------------------------------------

ShapeObject::ShapeObject(std::shared_ptr<Application> app, SheetRef sheet, int id)
    : AppObject(std::move(app)), sheet_(std::move(sheet)), id_(id) {}

const model::Shape& ShapeObject::shape() const { return shape_with_id(sheet_.get(application()), id_); }

model::ShapeBounds ShapeObject::bounds() const { return model::shape_bounds(sheet_.get(application()), shape()); }

double ShapeObject::left() const { return bounds().left; }
double ShapeObject::top() const { return bounds().top; }
double ShapeObject::width() const { return bounds().width; }
double ShapeObject::height() const { return bounds().height; }

void ShapeObject::set_left(double points) { change(&model::ShapeBounds::left, checked_position(points)); }
void ShapeObject::set_top(double points) { change(&model::ShapeBounds::top, checked_position(points)); }
void ShapeObject::set_width(double points) { change(&model::ShapeBounds::width, checked_size(points)); }
void ShapeObject::set_height(double points) { change(&model::ShapeBounds::height, checked_size(points)); }

void ShapeObject::change(double model::ShapeBounds::*side, double points) {
  model::ShapeBounds moved = bounds();
  moved.*side = points;
  model::Worksheet& sheet = sheet_.get(application());
  const model::ShapeFrame frame = model::frame_at(sheet, moved);
  sheet.place_shape(shape().name, frame.row, frame.column, frame.extent);
}

const GuardedMembers& ShapeObject::placement_members() {
  static const GuardedMembers table = AppMembers<ShapeObject>("Shape")
                                          .get("Left", kLeft, &ShapeObject::left)
                                          .put("Left", kLeft, &ShapeObject::set_left)
                                          .get("Top", kTop, &ShapeObject::top)
                                          .put("Top", kTop, &ShapeObject::set_top)
                                          .get("Width", kWidth, &ShapeObject::width)
                                          .put("Width", kWidth, &ShapeObject::set_width)
                                          .get("Height", kHeight, &ShapeObject::height)
                                          .put("Height", kHeight, &ShapeObject::set_height);
  return table;
}

// --- Shape ------------------------------------------------------------------------

Shape::Shape(std::shared_ptr<Application> app, SheetRef sheet, int id) : ShapeObject(std::move(app), std::move(sheet), id) {}

std::string Shape::name() const { return shape().name; }

void Shape::set_name(const std::string& name) { sheet_.get(application()).rename_shape(shape().name, name); }

std::int32_t Shape::type() const {
  switch (shape().kind) {
    case model::ShapeKind::Comment: return msoComment;
    case model::ShapeKind::CheckBox: return msoFormControl;
    case model::ShapeKind::TextBox: break;
  }
  return shape().auto_shape_type != 0 ? msoAutoShape : msoTextBox;
}

// A text box and a comment are drawn as rectangles; a form control has none.
std::int32_t Shape::auto_shape_type() const {
  const model::Shape& s = shape();
  if (s.kind == model::ShapeKind::CheckBox) return msoShapeMixed;
  return s.auto_shape_type != 0 ? s.auto_shape_type : msoShapeRectangle;
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
          .get("AutoShapeType", kAutoShapeType, &Shape::auto_shape_type)
          .method("Select", dispid::Select, &Shape::select, {"Replace"})
          .method("Delete", dispid::Delete, &Shape::delete_shape)
          .get("Locked", kLocked, &Shape::locked)
          .put("Locked", kLocked, &Shape::set_locked)
          .get("ControlFormat", kControlFormat, &Shape::control_format)
          .get("TextFrame", kTextFrame, &Shape::text_frame)
          .include(placement_members())
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
                 const model::Worksheet& sheet = c.sheet_.get(c.application());
                 return std::int32_t{sheet.check_box_state(shape_with_id(sheet, c.id_))};
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
