// What a flat OpenDocument spreadsheet (.fods) says about a workbook, read
// with libxml2 into plain maps, so that a test can compare what another
// program made of one of our files with what we wrote.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace engine::xls::interop {

struct OdsCell {
  std::string type;     // office:value-type: "float", "string", "boolean", "percentage" ...
  std::string value;    // office:value or office:boolean-value; the text for strings
  std::string formula;  // table:formula as written ("of:=SUM([.A1:.A3])"), empty for constants
  std::string style;    // table:style-name, the cell's automatic style
  int columns_spanned = 1;  // a merged range's first cell covers this many columns
};

struct OdsRow {
  bool hidden = false;
  bool filtered = false;  // table:visibility="filter": hidden by a filter
  int outline_level = 1;  // 1 outside any row group, as Excel counts
};

struct OdsSheet {
  std::string name;
  std::map<std::pair<int, int>, OdsCell> cells;  // (row, column), 0-based; empty cells left out
  std::vector<OdsRow> rows;                      // every row the document lists, in order
  std::map<std::string, std::string> named_ranges;  // names local to the sheet
};

struct OdsStyle {
  std::string parent;       // style:parent-style-name
  std::string data_style;   // style:data-style-name
  std::string font_weight;  // fo:font-weight ("bold"); empty when the style leaves it to its parent
  std::string font_style;   // fo:font-style ("italic")
  std::string font_size;    // fo:font-size ("14pt")
  std::string background;   // fo:background-color ("#ffff00")
};

// A number format (number:number-style, percentage-style ...) by name.
struct OdsDataStyle {
  std::string kind;  // the element's local name: "number-style", "percentage-style" ...
  int decimal_places = 0;
};

// One condition of a database range's filter (table:filter-condition).
struct OdsFilterCondition {
  int field = 0;         // table:field-number, the column within the range
  std::string op;        // table:operator: "=", ">", "top values", "empty" ...
  std::string value;     // table:value
};

// A database range (table:database-range): an AutoFilter when it shows
// filter buttons. Its conditions are listed whatever and/or nests them, a
// condition on a set of values as one per value.
struct OdsDatabaseRange {
  std::string range;     // table:target-range-address
  bool buttons = false;  // table:display-filter-buttons
  std::vector<OdsFilterCondition> conditions;
};

struct OdsDocument {
  std::vector<OdsSheet> sheets;
  std::map<std::string, std::string> named_ranges;  // workbook names: name -> table:cell-range-address
  std::map<std::string, OdsStyle> styles;           // cell styles, named and automatic
  std::map<std::string, OdsDataStyle> data_styles;
  std::vector<OdsDatabaseRange> database_ranges;

  const OdsSheet* sheet(const std::string& name) const;
  // The cell, or an empty one.
  OdsCell cell(const std::string& sheet, int row, int column) const;
  // The row, or a default one past the rows the document lists.
  OdsRow row(const std::string& sheet, int index) const;
  // The cell's style and the named style it derives from, merged: the
  // automatic style's own settings win.
  OdsStyle effective_style(const OdsCell& cell) const;
};

// Throws std::runtime_error when the file is not well-formed XML.
OdsDocument read_flat_ods(const std::filesystem::path& file);

}  // namespace engine::xls::interop
