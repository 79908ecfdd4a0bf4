// The formatting of a cell, shaped like a BIFF8 XF record: number format,
// font, alignment, borders, interior and protection. Records are immutable
// and shared through a pool: cells, rows and columns hold an index, so a
// million cells formatted alike cost one record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/model/constants.hpp"
#include "engine/model/number_format.hpp"
#include "engine/model/palette.hpp"

namespace engine::model {

struct Font {
  std::string name = "Arial";
  double size = 10;
  bool bold = false;
  bool italic = false;
  int underline = xl::UnderlineNone;
  bool strikethrough = false;
  int color_index = kColorIndexAutomatic;

  friend bool operator==(const Font&, const Font&) = default;
};

struct Alignment {
  int horizontal = xl::General;
  int vertical = xl::Bottom;
  bool wrap_text = false;
  int orientation = xl::Horizontal;
  int indent_level = 0;  // 0..15
  bool add_indent = false;
  bool shrink_to_fit = false;
  int reading_order = xl::Context;

  friend bool operator==(const Alignment&, const Alignment&) = default;
};

// One edge: BIFF line style (0 none, 1 thin, 2 medium ...) and colour index.
struct BorderLine {
  int line_style = 0;
  int color_index = kColorIndexAutomatic;

  friend bool operator==(const BorderLine&, const BorderLine&) = default;
};

struct Borders {
  BorderLine left, right, top, bottom;

  friend bool operator==(const Borders&, const Borders&) = default;
};

struct Interior {
  int color_index = kColorIndexNone;
  int pattern = xl::PatternNone;
  int pattern_color_index = kColorIndexAutomatic;

  friend bool operator==(const Interior&, const Interior&) = default;
};

struct CellProtection {
  bool locked = true;
  bool formula_hidden = false;

  friend bool operator==(const CellProtection&, const CellProtection&) = default;
};

struct CellFormat {
  std::string number_format = kGeneralFormat;
  Font font;
  Alignment alignment;
  Borders borders;
  Interior interior;
  CellProtection protection;
  // Set when the entry was typed with a leading apostrophe.
  bool quote_prefix = false;
  // The cell style the format derives from.
  std::string style = "Normal";

  friend bool operator==(const CellFormat&, const CellFormat&) = default;
};

// Checks a format's values against Excel's ranges; raises 1004 otherwise, so
// a bad assignment never reaches the pool.
void validate(const CellFormat& format);

using FormatIndex = std::uint32_t;
inline constexpr FormatIndex kDefaultFormat = 0;

class FormatPool {
 public:
  FormatPool();

  // The index of a record equal to `format`, adding it when new.
  FormatIndex intern(const CellFormat& format);
  // Raises 9 for an index the pool never gave out.
  const CellFormat& at(FormatIndex index) const;
  // Changes the record every holder of `index` shows: how a change to a
  // cell style reaches the cells of that style (index 0, the format of cells
  // without one, included) without visiting them.
  void replace(FormatIndex index, const CellFormat& format);
  std::size_t size() const { return formats_.size(); }

 private:
  struct Hash {
    std::size_t operator()(const CellFormat& format) const;
  };
  std::vector<CellFormat> formats_;
  std::unordered_map<CellFormat, FormatIndex, Hash> indices_;
};

}  // namespace engine::model
