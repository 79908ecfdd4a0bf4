// The styles of an OpenDocument spreadsheet as the model needs them: cell
// styles (style:style of the table-cell family, named ones in styles.xml,
// automatic ones in content.xml) as CellFormat records with the named style
// each derives from, and the few properties of table, row and column styles
// the model keeps (a sheet's display, row heights, column widths).
//
// Lifetime: the sheet keeps pointers to the style elements it was given and
// a reference to `data`; the XmlParts holding them and `data` must outlive it.
#pragma once

#include <libxml/tree.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/model/cell_format.hpp"
#include "engine/model/palette.hpp"
#include "engine/ods/data_styles.hpp"

namespace engine::ods {

// A named cell style as the workbook's Styles list shows it.
struct NamedCellStyle {
  std::string name;  // style:display-name, else style:name
  model::CellFormat format;
};

class StyleSheet {
 public:
  explicit StyleSheet(const DataStyles& data) : data_(data) {}

  // Takes the style:style children of `container` (office:styles,
  // office:automatic-styles). Named styles are those of office:styles.
  void add_children_of(const xmlNode& container, bool named);

  // The format of a cell of style `name`, automatic or named: every property
  // along its chain of parents, over the model's default format. Nothing
  // for a name no part defines.
  std::optional<model::CellFormat> cell_format(std::string_view name) const;
  // The named cell styles in document order, "Default" (Excel's Normal) left out.
  std::vector<NamedCellStyle> named_cell_styles() const;

  // table:display of a table style; a sheet is shown unless it says "false".
  bool table_displayed(std::string_view name) const;
  // style:row-height of a row style whose height is not left to the content.
  std::optional<double> row_height(std::string_view name) const;
  // style:column-width of a column style, in Excel's characters of the default font.
  std::optional<double> column_width(std::string_view name) const;

 private:
  struct Entry {
    const xmlNode* element;
    bool named;
  };
  const xmlNode* find(std::string_view family, std::string_view name) const;
  const xmlNode* properties(std::string_view family, std::string_view name, const char* element) const;
  void apply(const xmlNode& style, model::CellFormat& format) const;

  const DataStyles& data_;
  model::Palette palette_;  // the default palette: OpenDocument colours are RGB
  std::map<std::pair<std::string, std::string>, Entry> styles_;  // (family, name)
  std::vector<const xmlNode*> named_cell_order_;
};

// A length ("10pt", "0.1772in", "2.54cm") in points; nothing when unreadable.
std::optional<double> length_in_points(std::string_view length);

}  // namespace engine::ods
