// settings.xml's first view (ooo:view-settings, the "Views" map): the
// active sheet, each sheet's cursor and zoom, gridlines and headings.
// LibreOffice keeps no hidden state for a document window, so a window
// hidden in Excel and saved through LibreOffice opens visible.
#pragma once

#include <libxml/tree.h>

#include "engine/import/load_report.hpp"
#include "engine/model/workbook.hpp"

namespace engine::ods {

// Applies the view settings under `root` (office:document-settings) to the
// workbook's first window and its sheets; settings that name no sheet or a
// cell off the grid are left out.
void apply_view_settings(const xmlNode& root, model::Workbook& book, import::LoadReport* report);

}  // namespace engine::ods
