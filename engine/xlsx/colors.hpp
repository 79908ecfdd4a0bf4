// Colours of a SpreadsheetML file mapped to the palette indexes the model
// keeps (Excel 2003 addresses colours only through its 56-entry palette):
// `indexed` colours are palette entries already, `rgb` and `theme` colours
// take the nearest entry, as Excel 2003 does when it opens a newer file.
#pragma once

#include <array>
#include <optional>

#include <libxml/tree.h>

#include "engine/model/palette.hpp"

namespace engine::xlsx {

// The twelve colours of the workbook's theme (xl/theme/theme1.xml), in the
// order the `theme` attribute counts them: lt1, dk1, lt2, dk2, accent1-6,
// hlink, folHlink. Without a theme part, those of Office's default theme.
class ThemeColors {
 public:
  ThemeColors();
  // Reads the clrScheme of a theme part's root (a:theme).
  void read(const xmlNode& theme);
  std::optional<model::Rgb> color(long long index) const;

 private:
  std::array<model::Rgb, 12> colors_;
};

// The palette index a CT_Color element (`<color>`, `<fgColor>`, ...) stands
// for; `fallback` for an automatic colour, a missing element, or one that
// gives nothing usable.
int color_index(const xmlNode* color, const model::Palette& palette, const ThemeColors& theme, int fallback);

// Applies a theme colour's tint (-1..1) to its lightness, as Excel does.
model::Rgb apply_tint(model::Rgb rgb, double tint);

}  // namespace engine::xlsx
