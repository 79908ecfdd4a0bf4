#include "engine/app/check_box.hpp"

#include "engine/app/application.hpp"
#include "engine/app/shapes.hpp"
#include "platform/com/convert.hpp"
#include "engine/app/more_dispids.hpp"
#include "engine/formula/reference.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

constexpr com::DispId kLocked = 269;
constexpr com::DispId kAdd = 181;
constexpr com::DispId kLinkedCell = 1058;
constexpr com::DispId kDisplay3DShading = 1122;
constexpr std::int32_t kCheckBoxControl = 1;  // xlCheckBox

std::vector<const model::Shape*> check_boxes_of(const model::Worksheet& sheet) {
  std::vector<const model::Shape*> boxes;
  for (const model::Shape& shape : sheet.shapes()) {
    if (shape.kind == model::ShapeKind::CheckBox) boxes.push_back(&shape);
  }
  return boxes;
}

}  // namespace

std::optional<model::CellLink> parse_cell_link(const model::Worksheet& sheet, const std::string& text) {
  if (text.empty()) return std::nullopt;
  const auto ref = formula::parse_reference(text);
  if (!ref || ref->shape != formula::AreaShape::Cells || ref->rows() != 1 || ref->columns() != 1 ||
      !ref->last_sheet.empty()) {
    raise_refused("Unable to set the LinkedCell property of the CheckBox class");
  }
  const model::Worksheet* target = ref->sheet.empty() ? &sheet : sheet.workbook().find_sheet(ref->sheet);
  if (target == nullptr) raise_refused("Unable to set the LinkedCell property of the CheckBox class");
  return model::CellLink{target->id(), ref->first.row, ref->first.column};
}

std::string cell_link_text(const model::Worksheet& sheet, const model::Shape& shape) {
  if (!shape.link) return {};
  const model::Worksheet* target = sheet.workbook().find_sheet(shape.link->sheet);
  if (target == nullptr) return "#REF!";
  formula::Reference ref;
  if (target != &sheet) ref.sheet = target->name();
  ref.first = {shape.link->row, shape.link->column, true, true};
  ref.last = ref.first;
  return formula::to_a1(ref);
}

std::int32_t check_box_state(const com::Variant& value) {
  const com::Variant v = com::value_of(value);
  if (v.type() == com::VarType::Boolean) return v.bool_value() ? model::xl::On : model::xl::Off;
  return com::clng(v);
}

// --- CheckBoxes ---------------------------------------------------------------------

CheckBoxes::CheckBoxes(std::shared_ptr<Application> app, SheetRef sheet)
    : AppObject(std::move(app)), sheet_(std::move(sheet)) {}

std::int32_t CheckBoxes::count() const {
  return static_cast<std::int32_t>(check_boxes_of(sheet_.get(application())).size());
}

std::shared_ptr<CheckBox> CheckBoxes::item(const com::Variant& index) const {
  const model::Worksheet& sheet = sheet_.get(application());
  const com::Variant key = com::value_of(index);
  const model::Shape* found = nullptr;
  if (key.type() == com::VarType::String) {
    found = sheet.find_shape(key.string_value());
    if (found != nullptr && found->kind != model::ShapeKind::CheckBox) found = nullptr;
  } else {
    const auto boxes = check_boxes_of(sheet);
    const std::int32_t n = com::clng(key);
    if (n >= 1 && static_cast<std::size_t>(n) <= boxes.size()) found = boxes[n - 1];
  }
  if (found == nullptr) com::raise(com::err::SubscriptOutOfRange);
  return std::make_shared<CheckBox>(application_ref(), sheet_, found->id);
}

// A box drawn from the Forms toolbar, as Shapes.AddFormControl draws it.
std::shared_ptr<CheckBox> CheckBoxes::add(double left, double top, double width, double height) {
  const auto shape = Shapes(application_ref(), sheet_).add_form_control(kCheckBoxControl, left, top, width, height);
  return item(com::Variant(shape->name()));
}

const GuardedMembers& CheckBoxes::member_table() const {
  static const GuardedMembers table =
      AppMembers<CheckBoxes>("CheckBoxes")
          .get("Item", com::DISPID_VALUE, &CheckBoxes::item, {"Index"})
          .get("Count", dispid::Count, &CheckBoxes::count)
          .method("Add", kAdd, &CheckBoxes::add, {"Left", "Top", "Width", "Height"})
          .get("Parent", dispid::Parent,
               [](CheckBoxes& c) { return make_worksheet(c.application_ref(), c.sheet_.book, c.sheet_.id); })
          .get("Application", dispid::Application, [](CheckBoxes& c) { return c.application_ref(); });
  return table;
}

// --- CheckBox -----------------------------------------------------------------------

CheckBox::CheckBox(std::shared_ptr<Application> app, SheetRef sheet, int id)
    : ShapeObject(std::move(app), std::move(sheet), id) {}

std::int32_t CheckBox::value() const { return sheet_.get(application()).check_box_state(shape()); }

void CheckBox::set_value(const com::Variant& value) {
  model::Worksheet& sheet = sheet_.get(application());
  sheet.set_check_box_value(shape_with_id(sheet, id_).name, check_box_state(value));
}

std::string CheckBox::name() const { return shape().name; }

void CheckBox::set_name(const std::string& name) { sheet_.get(application()).rename_shape(this->name(), name); }

std::string CheckBox::caption() const { return shape_text(sheet_.get(application()), id_); }

void CheckBox::set_caption(const std::string& caption) { sheet_.get(application()).set_shape_text(name(), caption); }

bool CheckBox::locked() const { return shape().locked; }

void CheckBox::set_locked(bool locked) { sheet_.get(application()).set_shape_locked(name(), locked); }

std::string CheckBox::linked_cell() const { return cell_link_text(sheet_.get(application()), shape()); }

void CheckBox::set_linked_cell(const std::string& cell) {
  model::Worksheet& sheet = sheet_.get(application());
  sheet.link_check_box(name(), parse_cell_link(sheet, cell));
}

bool CheckBox::display_3d_shading() const { return shape().shading_3d; }

void CheckBox::set_display_3d_shading(bool shading) { sheet_.get(application()).set_check_box_shading(name(), shading); }

const GuardedMembers& CheckBox::member_table() const {
  static const GuardedMembers table =
      AppMembers<CheckBox>("CheckBox")
          .get("_Default", com::DISPID_VALUE, &CheckBox::value)
          .put("_Default", com::DISPID_VALUE, &CheckBox::set_value)
          .get("Value", dispid::Value, &CheckBox::value)
          .put("Value", dispid::Value, &CheckBox::set_value)
          .get("Name", dispid::Name, &CheckBox::name)
          .put("Name", dispid::Name, &CheckBox::set_name)
          .get("Caption", dispid::Caption, &CheckBox::caption)
          .put("Caption", dispid::Caption, &CheckBox::set_caption)
          .get("Text", dispid::Text, &CheckBox::caption)
          .put("Text", dispid::Text, &CheckBox::set_caption)
          .get("Locked", kLocked, &CheckBox::locked)
          .put("Locked", kLocked, &CheckBox::set_locked)
          .get("LinkedCell", kLinkedCell, &CheckBox::linked_cell)
          .put("LinkedCell", kLinkedCell, &CheckBox::set_linked_cell)
          .get("Display3DShading", kDisplay3DShading, &CheckBox::display_3d_shading)
          .put("Display3DShading", kDisplay3DShading, &CheckBox::set_display_3d_shading)
          .method("Select", dispid::Select, [](CheckBox& c, std::optional<bool>) { select_shape(c.application(), c.sheet_, c.id_); },
                  {"Replace"})
          .method("Delete", dispid::Delete,
                  [](CheckBox& c) { delete_shape(c.sheet_.get(c.application()), c.id_); })
          .include(placement_members())
          .get("Parent", dispid::Parent,
               [](CheckBox& c) { return make_worksheet(c.application_ref(), c.sheet_.book, c.sheet_.id); })
          .get("Application", dispid::Application, [](CheckBox& c) { return c.application_ref(); });
  return table;
}

}  // namespace engine::app
