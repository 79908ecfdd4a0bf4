#include "engine/xls/drawing_reader.hpp"

#include <algorithm>

#include "engine/import/drawn_shapes.hpp"
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

namespace {

// The autoshape a rectangle or an oval is (msoShapeRectangle 1,
// msoShapeOval 9), whether its OBJ names it or only its drawing does;
// 0 for anything else, which is left out.
int auto_shape_type(const ArtShape& shape, const ObjInfo& info) {
  constexpr int kShapeRectangle = 1, kShapeOval = 9;
  if (info.type == obj::Oval || (info.type == obj::OfficeArt && shape.type == art::Ellipse)) return kShapeOval;
  if (info.type == obj::Rectangle || (info.type == obj::OfficeArt && shape.type == art::Rectangle)) return kShapeRectangle;
  return 0;
}

}  // namespace

void SheetDrawingReader::add_shape(model::Worksheet& sheet, const ArtShape& shape, const Object& object) const {
  const ObjInfo& info = object.info;
  if (info.type == obj::Comment) return add_note(sheet, object);
  const int auto_shape = auto_shape_type(shape, info);
  if (info.type != obj::CheckBox && info.type != obj::Text && auto_shape == 0) return;
  const ArtAnchor anchor = shape.anchor.value_or(ArtAnchor{});
  if (anchor.first_column >= model::kMaxColumns) return;
  import::DrawnShape drawn;
  drawn.kind = info.type == obj::CheckBox ? model::ShapeKind::CheckBox : model::ShapeKind::TextBox;
  drawn.auto_shape_type = auto_shape;
  drawn.row = anchor.first_row;
  drawn.column = anchor.first_column;
  drawn.name = shape.name;
  drawn.text = object.text;
  drawn.value = info.value;
  drawn.locked = info.locked;
  drawn.extent = shape_extent(sheet, anchor);
  import::add_drawn_shape(sheet, std::move(drawn), nullptr);
}

void SheetDrawingReader::add_note(model::Worksheet& sheet, const Object& object) const {
  const auto note = std::find_if(notes_.begin(), notes_.end(),
                                 [&](const NoteInfo& n) { return n.object_id == object.info.id; });
  if (note == notes_.end()) return;
  import::add_note(sheet, note->row, note->column, object.text, note->author, note->visible);
}

}  // namespace engine::xls
