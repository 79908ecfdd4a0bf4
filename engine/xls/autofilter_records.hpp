// A sheet's AutoFilter as BIFF8 stores it:
//
// - the list: the built-in name _FilterDatabase (NAME, fBuiltin, the one
//   character 0x0D), hidden, local to the sheet, an absolute area;
// - AUTOFILTERINFO (0x009D): cEntries, the number of the list's columns;
// - AUTOFILTER (0x009E), one per column that filters:
//     iEntry  u16  the column within the list, from 0
//     grbit   u16  bits 0-1 wJoin (0 and, 1 or), 2 fSimple1, 3 fSimple2,
//                  4 fTop10, 5 fTop (else bottom), 6 fPercent,
//                  7-15 wTop10 (1-500 items or percent)
//     doper1, doper2  10 bytes each (below)
//     the characters of each string doper in order (option byte and
//     characters, their count in the doper);
// - DOPER: vt u8 (0 unused, 2 RK, 4 IEEE, 6 string, 8 Boolean or error,
//   0x0C blanks, 0x0E non-blanks), grbitSign u8 (1 <, 2 =, 3 <=, 4 >,
//   5 <>, 6 >=), then 8 bytes: the RK or the IEEE number; for a string 4
//   reserved, cch u8, 3 reserved; for a Boolean or error fError u8,
//   the value u8, 6 reserved;
// - FILTERMODE (0x009B), empty: some row is filtered; the filtered rows
//   are the ROW records' hidden ones.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/import/load_report.hpp"
#include "engine/model/workbook.hpp"
#include "engine/xls/custom_view_records.hpp"
#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_writer.hpp"

namespace engine::xls {

// How the writer's name table spells the built-in name.
inline constexpr const char* kFilterDatabaseName = "_FilterDatabase";
// The built-in name's own text in a NAME record.
inline constexpr const char* kFilterDatabaseBuiltin = "\x0D";

// The _FilterDatabase name of each sheet with an AutoFilter.
std::vector<ViewName> filter_database_names(const model::Workbook& book);

// FILTERMODE, AUTOFILTERINFO and the AUTOFILTER records of the sheet's
// filtered columns; nothing without an AutoFilter. Criteria longer than a
// DOPER's 255 characters keep their first 255.
void write_autofilter(RecordWriter& out, const model::Worksheet& sheet);

// Gathers a sheet's AutoFilter records while the sheet is read.
class AutoFilterReader {
 public:
  // Takes FILTERMODE, AUTOFILTERINFO and AUTOFILTER; false for any other.
  // A damaged AUTOFILTER is left out and reported by apply().
  bool take(const Record& record);
  // Gives the sheet its AutoFilter over `list` (the sheet's _FilterDatabase
  // area) once its rows are in; without AUTOFILTERINFO or a list, nothing.
  void apply(model::Worksheet& sheet, std::optional<model::CellRange> list, import::LoadReport* report) const;

 private:
  struct Column {
    int entry = 0;
    model::ColumnFilter filter;
  };
  bool info_ = false;
  std::vector<Column> columns_;
  std::vector<std::string> lost_;
};

}  // namespace engine::xls
