// Writing what sheets draw (notes, check boxes, text boxes) as Excel 2003
// does: per sheet, an OfficeArt drawing split over MSODRAWING records with
// each shape's OBJ and TXO between them, then the NOTE records; in the
// globals, the drawing group that numbers every sheet's shapes.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/model/worksheet.hpp"
#include "engine/xls/record_writer.hpp"

namespace engine::xls {

class DrawingWriter {
 public:
  // Sheets are written first, so that the group knows every drawing.
  // Throws FileError for a text longer than Excel's 32,767 characters.
  void write_sheet(RecordWriter& out, const model::Worksheet& sheet);
  // MSODRAWINGGROUP; nothing when no sheet draws anything.
  void write_group(RecordWriter& out) const;

 private:
  // Shape identifiers come in clusters of 1024, each owned by one drawing.
  struct Cluster {
    std::uint32_t drawing;
    std::uint32_t used;
  };
  std::uint32_t next_shape_id(std::uint32_t drawing);

  std::vector<Cluster> clusters_;
  std::uint32_t drawings_ = 0;
  std::uint32_t shapes_saved_ = 0;
};

}  // namespace engine::xls
