#include "engine/xlsx/colors.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "engine/import/indexed_colors.hpp"
#include "engine/package/xml_part.hpp"
#include "engine/xlsx/xml_names.hpp"

namespace engine::xlsx {

namespace {

// Office 2007's default theme, for files without a theme part.
constexpr std::array<model::Rgb, 12> kOfficeTheme = {0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D, 0x4F81BD, 0x9BBB59,
                                                     0xC0504D, 0x8064A2, 0x4BACC6, 0xF79646, 0x0000FF, 0x800080};
// The clrScheme elements in the order of their theme index (lt1 before dk1).
constexpr const char* kSchemeOrder[] = {"lt1",     "dk1",     "lt2",     "dk2",     "accent1", "accent2",
                                        "accent3", "accent4", "accent5", "accent6", "hlink",   "folHlink"};

std::optional<model::Rgb> hex_rgb(std::string_view text) {
  if (text.size() == 8) text.remove_prefix(2);  // ARGB: the alpha byte means nothing here
  if (text.size() != 6) return std::nullopt;
  model::Rgb value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// One scheme colour: <a:srgbClr val="1F497D"/> or <a:sysClr lastClr="000000"/>.
std::optional<model::Rgb> scheme_color(const xmlNode& entry) {
  for (const xmlNode& child : package::children(entry, kAnyNs)) {
    if (package::local_name(child) == "srgbClr") return hex_rgb(attr(child, "val").value_or(""));
    if (package::local_name(child) == "sysClr") return hex_rgb(attr(child, "lastClr").value_or(""));
  }
  return std::nullopt;
}

}  // namespace

ThemeColors::ThemeColors() : colors_(kOfficeTheme) {}

void ThemeColors::read(const xmlNode& theme) {
  const xmlNode* elements = package::first_child(theme, kAnyNs, "themeElements");
  const xmlNode* scheme = elements ? package::first_child(*elements, kAnyNs, "clrScheme") : nullptr;
  if (!scheme) return;
  for (std::size_t i = 0; i < colors_.size(); ++i)
    if (const xmlNode* entry = package::first_child(*scheme, kAnyNs, kSchemeOrder[i]))
      if (auto rgb = scheme_color(*entry)) colors_[i] = *rgb;
}

std::optional<model::Rgb> ThemeColors::color(long long index) const {
  if (index < 0 || index >= static_cast<long long>(colors_.size())) return std::nullopt;
  return colors_[static_cast<std::size_t>(index)];
}

model::Rgb apply_tint(model::Rgb rgb, double tint) {
  if (tint == 0 || !std::isfinite(tint)) return rgb;
  tint = std::clamp(tint, -1.0, 1.0);
  const double r = ((rgb >> 16) & 0xFF) / 255.0, g = ((rgb >> 8) & 0xFF) / 255.0, b = (rgb & 0xFF) / 255.0;
  const double high = std::max({r, g, b}), low = std::min({r, g, b});
  double hue = 0, saturation = 0, lightness = (high + low) / 2;
  if (high != low) {
    const double d = high - low;
    saturation = lightness > 0.5 ? d / (2 - high - low) : d / (high + low);
    if (high == r) hue = (g - b) / d + (g < b ? 6 : 0);
    else if (high == g) hue = (b - r) / d + 2;
    else hue = (r - g) / d + 4;
    hue /= 6;
  }
  lightness = tint < 0 ? lightness * (1 + tint) : lightness * (1 - tint) + tint;
  auto channel = [&](double t) {
    const double q = lightness < 0.5 ? lightness * (1 + saturation) : lightness + saturation - lightness * saturation;
    const double p = 2 * lightness - q;
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
  };
  auto byte = [](double v) { return static_cast<model::Rgb>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  if (saturation == 0) return byte(lightness) << 16 | byte(lightness) << 8 | byte(lightness);
  return byte(channel(hue + 1.0 / 3)) << 16 | byte(channel(hue)) << 8 | byte(channel(hue - 1.0 / 3));
}

int color_index(const xmlNode* color, const model::Palette& palette, const ThemeColors& theme, int fallback) {
  if (!color || flag(*color, "auto", false)) return fallback;
  if (auto indexed = integer(*color, "indexed")) return import::palette_index_of_indexed(*indexed, fallback);
  std::optional<model::Rgb> rgb;
  if (auto text = attr(*color, "rgb")) rgb = hex_rgb(*text);
  else if (auto index = integer(*color, "theme")) rgb = theme.color(*index);
  if (!rgb) return fallback;
  return palette.nearest_index(apply_tint(*rgb, number(*color, "tint").value_or(0)));
}

}  // namespace engine::xlsx
