// xl/styles.xml: number formats, fonts, fills, borders, the cell format
// records (cellXfs) and the cell styles (cellStyles over cellStyleXfs),
// turned into the model's CellFormat records and user styles.
//
// Lifetime: a StylesPart holds copies of everything it read; the XML part
// it was read from may go away.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/model/cell_format.hpp"
#include "engine/model/workbook.hpp"
#include "engine/package/xml_part.hpp"
#include "engine/xlsx/colors.hpp"

namespace engine::xlsx {

class StylesPart {
 public:
  // Reads the part. A custom palette (colors/indexedColors) is set on
  // `palette` first, since every colour after it maps through it.
  void read(const package::XmlPart& part, model::Palette& palette, const ThemeColors& theme);

  // The format of the cell format record `xf` (a cell's `s` attribute); the
  // default format for an index the part does not have.
  model::CellFormat cell_format(std::size_t xf) const;

  // Adds the file's user styles to the workbook, and learns the names the
  // model gives the built-in ones the file lists (a file may name "Normal"
  // in another language). Call before cell_format.
  void register_styles(model::Workbook& book);

 private:
  struct Record {
    model::CellFormat format;  // style name not yet set
    std::optional<std::size_t> parent;  // xfId: the cellStyleXfs entry
  };
  struct NamedStyle {
    std::string name;
    std::size_t xf = 0;
    std::optional<long long> builtin_id;
  };

  void read_number_formats(const xmlNode& list);
  void read_fonts(const xmlNode& list, const model::Palette& palette, const ThemeColors& theme);
  void read_fills(const xmlNode& list, const model::Palette& palette, const ThemeColors& theme);
  void read_borders(const xmlNode& list, const model::Palette& palette, const ThemeColors& theme);
  std::vector<Record> read_xfs(const package::XmlPart& part, const xmlNode& list) const;
  void read_cell_styles(const xmlNode& list);
  std::string style_name_of(const Record& record) const;

  std::map<long long, std::string> number_formats_;
  std::vector<model::Font> fonts_;
  std::vector<model::Interior> fills_;
  std::vector<model::Borders> borders_;
  std::vector<Record> style_xfs_;
  std::vector<Record> cell_xfs_;
  std::vector<NamedStyle> styles_;
};

}  // namespace engine::xlsx
