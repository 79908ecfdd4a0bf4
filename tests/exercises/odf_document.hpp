// What another spreadsheet program made of an exercise file, read from the
// OpenDocument XML it wrote: LibreOffice's flat .fods or the content.xml of
// Gnumeric's .ods. Only what the questions' checks rely on is kept: sheets
// in order, cell texts, values and formulas, notes, fills and horizontal
// alignment, row outline levels,
// sheet protection and visibility, and the names of drawn objects and form
// controls.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace exercises::testing {

struct OdfCell {
  std::string type;     // office:value-type ("string", "float", ...); empty for an empty cell
  std::string value;    // the text of a string cell; office:value otherwise
  std::string formula;  // table:formula as written ("of:=SUM([.B4:.B6])"); empty for a constant
  std::string note;     // the text of the cell's annotation, paragraphs joined by line feeds
  std::string background;  // fo:background-color of the cell's style ("#666699"); empty when none
  std::string text_align;  // fo:text-align of the cell's style ("center"); empty when left to the content
};

struct OdfSheet {
  std::string name;
  bool is_protected = false;
  bool visible = true;
  std::map<std::string, OdfCell> cells;   // by A1 address ("B4"); cells with neither content nor note left out
  std::map<int, int> outline_levels;      // 1-based row -> Excel's outline level, for rows inside a group
  std::set<std::string> drawn_objects;    // draw:name of shapes and controls anchored on the sheet
  std::map<std::string, std::string> control_labels;  // drawn form controls: draw:name -> caption
};

struct OdfDocument {
  std::vector<OdfSheet> sheets;
  std::map<std::string, std::string> named_ranges;  // workbook names: name -> table:cell-range-address

  std::vector<std::string> sheet_names() const;
  // The sheet of that name; std::out_of_range when there is none.
  const OdfSheet& sheet(std::string_view name) const;
  // The cell at `address` of that sheet, or an empty one.
  OdfCell cell(std::string_view sheet_name, const std::string& address) const;
  // Excel's outline level of a 1-based row: 1 outside any group.
  int outline_level(std::string_view sheet_name, int row) const;
};

// Throws std::runtime_error when the text is not well-formed XML.
OdfDocument parse_odf(std::string_view xml, const std::string& origin);
OdfDocument read_odf(const std::filesystem::path& file);

// "A1" for (0, 0), "AA3" for (2, 26).
std::string a1_address(int row, int column);

}  // namespace exercises::testing
