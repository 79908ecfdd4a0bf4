// The parts of a worksheet beside its cells: merged ranges, notes, shapes,
// print settings, protection and selection.
#include <algorithm>
#include <array>
#include <cmath>

#include "engine/model/text.hpp"
#include "engine/model/workbook.hpp"
#include "engine/model/worksheet.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(std::int32_t number, const std::string& description) {
  platform::com::raise(number, "Worksheet", description);
}

// Offsets and sizes are finite and 0 or more (a NaN is neither).
bool valid_extent(const ShapeExtent& extent) {
  return std::ranges::all_of(std::array{extent.left_offset, extent.top_offset, extent.width, extent.height},
                             [](double v) { return std::isfinite(v) && v >= 0; });
}

}  // namespace

// --- Merged ranges -----------------------------------------------------------

void Worksheet::merge(const CellRange& range) {
  check_range(range);
  if (range.row_count() == 1 && range.column_count() == 1) return;
  for (const auto& merged : merges_) {
    if (merged == range) return;
    if (merged.intersects(range)) refuse(platform::com::err::ApplicationDefined, "Cannot merge over a merged range");
  }
  merges_.push_back(range);
  book_.mark_changed();
}

void Worksheet::unmerge(const CellRange& range) {
  const auto before = merges_.size();
  std::erase_if(merges_, [&](const CellRange& merged) { return merged.intersects(range); });
  if (merges_.size() != before) book_.mark_changed();
}

std::optional<CellRange> Worksheet::merged_range_at(int row, int column) const {
  for (const auto& merged : merges_) {
    if (merged.contains(row, column)) return merged;
  }
  return std::nullopt;
}

// --- Notes -------------------------------------------------------------------

const Note* Worksheet::note(int row, int column) const {
  check_cell(row, column);
  const auto it = notes_.find({row, column});
  return it == notes_.end() ? nullptr : &it->second;
}

void Worksheet::set_note(int row, int column, std::string text, std::string author) {
  check_cell(row, column);
  auto it = notes_.find({row, column});
  if (it == notes_.end()) {
    const Shape& shape = add_shape(ShapeKind::Comment, row, column, {}, {}, "Comment");
    it = notes_.emplace(std::pair{row, column}, Note{{}, {}, false, shape.id}).first;
  }
  it->second.text = std::move(text);
  it->second.author = std::move(author);
  book_.mark_changed();
}

void Worksheet::delete_note(int row, int column) {
  const auto it = notes_.find({row, column});
  if (it == notes_.end()) return;
  const int shape_id = it->second.shape_id;
  std::erase_if(shapes_, [shape_id](const Shape& shape) { return shape.id == shape_id; });
  notes_.erase(it);
  book_.mark_changed();
}

void Worksheet::set_note_visible(int row, int column, bool visible) {
  const auto it = notes_.find({row, column});
  if (it == notes_.end()) refuse(platform::com::err::ApplicationDefined, "The cell has no note");
  it->second.visible = visible;
  book_.mark_changed();
}

// --- Shapes ------------------------------------------------------------------

const Shape* Worksheet::find_shape(std::string_view name) const {
  for (const auto& shape : shapes_) {
    if (equal_ignoring_case(shape.name, name)) return &shape;
  }
  return nullptr;
}

Shape& Worksheet::shape_for_write(std::string_view name) {
  const Shape* shape = find_shape(name);
  if (shape == nullptr) refuse(platform::com::err::SubscriptOutOfRange, "The item with the specified name wasn't found");
  return shapes_[static_cast<std::size_t>(shape - shapes_.data())];
}

Shape& Worksheet::add_shape(ShapeKind kind, int row, int column, std::string text, std::string name,
                            const char* prefix) {
  check_cell(row, column);
  const int id = next_shape_id_;
  if (name.empty()) name = std::string(prefix) + " " + std::to_string(id);
  if (find_shape(name) != nullptr) refuse(platform::com::err::ApplicationDefined, "A shape of that name exists");
  ++next_shape_id_;
  Shape shape;
  shape.id = id;
  shape.kind = kind;
  shape.name = std::move(name);
  shape.row = row;
  shape.column = column;
  shape.text = std::move(text);
  shapes_.push_back(std::move(shape));
  book_.mark_changed();
  return shapes_.back();
}

const Shape& Worksheet::add_check_box(int row, int column, std::string caption, std::string name) {
  return add_shape(ShapeKind::CheckBox, row, column, std::move(caption), std::move(name), "Check Box");
}

const Shape& Worksheet::add_text_box(int row, int column, std::string text, std::string name) {
  return add_shape(ShapeKind::TextBox, row, column, std::move(text), std::move(name), "Text Box");
}

void Worksheet::set_check_box_value(std::string_view name, int value) {
  Shape& shape = shape_for_write(name);
  if (shape.kind != ShapeKind::CheckBox) refuse(platform::com::err::MemberNotFound, "The shape is not a check box");
  if (value != xl::On && value != xl::Off && value != xl::Mixed) {
    refuse(platform::com::err::ApplicationDefined, "Unable to set the Value property of the CheckBox class");
  }
  if (shape.locked && protection_.drawing_objects) {
    refuse(platform::com::err::ApplicationDefined, "The check box is locked on a protected sheet");
  }
  write_linked_cell(shape, value);
  shape.value = value;
  book_.mark_changed();
}

void Worksheet::set_auto_shape_type(std::string_view name, int type) {
  Shape& shape = shape_for_write(name);
  if (shape.kind != ShapeKind::TextBox || type < 1) {
    refuse(platform::com::err::ApplicationDefined, "Only a text box is drawn as an autoshape");
  }
  shape.auto_shape_type = type;
  book_.mark_changed();
}

void Worksheet::set_shape_locked(std::string_view name, bool locked) {
  if (protection_.drawing_objects) refuse(platform::com::err::ApplicationDefined, "The sheet is protected");
  shape_for_write(name).locked = locked;
  book_.mark_changed();
}

void Worksheet::delete_shape(std::string_view name) {
  const Shape& shape = shape_for_write(name);
  if (shape.kind == ShapeKind::Comment) {
    const auto note = std::find_if(notes_.begin(), notes_.end(),
                                   [&](const auto& entry) { return entry.second.shape_id == shape.id; });
    delete_note(note->first.first, note->first.second);
    return;
  }
  const int id = shape.id;
  std::erase_if(shapes_, [id](const Shape& s) { return s.id == id; });
  book_.mark_changed();
}

void Worksheet::rename_shape(std::string_view name, std::string new_name) {
  Shape& shape = shape_for_write(name);
  if (new_name.empty()) refuse(platform::com::err::ApplicationDefined, "A shape needs a name");
  const Shape* other = find_shape(new_name);
  if (other != nullptr && other->id != shape.id) {
    refuse(platform::com::err::ApplicationDefined, "A shape of that name exists");
  }
  check_shape_editable(shape);
  shape.name = std::move(new_name);
  book_.mark_changed();
}

void Worksheet::set_shape_extent(std::string_view name, const ShapeExtent& extent) {
  const Shape& shape = shape_for_write(name);
  place_shape(name, shape.row, shape.column, extent);
}

void Worksheet::place_shape(std::string_view name, int row, int column, const ShapeExtent& extent) {
  Shape& shape = shape_for_write(name);
  check_shape_editable(shape);
  if (shape.kind == ShapeKind::Comment) refuse(platform::com::err::ApplicationDefined, "A comment is placed by its cell");
  check_cell(row, column);
  if (!valid_extent(extent))
    refuse(platform::com::err::ApplicationDefined, "The shape must lie on the sheet with a size of zero or more");
  shape.row = row;
  shape.column = column;
  shape.extent = extent;
  book_.mark_changed();
}

void Worksheet::set_shape_text(std::string_view name, std::string text) {
  Shape& shape = shape_for_write(name);
  check_shape_editable(shape);
  if (shape.kind == ShapeKind::Comment) {
    auto& note = *std::find_if(notes_.begin(), notes_.end(),
                               [&](const auto& entry) { return entry.second.shape_id == shape.id; });
    note.second.text = std::move(text);
  } else {
    shape.text = std::move(text);
  }
  book_.mark_changed();
}

void Worksheet::check_shape_editable(const Shape& shape) const {
  if (shape.locked && protection_.drawing_objects) {
    refuse(platform::com::err::ApplicationDefined, "The shape is locked on a protected sheet");
  }
}

// --- Print settings, protection, selection -----------------------------------

void Worksheet::set_page_setup(const PageSetup& setup) {
  validate(setup);
  page_setup_ = setup;
  book_.mark_changed();
}

void Worksheet::protect(std::string_view password, bool contents, bool drawing_objects, bool scenarios) {
  engine::model::protect(protection_, password, contents, drawing_objects, scenarios);
  book_.mark_changed();
}

void Worksheet::restore_protection(const SheetProtection& protection) {
  protection_ = protection;
  book_.mark_changed();
}

void Worksheet::unprotect(std::string_view password) {
  engine::model::unprotect(protection_, password);
  book_.mark_changed();
}

void Worksheet::select(const CellRange& range, int active_row, int active_column) {
  check_range(range);
  if (!range.contains(active_row, active_column)) {
    refuse(platform::com::err::ApplicationDefined, "The active cell must lie in the selection");
  }
  selection_ = range;
  active_cell_ = {active_row, active_column};
}

}  // namespace engine::model
