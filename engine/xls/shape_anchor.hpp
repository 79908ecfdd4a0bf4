// A text box's or check box's place on its sheet, between the model's
// extent in points and the OfficeArt anchor's cells and offsets. Both
// directions go through the sheet's row heights and column widths, so a
// shape saved and loaded keeps its size.
#pragma once

#include "engine/model/drawing.hpp"
#include "engine/model/worksheet.hpp"
#include "engine/xls/office_art.hpp"

namespace engine::xls {

// A shape without an extent takes its kind's default: 3 columns by 4 rows
// for a text box, 2 columns by 1 row for a check box.
ArtAnchor shape_anchor(const model::Worksheet& sheet, const model::Shape& shape);

model::ShapeExtent shape_extent(const model::Worksheet& sheet, const ArtAnchor& anchor);

}  // namespace engine::xls
