#include "engine/xls/drawing_reader.hpp"

#include <algorithm>

#include "engine/xls/record_types.hpp"
#include "engine/xls/shape_anchor.hpp"
#include "platform/com/error.hpp"

namespace engine::xls {

bool SheetDrawingReader::take(const Record& record) {
  switch (record.type) {
    case rt::MsoDrawing:
      for (const ByteSpan piece : record.pieces) drawing_.insert(drawing_.end(), piece.begin(), piece.end());
      return true;
    case rt::Obj: objects_.push_back({read_obj(record), {}}); return true;
    case rt::Txo:
      // A text belongs to the object just before it.
      if (!objects_.empty()) objects_.back().text = read_txo(record);
      return true;
    case rt::Note: notes_.push_back(read_note(record)); return true;
    default: return false;
  }
}

void SheetDrawingReader::apply(model::Worksheet& sheet) const {
  if (drawing_.empty()) return;
  std::vector<ArtShape> shapes = read_art_shapes(drawing_);
  std::erase_if(shapes, [](const ArtShape& shape) { return !shape.has_client_data; });
  const std::size_t count = std::min(shapes.size(), objects_.size());
  for (std::size_t i = 0; i < count; ++i) add_shape(sheet, shapes[i], objects_[i]);
}

void SheetDrawingReader::add_shape(model::Worksheet& sheet, const ArtShape& shape, const Object& object) const {
  const ObjInfo& info = object.info;
  if (info.type == obj::Comment) return add_note(sheet, object);
  if (info.type != obj::CheckBox && info.type != obj::Text) return;
  const ArtAnchor anchor = shape.anchor.value_or(ArtAnchor{});
  if (anchor.first_column >= model::kMaxColumns) return;
  // A name the sheet already uses (or none) gives way to Excel's default.
  std::string name = sheet.find_shape(shape.name) == nullptr ? shape.name : std::string();
  try {
    const model::Shape& added =
        info.type == obj::CheckBox
            ? sheet.add_check_box(anchor.first_row, anchor.first_column, object.text, std::move(name))
            : sheet.add_text_box(anchor.first_row, anchor.first_column, object.text, std::move(name));
    const std::string added_name = added.name;
    if (info.type == obj::CheckBox) sheet.set_check_box_value(added_name, info.value);
    sheet.set_shape_extent(added_name, shape_extent(sheet, anchor));
    sheet.set_shape_locked(added_name, info.locked);
  } catch (const platform::com::Error&) {
    // Two shapes of the sheet would share a name: the later one is left out.
  }
}

void SheetDrawingReader::add_note(model::Worksheet& sheet, const Object& object) const {
  const auto note = std::find_if(notes_.begin(), notes_.end(),
                                 [&](const NoteInfo& n) { return n.object_id == object.info.id; });
  if (note == notes_.end() || note->column >= model::kMaxColumns) return;
  if (sheet.note(note->row, note->column) != nullptr) return;  // one note per cell
  sheet.set_note(note->row, note->column, object.text, note->author);
  sheet.set_note_visible(note->row, note->column, note->visible);
}

}  // namespace engine::xls
