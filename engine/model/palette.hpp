// The workbook's colour palette: Excel 2003 addresses colours by index 1..56
// into a table that starts as the default one and that a workbook (its
// PALETTE record) may change.
#pragma once

#include <array>
#include <cstdint>

namespace engine::model {

// 0xRRGGBB.
using Rgb = std::uint32_t;

inline constexpr int kPaletteSize = 56;
// Excel's "automatic" colour index (xlColorIndexAutomatic) and "none".
inline constexpr int kColorIndexAutomatic = -4105;
inline constexpr int kColorIndexNone = -4142;

class Palette {
 public:
  Palette();

  // Colour of index 1..56; raises 9 for any other index.
  Rgb color(int index) const;
  void set_color(int index, Rgb rgb);
  void reset();

  bool is_default() const;
  // The index whose colour is nearest to `rgb` (Excel's choice when a colour
  // is given as RGB).
  int nearest_index(Rgb rgb) const;

  static const std::array<Rgb, kPaletteSize>& default_colors();

  friend bool operator==(const Palette&, const Palette&) = default;

 private:
  std::array<Rgb, kPaletteSize> colors_;
};

}  // namespace engine::model
