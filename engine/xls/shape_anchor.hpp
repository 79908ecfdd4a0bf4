// A shape's place on its sheet, between the model's cell and extent in
// points and the OfficeArt anchor's cells and offsets. Both directions go
// through the sheet's row heights and column widths, so a shape saved and
// loaded keeps its size.
#pragma once

#include "engine/model/drawing.hpp"
#include "engine/model/worksheet.hpp"
#include "engine/xls/office_art.hpp"

namespace engine::xls {

// Any kind of shape, placed or not (model::shape_frame gives the default
// place of one never placed).
ArtAnchor shape_anchor(const model::Worksheet& sheet, const model::Shape& shape);

model::ShapeExtent shape_extent(const model::Worksheet& sheet, const ArtAnchor& anchor);

}  // namespace engine::xls
