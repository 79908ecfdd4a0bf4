// A sheet's notes, text boxes and form check boxes, assembled from the parts
// its relationships name (see drawing_parts.hpp) and put on the sheet in
// drawing order through the shared loader rules. Drawings are secondary:
// a damaged drawing part is reported and skipped, never fatal, while the
// comments part (the notes the checks read) must read.
#pragma once

#include "engine/import/load_report.hpp"
#include "engine/model/worksheet.hpp"
#include "engine/package/zip_archive.hpp"
#include "engine/xlsx/relationships.hpp"
#include "engine/xlsx/worksheet_part.hpp"

namespace engine::xlsx {

void read_sheet_drawings(package::ZipArchive& archive, const Relationships& relationships, const SheetPartInfo& info,
                         model::Worksheet& sheet, import::LoadReport* report);

}  // namespace engine::xlsx
