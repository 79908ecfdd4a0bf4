#include "engine/import/drawn_shapes.hpp"

#include "engine/import/file_error.hpp"
#include "engine/model/constants.hpp"
#include "platform/com/error.hpp"

namespace engine::import {

namespace {

void check_room(const model::Worksheet& sheet) {
  if (sheet.shapes().size() >= kMaxDrawnObjects)
    fail("the sheet '" + sheet.name() + "' holds more than " + std::to_string(kMaxDrawnObjects) +
         " notes and drawn objects");
}

}  // namespace

void add_drawn_shape(model::Worksheet& sheet, DrawnShape shape, LoadReport* report) {
  const std::string where = sheet.name() + "!" + shape.name;
  if (shape.row < 0 || shape.column < 0 || shape.row >= model::kMaxRows || shape.column >= model::kMaxColumns) {
    report_loss(report, "shape", where, "it lies outside Excel 2003's grid");
    return;
  }
  check_room(sheet);
  if (sheet.find_shape(shape.name) != nullptr) shape.name.clear();
  try {
    const bool check_box = shape.kind == model::ShapeKind::CheckBox;
    const model::Shape& added = check_box
                                    ? sheet.add_check_box(shape.row, shape.column, std::move(shape.text), std::move(shape.name))
                                    : sheet.add_text_box(shape.row, shape.column, std::move(shape.text), std::move(shape.name));
    const std::string added_name = added.name;
    if (check_box) sheet.set_check_box_value(added_name, shape.value);
    if (shape.auto_shape_type != 0) sheet.set_auto_shape_type(added_name, shape.auto_shape_type);
    if (shape.extent) sheet.set_shape_extent(added_name, *shape.extent);
    sheet.set_shape_locked(added_name, shape.locked);
  } catch (const platform::com::Error& error) {
    report_loss(report, "shape", where, error.description());
  }
}

void add_note(model::Worksheet& sheet, int row, int column, std::string text, std::string author, bool visible) {
  if (row < 0 || column < 0 || row >= model::kMaxRows || column >= model::kMaxColumns) return;
  if (sheet.note(row, column) != nullptr) return;  // one note per cell
  check_room(sheet);
  sheet.set_note(row, column, std::move(text), std::move(author));
  sheet.set_note_visible(row, column, visible);
}

}  // namespace engine::import
