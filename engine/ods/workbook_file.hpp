// OpenDocument spreadsheets (.ods, and .ots templates) as LibreOffice writes
// them, read in-process into the model with what the exercise checks read:
// values and formulas, formats and named cell styles, notes, defined names,
// sheets with their order and visibility, row and column visibility and
// outline, the view settings, drawn shapes and form check boxes, protection.
// docs/ods.md lists what is read from where, and what is dropped.
//
// Thread rule: a load runs on the calling thread and shares nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "engine/import/load_report.hpp"
#include "engine/model/workbook.hpp"

namespace engine::ods {

inline constexpr std::string_view kSpreadsheetMimeType = "application/vnd.oasis.opendocument.spreadsheet";
inline constexpr std::string_view kTemplateMimeType = "application/vnd.oasis.opendocument.spreadsheet-template";

// The workbook `name` held in `bytes`, a zip package with content.xml and,
// when present, styles.xml, settings.xml and meta.xml. What the model
// cannot hold is noted in `report` when one is given. Throws
// import::FileError naming `name`, the part and the place of the damage when
// the package cannot be read; never runs another program.
std::unique_ptr<model::Workbook> load_workbook(std::span<const std::uint8_t> bytes, const std::string& name,
                                          import::LoadReport* report = nullptr);

}  // namespace engine::ods
