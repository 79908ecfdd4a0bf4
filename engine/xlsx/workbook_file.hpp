// SpreadsheetML workbooks (.xlsx, .xlsm, .xltx, .xltm), as Excel 2007 and
// later, LibreOffice and Gnumeric write them, read into the model exactly as
// the .xls reader fills it. Reading only: the stand-in saves Excel 2003's
// format whatever it opened.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/import/load_report.hpp"
#include "engine/model/workbook.hpp"

namespace engine::xlsx {

// A workbook named `name` from a package's bytes. A template's content type
// (.xltx, .xltm) sets the model's template flag. Throws FileError (runtime
// error 1004) naming `name` and the part at fault when the bytes are not a
// readable SpreadsheetML workbook. What the model has no place for is left
// out and, when `report` is given, listed there.
std::unique_ptr<model::Workbook> load_workbook(std::span<const std::uint8_t> bytes, const std::string& name,
                                               import::LoadReport* report = nullptr);

}  // namespace engine::xlsx

namespace engine::package {
class ZipArchive;
}

namespace engine::xlsx {

// Whether the package is a SpreadsheetML workbook: it has a content-types
// part and a main workbook part ("xl/workbook.xml", or the part the package
// relationships name as the office document).
bool is_spreadsheetml_package(package::ZipArchive& archive);

}  // namespace engine::xlsx
