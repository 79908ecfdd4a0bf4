#include "engine/ods/style_sheet.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "engine/model/constants.hpp"
#include "engine/ods/odf_namespaces.hpp"
#include "engine/package/xml_part.hpp"

namespace engine::ods {

namespace {

namespace pkg = engine::package;
namespace xl = model::xl;

// A style names its parent; a chain longer than this loops.
constexpr int kMaxStyleDepth = 32;
// Excel's column width unit: the default font's digit (7 pixels for Arial
// 10) plus 5 pixels of padding, at 96 pixels to the inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr double kDigitPixels = 7;
constexpr double kPaddingPixels = 5;

constexpr std::array<std::pair<std::string_view, double>, 6> kPointsPerUnit{{
    {"pt", 1.0}, {"in", 72.0}, {"cm", 72.0 / 2.54}, {"mm", 72.0 / 25.4}, {"pc", 12.0}, {"px", 0.75},
}};

std::optional<std::string> attr(const xmlNode& element, const char* ns, const char* name) {
  return pkg::attribute(element, ns, name);
}

std::optional<model::Rgb> rgb(std::string_view color) {
  if (color.size() != 7 || color[0] != '#') return std::nullopt;
  char* end = nullptr;
  const std::string digits(color.substr(1));
  const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
  if (end != digits.c_str() + digits.size()) return std::nullopt;
  return static_cast<model::Rgb>(value);
}

int horizontal_alignment(std::string_view align) {
  if (align == "start" || align == "left") return xl::Left;
  if (align == "center") return xl::Center;
  if (align == "end" || align == "right") return xl::Right;
  if (align == "justify") return xl::Justify;
  return xl::General;
}

int vertical_alignment(std::string_view align) {
  if (align == "top") return xl::Top;
  if (align == "middle") return xl::Center;
  if (align == "justify") return xl::Justify;
  return xl::Bottom;  // "bottom", and "automatic", which shows text at the bottom
}

// style:rotation-angle ("90", "90deg") as Excel's orientation: an angle from
// -90 to 90, or horizontal.
int orientation(std::string_view angle_text) {
  const double angle = std::fmod(std::atof(std::string(angle_text).c_str()), 360.0);
  double excel = angle > 180 ? angle - 360 : angle;
  if (excel < -180) excel += 360;
  const int degrees = static_cast<int>(std::lround(std::clamp(excel, -90.0, 90.0)));
  return degrees == 0 ? xl::Horizontal : degrees;
}

// "0.74pt solid #000000" as a BIFF line style and colour.
model::BorderLine border_line(std::string_view text, const model::Palette& palette) {
  std::istringstream tokens{std::string(text)};
  std::string token;
  double width = 0.75;
  std::string kind = "none";
  std::optional<model::Rgb> color;
  while (tokens >> token) {
    if (auto points = length_in_points(token)) width = *points;
    else if (auto value = rgb(token)) color = value;
    else kind = token;
  }
  model::BorderLine line;
  if (kind == "none" || kind == "hidden") return line;
  if (kind == "double") line.line_style = 6;
  else if (kind == "dotted") line.line_style = 4;
  else if (kind == "dashed" || kind == "fine-dashed" || kind == "dot-dash" || kind == "dot-dot-dash") line.line_style = 3;
  else if (width < 0.5) line.line_style = 7;  // hair
  else if (width <= 1.1) line.line_style = 1;  // thin
  else if (width <= 2.6) line.line_style = 2;  // medium
  else line.line_style = 5;                    // thick
  if (color) line.color_index = palette.nearest_index(*color);
  return line;
}

void apply_borders(const xmlNode& properties, model::Borders& borders, const model::Palette& palette) {
  if (auto all = attr(properties, ns::fo, "border")) {
    const model::BorderLine line = border_line(*all, palette);
    borders = {line, line, line, line};
  }
  if (auto left = attr(properties, ns::fo, "border-left")) borders.left = border_line(*left, palette);
  if (auto right = attr(properties, ns::fo, "border-right")) borders.right = border_line(*right, palette);
  if (auto top = attr(properties, ns::fo, "border-top")) borders.top = border_line(*top, palette);
  if (auto bottom = attr(properties, ns::fo, "border-bottom")) borders.bottom = border_line(*bottom, palette);
}

void apply_protection(std::string_view protect, model::CellProtection& protection) {
  protection.locked = protect == "protected" || protect == "hidden-and-protected" ||
                      protect.find("protected ") != std::string_view::npos;
  protection.formula_hidden = protect.find("hidden") != std::string_view::npos;
}

// style:table-cell-properties: alignment set by the cell, fill, borders, protection.
void apply_cell_properties(const xmlNode& properties, model::CellFormat& format, const model::Palette& palette) {
  if (auto source = attr(properties, ns::style, "text-align-source"); source == "value-type")
    format.alignment.horizontal = xl::General;
  if (auto align = attr(properties, ns::style, "vertical-align")) format.alignment.vertical = vertical_alignment(*align);
  if (auto wrap = attr(properties, ns::fo, "wrap-option")) format.alignment.wrap_text = *wrap == "wrap";
  if (auto shrink = attr(properties, ns::style, "shrink-to-fit")) format.alignment.shrink_to_fit = *shrink == "true";
  if (auto angle = attr(properties, ns::style, "rotation-angle")) format.alignment.orientation = orientation(*angle);
  if (auto direction = attr(properties, ns::style, "direction"); direction == "ttb")
    format.alignment.orientation = xl::Vertical;
  if (auto background = attr(properties, ns::fo, "background-color")) {
    format.interior = model::Interior{};
    if (auto color = rgb(*background)) {
      format.interior.color_index = palette.nearest_index(*color);
      format.interior.pattern = xl::Solid;
    }
  }
  apply_borders(properties, format.borders, palette);
  if (auto protect = attr(properties, ns::style, "cell-protect")) apply_protection(*protect, format.protection);
}

std::string font_family(std::string family) {
  family.erase(std::remove(family.begin(), family.end(), '\''), family.end());
  family.erase(std::remove(family.begin(), family.end(), '"'), family.end());
  return family;
}

void apply_text_properties(const xmlNode& properties, model::Font& font, const model::Palette& palette) {
  if (auto family = attr(properties, ns::fo, "font-family")) font.name = font_family(*family);
  else if (auto name = attr(properties, ns::style, "font-name")) font.name = font_family(*name);
  if (auto size = attr(properties, ns::fo, "font-size"))
    if (auto points = length_in_points(*size); points && *points >= 1 && *points <= 409) font.size = *points;
  if (auto weight = attr(properties, ns::fo, "font-weight"))
    font.bold = *weight == "bold" || std::atoi(weight->c_str()) >= 600;
  if (auto style = attr(properties, ns::fo, "font-style")) font.italic = *style == "italic" || *style == "oblique";
  if (auto underline = attr(properties, ns::style, "text-underline-style")) {
    if (*underline == "none") font.underline = xl::UnderlineNone;
    else font.underline = attr(properties, ns::style, "text-underline-type") == "double" ? xl::UnderlineDouble : xl::UnderlineSingle;
  }
  if (auto strike = attr(properties, ns::style, "text-line-through-style")) font.strikethrough = *strike != "none";
  if (auto color = attr(properties, ns::fo, "color"))
    if (auto value = rgb(*color)) font.color_index = palette.nearest_index(*value);
  if (attr(properties, ns::style, "use-window-font-color") == "true") font.color_index = model::kColorIndexAutomatic;
}

}  // namespace

std::optional<double> length_in_points(std::string_view length) {
  for (const auto& [unit, factor] : kPointsPerUnit) {
    if (length.size() <= unit.size() || !length.ends_with(unit)) continue;
    const std::string number(length.substr(0, length.size() - unit.size()));
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(value)) return std::nullopt;
    return value * factor;
  }
  return std::nullopt;
}

void StyleSheet::add_children_of(const xmlNode& container, bool named) {
  // style:default-style is left out: the model's default format stands for
  // it, so that cells without a style and cells of style Default agree.
  for (const xmlNode& child : pkg::children(container, ns::style, "style")) {
    const std::string family = attr(child, ns::style, "family").value_or("");
    const std::string name = attr(child, ns::style, "name").value_or("");
    if (name.empty()) continue;
    const bool is_new = styles_.emplace(std::make_pair(family, name), Entry{&child, named}).second;
    if (is_new && named && family == "table-cell") named_cell_order_.push_back(&child);
  }
}

const xmlNode* StyleSheet::find(std::string_view family, std::string_view name) const {
  const auto it = styles_.find({std::string(family), std::string(name)});
  return it == styles_.end() ? nullptr : it->second.element;
}

const xmlNode* StyleSheet::properties(std::string_view family, std::string_view name, const char* element) const {
  const xmlNode* style = find(family, name);
  return style ? pkg::first_child(*style, ns::style, element) : nullptr;
}

void StyleSheet::apply(const xmlNode& style, model::CellFormat& format) const {
  if (auto data_style = attr(style, ns::style, "data-style-name")) format.number_format = data_.code(*data_style);
  if (const xmlNode* paragraph = pkg::first_child(style, ns::style, "paragraph-properties"))
    if (auto align = attr(*paragraph, ns::fo, "text-align")) format.alignment.horizontal = horizontal_alignment(*align);
  if (const xmlNode* cell = pkg::first_child(style, ns::style, "table-cell-properties"))
    apply_cell_properties(*cell, format, palette_);
  if (const xmlNode* text = pkg::first_child(style, ns::style, "text-properties"))
    apply_text_properties(*text, format.font, palette_);
}

std::optional<model::CellFormat> StyleSheet::cell_format(std::string_view name) const {
  std::vector<const xmlNode*> chain;
  std::string style_name;
  for (std::string current(name); !current.empty() && chain.size() < kMaxStyleDepth;) {
    const auto it = styles_.find({"table-cell", current});
    if (it == styles_.end()) break;
    chain.push_back(it->second.element);
    if (it->second.named && style_name.empty())
      style_name = attr(*it->second.element, ns::style, "display-name").value_or(current);
    current = attr(*it->second.element, ns::style, "parent-style-name").value_or("");
  }
  if (chain.empty()) return std::nullopt;
  model::CellFormat format;
  for (auto style = chain.rbegin(); style != chain.rend(); ++style) apply(**style, format);
  format.style = style_name.empty() || style_name == "Default" ? "Normal" : style_name;
  return format;
}

std::vector<NamedCellStyle> StyleSheet::named_cell_styles() const {
  std::vector<NamedCellStyle> styles;
  for (const xmlNode* element : named_cell_order_) {
    const std::string name = attr(*element, ns::style, "name").value_or("");
    if (name == "Default") continue;
    if (auto format = cell_format(name)) styles.push_back({format->style, *format});
  }
  return styles;
}

bool StyleSheet::table_displayed(std::string_view name) const {
  const xmlNode* table = properties("table", name, "table-properties");
  return !table || attr(*table, ns::table, "display") != "false";
}

std::optional<double> StyleSheet::row_height(std::string_view name) const {
  const xmlNode* row = properties("table-row", name, "table-row-properties");
  if (!row || attr(*row, ns::style, "use-optimal-row-height") == "true") return std::nullopt;
  const auto height = attr(*row, ns::style, "row-height");
  return height ? length_in_points(*height) : std::nullopt;
}

std::optional<double> StyleSheet::column_width(std::string_view name) const {
  const xmlNode* column = properties("table-column", name, "table-column-properties");
  const auto width = column ? attr(*column, ns::style, "column-width") : std::nullopt;
  const auto points = width ? length_in_points(*width) : std::nullopt;
  if (!points) return std::nullopt;
  const double characters = (*points * kPixelsPerPoint - kPaddingPixels) / kDigitPixels;
  return std::clamp(std::round(characters * 100) / 100, 0.0, 255.0);
}

}  // namespace engine::ods
