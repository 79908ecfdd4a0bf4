// One table:table of content.xml read into a worksheet: its columns, rows
// (with their groups and visibility), cells (values, formulas, formats,
// merges), notes, drawn shapes and form check boxes, local names and
// protection.
//
// Lifetime: a TableReader holds references to its context and the elements
// it reads; it is used once, within the load that made them.
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/formula/value.hpp"
#include "engine/import/load_report.hpp"
#include "engine/import/sheet_loader.hpp"
#include "engine/model/workbook.hpp"
#include "engine/ods/style_sheet.hpp"
#include "engine/package/xml_part.hpp"

namespace engine::ods {

// Limits on what one file may ask of the model. The grid bounds rows and
// columns; these bound the rest, since a few bytes of XML can repeat a cell,
// a merge or a shape far past any workbook Excel 2003 writes.
inline constexpr std::size_t kMaxFilledCells = 4'000'000;  // cells given a value or a format, whole file
inline constexpr std::size_t kMaxMergesPerSheet = 8'192;   // each merge is checked against the others
// (Notes and shapes are bounded by import::kMaxDrawnObjects.)
// table:number-rows-repeated and table:number-columns-repeated beyond the
// grid only push what follows off it; counts are clamped to this first.
inline constexpr long long kMaxRepeat = 1 << 24;

// What every table of a document shares while it loads.
class LoadContext {
 public:
  LoadContext(model::Workbook& book, const StyleSheet& styles, const package::XmlPart& content,
              import::LoadReport* report)
      : book(book), styles(styles), content(content), report(report), interner_(book) {}

  // The pool index of the format of cell style `name` ("" for the default).
  model::FormatIndex format(std::string_view name);
  // Counts `cells` more cells filled; raises the file error past kMaxFilledCells.
  void count_cells(std::size_t cells, const xmlNode& where);
  void note(std::string what, std::string where, std::string why) const {
    import::report_loss(report, std::move(what), std::move(where), std::move(why));
  }

  model::Workbook& book;
  const StyleSheet& styles;
  const package::XmlPart& content;
  import::LoadReport* report;

 private:
  import::FormatInterner interner_;
  std::map<std::string, std::size_t, std::less<>> style_keys_;
  std::size_t filled_cells_ = 0;
};

// Reads the table `table` into `sheet`, the sheet at `sheet_index` of the
// workbook. Raises the file error for damage it cannot read past.
void read_table(LoadContext& context, const xmlNode& table, model::Worksheet& sheet, std::size_t sheet_index);

// table:named-range and table:named-expression children of `names`:
// workbook names, or names local to the sheet at `sheet_index`.
void read_named_expressions(LoadContext& context, const xmlNode& names, std::optional<std::size_t> sheet_index);

// A cell's value as office:value-type and its companions give it; nothing
// for a cell without one. Throws std::invalid_argument for a value that
// does not read as its type says.
formula::Value cell_value(const xmlNode& cell);

// "2026-12-07", "2026-12-07T12:30:00" as a serial number (1899-12-30 is 0).
std::optional<double> date_serial(std::string_view date);
// "PT36H30M00S" as a fraction of days (1.5208...).
std::optional<double> duration_days(std::string_view duration);

}  // namespace engine::ods
