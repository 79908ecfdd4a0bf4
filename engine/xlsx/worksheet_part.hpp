// A worksheet part (xl/worksheets/sheetN.xml) into its model sheet: cells
// with their values, formulas (shared ones expanded) and formats; columns
// and rows with their widths, outline levels and hidden state; merged
// ranges; protection; page setup; the sheet's view. What the workbook needs
// afterwards (selection, zoom, custom sheet views, the drawing parts to
// read) comes back in SheetPartInfo.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/import/load_report.hpp"
#include "engine/import/sheet_loader.hpp"
#include "engine/model/custom_view.hpp"
#include "engine/model/page_setup.hpp"
#include "engine/model/protection.hpp"
#include "engine/model/worksheet.hpp"
#include "engine/package/xml_part.hpp"
#include "engine/xlsx/styles_part.hpp"

namespace engine::xlsx {

// One customSheetView: a custom view's settings for this sheet.
struct CustomSheetView {
  std::string guid;  // as the file writes it, braces included
  int zoom = 100;
  model::CellRange selection = model::CellRange::cell(0, 0);
  std::pair<int, int> active_cell{0, 0};
  model::PageSetup page_setup;
};

// A form control the sheet lists (`<controls>`): its shape id ties it to
// its drawing and VML shapes, its relationship to its ctrlProps part.
struct SheetControl {
  long long shape_id = 0;
  std::string name;
  std::string properties_id;  // r:id of the ctrlProps part
  std::optional<bool> locked;
};

struct SheetPartInfo {
  bool selected = false;
  std::optional<int> zoom;
  std::vector<CustomSheetView> custom_views;
  std::optional<std::string> drawing_id;         // r:id of <drawing>
  std::optional<std::string> legacy_drawing_id;  // r:id of <legacyDrawing> (VML)
  std::vector<SheetControl> controls;
  model::SheetProtection protection;
};

// Everything a sheet's cells are read against.
struct SheetInputs {
  const std::vector<formula::Value>& strings;  // each text once, shared by the cells showing it
  const StylesPart& styles;
  import::FormatInterner& formats;
  import::LoadReport* report;
};

// Reads the part into `sheet`. Cells go in through the shared loader rules;
// the rows' outline is applied before returning, protection is not (the
// caller restores it once the sheet's shapes are in). Throws PackageError
// naming the part and element for damage the sheet cannot be read past.
SheetPartInfo read_worksheet_part(const package::XmlPart& part, model::Worksheet& sheet, const SheetInputs& inputs);

// The page setup of a sheet or custom view from its pageSetup, printOptions
// and pageMargins children.
void read_page_setup(const xmlNode& parent, model::PageSetup& setup);

}  // namespace engine::xlsx
