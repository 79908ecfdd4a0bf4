// Reading what a sheet draws: its MSODRAWING records are joined into one
// OfficeArt drawing, each shape with client data is paired with the OBJ
// record that follows it (and the TXO after that), and NOTE records give the
// notes their cells. The model receives notes, check boxes and text boxes in
// drawing order; other objects (pictures, charts, buttons) are left out.
#pragma once

#include <string>
#include <vector>

#include "engine/model/worksheet.hpp"
#include "engine/xls/obj_records.hpp"
#include "engine/xls/office_art.hpp"

namespace engine::xls {

class SheetDrawingReader {
 public:
  // Takes MSODRAWING, OBJ, TXO and NOTE records; false for any other.
  bool take(const Record& record);
  // Call before the sheet is protected. Throws FileError when the drawing
  // is damaged.
  void apply(model::Worksheet& sheet) const;

 private:
  struct Object {
    ObjInfo info;
    std::string text;
  };
  void add_shape(model::Worksheet& sheet, const ArtShape& shape, const Object& object) const;
  void add_note(model::Worksheet& sheet, const Object& object) const;

  Bytes drawing_;
  std::vector<Object> objects_;
  std::vector<NoteInfo> notes_;
};

}  // namespace engine::xls
