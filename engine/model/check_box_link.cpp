// Check boxes and their linked cells: a box's state written into its cell,
// and read back from it, so that a box follows its cell as in Excel.
#include "engine/model/workbook.hpp"
#include "engine/model/worksheet.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(const char* description) {
  platform::com::raise(platform::com::err::ApplicationDefined, "CheckBox", description);
}

// What a linked cell holds for each state.
formula::Value cell_value_of(int state) {
  if (state == xl::On) return formula::Value(true);
  if (state == xl::Off) return formula::Value(false);
  return formula::Value(formula::CellError::NA);
}

int state_of(const formula::Value& cell) {
  if (cell.is_empty()) return xl::Off;
  if (cell.is_boolean()) return cell.boolean() ? xl::On : xl::Off;
  if (cell.is_number()) return cell.number() != 0 ? xl::On : xl::Off;
  return xl::Mixed;
}

}  // namespace

int Worksheet::check_box_state(const Shape& shape) const {
  if (!shape.link) return shape.value;
  const Worksheet* linked = book_.find_sheet(shape.link->sheet);
  if (linked == nullptr) return shape.value;
  return state_of(linked->value(shape.link->row, shape.link->column));
}

void Worksheet::write_linked_cell(const Shape& shape, int state) {
  if (!shape.link) return;
  if (Worksheet* linked = book_.find_sheet(shape.link->sheet)) {
    linked->set_value(shape.link->row, shape.link->column, cell_value_of(state));
  }
}

// The box's own state is kept too, so that it stays what it was should
// the link go.
void Worksheet::link_check_box(std::string_view name, std::optional<CellLink> link) {
  Shape& shape = shape_for_write(name);
  if (shape.kind != ShapeKind::CheckBox) refuse("The shape is not a check box");
  check_shape_editable(shape);
  if (link) {
    Worksheet* linked = book_.find_sheet(link->sheet);
    if (linked == nullptr) refuse("The linked cell's sheet does not exist");
    check_cell(link->row, link->column);
    linked->set_value(link->row, link->column, cell_value_of(check_box_state(shape)));
  }
  shape.value = check_box_state(shape);
  shape.link = link;
  book_.mark_changed();
}

void Worksheet::set_check_box_shading(std::string_view name, bool shading_3d) {
  Shape& shape = shape_for_write(name);
  if (shape.kind != ShapeKind::CheckBox) refuse("The shape is not a check box");
  check_shape_editable(shape);
  shape.shading_3d = shading_3d;
  book_.mark_changed();
}

}  // namespace engine::model
