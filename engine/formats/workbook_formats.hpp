// Any workbook file the stand-in opens, recognised by its content and never
// by its name: an OLE2 compound file is Excel 97-2003 (.xls, .xlt); a zip
// package with a content-types part and a workbook part is SpreadsheetML
// (.xlsx, .xlsm, .xltx, .xltm); a zip package whose "mimetype" entry names
// an OpenDocument spreadsheet or its template is OpenDocument (.ods, .ots).
// Each goes to its reader, which fills the same model.
//
// The OpenDocument reader plugs in as engine/ods/workbook_file.hpp:
//   std::unique_ptr<model::Workbook> engine::ods::load_workbook(
//       std::span<const std::uint8_t>, const std::string& name, import::LoadReport*);
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/import/load_report.hpp"
#include "engine/model/workbook.hpp"

namespace engine::formats {

enum class WorkbookFormat { Biff8, SpreadsheetMl, OpenDocument, Unknown };

// What the bytes are. Never throws: damage is the reader's to report.
WorkbookFormat detect_format(std::span<const std::uint8_t> bytes);

// A workbook named `name` from a file's bytes, in any format above. Throws
// FileError (runtime error 1004) naming `name` and the reason when the
// bytes are no workbook this application reads.
std::unique_ptr<model::Workbook> load_workbook(std::span<const std::uint8_t> bytes, const std::string& name,
                                               import::LoadReport* report = nullptr);

// The same, on a file of the host's file system, named after the file (its
// last path component). The template flag is set for a template's content
// or for a template's extension (.xlt, .xltx, .xltm, .ots in any case). The
// workbook is saved and remembers its path. Throws FileError.
std::unique_ptr<model::Workbook> read_workbook_file(const std::string& path, import::LoadReport* report = nullptr);

}  // namespace engine::formats
