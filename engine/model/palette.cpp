#include "engine/model/palette.hpp"

#include <limits>

#include "platform/com/error.hpp"

namespace engine::model {

namespace {

int channel(Rgb rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

void check_index(int index) {
  if (index < 1 || index > kPaletteSize) {
    platform::com::raise(platform::com::err::SubscriptOutOfRange, "Palette", "Colour index out of range");
  }
}

}  // namespace

const std::array<Rgb, kPaletteSize>& Palette::default_colors() {
  static constexpr std::array<Rgb, kPaletteSize> colors = {
      0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,  // 1-8
      0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,  // 9-16
      0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,  // 17-24
      0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,  // 25-32
      0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,  // 33-40
      0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,  // 41-48
      0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,  // 49-56
  };
  return colors;
}

Palette::Palette() : colors_(default_colors()) {}

Rgb Palette::color(int index) const {
  check_index(index);
  return colors_[static_cast<std::size_t>(index - 1)];
}

void Palette::set_color(int index, Rgb rgb) {
  check_index(index);
  colors_[static_cast<std::size_t>(index - 1)] = rgb & 0xFFFFFF;
}

void Palette::reset() { colors_ = default_colors(); }

bool Palette::is_default() const { return colors_ == default_colors(); }

int Palette::nearest_index(Rgb rgb) const {
  int best = 1;
  long best_distance = std::numeric_limits<long>::max();
  for (int index = 1; index <= kPaletteSize; ++index) {
    long distance = 0;
    for (int shift : {16, 8, 0}) {
      const long d = channel(rgb, shift) - channel(colors_[static_cast<std::size_t>(index - 1)], shift);
      distance += d * d;
    }
    if (distance < best_distance) {
      best_distance = distance;
      best = index;
    }
  }
  return best;
}

}  // namespace engine::model
