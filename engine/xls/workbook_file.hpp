// Excel 2003 workbooks (.xls) and templates (.xlt) to and from the model.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "engine/import/load_report.hpp"
#include "engine/model/workbook.hpp"
#include "engine/xls/compound_file.hpp"

namespace engine::xls {

// The file's bytes: the Workbook stream in a compound file.
Bytes save_workbook(const model::Workbook& book);

// A workbook named `name` from a file's bytes. Throws FileError (runtime
// error 1004) naming `name` when the bytes are not a readable BIFF8 workbook.
// What the model cannot take (a formula with tokens this application does
// not read, a merge over another) is left out and, given `report`, listed.
std::unique_ptr<model::Workbook> load_workbook(std::span<const std::uint8_t> bytes, const std::string& name,
                                               import::LoadReport* report = nullptr);

// The same, on a file of the host's file system. A template (".xlt", in any
// letter case) loads with the model's template flag set. Throws FileError.
std::unique_ptr<model::Workbook> read_workbook_file(const std::string& path);
void write_workbook_file(const model::Workbook& book, const std::string& path);

}  // namespace engine::xls
