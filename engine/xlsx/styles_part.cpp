#include "engine/xlsx/styles_part.hpp"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

#include "engine/import/workbook_loader.hpp"
#include "engine/model/constants.hpp"
#include "engine/model/number_format.hpp"
#include "platform/com/error.hpp"
#include "engine/xlsx/xml_names.hpp"

namespace engine::xlsx {

namespace {

namespace xl = model::xl;
using package::children;
using package::first_child;

// Excel 2007 keeps at most 64,000 cell formats; a list longer than this is
// not a workbook's, and each record costs memory.
constexpr std::size_t kMaxRecords = 65536;

template <class T>
using Table = std::initializer_list<std::pair<std::string_view, T>>;

template <class T>
T look_up(Table<T> table, const std::optional<std::string>& key, T fallback) {
  if (!key) return fallback;
  for (const auto& [name, value] : table)
    if (name == *key) return value;
  return fallback;
}

const Table<int> kHorizontal = {{"general", xl::General}, {"left", xl::Left},       {"center", xl::Center},
                                {"right", xl::Right},     {"fill", xl::Fill},       {"justify", xl::Justify},
                                {"centerContinuous", xl::CenterAcrossSelection},    {"distributed", xl::Distributed}};
const Table<int> kVertical = {{"top", xl::Top},         {"center", xl::Center},          {"bottom", xl::Bottom},
                              {"justify", xl::Justify}, {"distributed", xl::Distributed}};
const Table<int> kUnderline = {{"single", xl::UnderlineSingle},
                               {"double", xl::UnderlineDouble},
                               {"singleAccounting", xl::UnderlineSingleAccounting},
                               {"doubleAccounting", xl::UnderlineDoubleAccounting},
                               {"none", xl::UnderlineNone}};
// Patterns Excel 2003 has no constant for in the model read as solid, as the
// .xls reader reads them.
const Table<int> kPattern = {{"none", xl::PatternNone},  {"solid", xl::Solid},     {"mediumGray", xl::Gray50},
                             {"darkGray", xl::Gray75},   {"lightGray", xl::Gray25}, {"gray125", xl::Gray16},
                             {"gray0625", xl::Gray8}};
// Border styles as the model keeps them (Excel's LineStyle constants): the
// weight of a line is not kept.
const Table<int> kLineStyle = {{"thin", 1},           {"medium", 1},           {"thick", 1},
                               {"hair", 1},           {"dashed", -4115},       {"mediumDashed", -4115},
                               {"dotted", -4118},     {"double", -4119},       {"dashDot", 4},
                               {"mediumDashDot", 4},  {"dashDotDot", 5},       {"mediumDashDotDot", 5},
                               {"slantDashDot", 13}};
const Table<int> kReadingOrder = {{"0", xl::Context}, {"1", xl::LTR}, {"2", xl::RTL}};

// textRotation: 0-90 counter-clockwise, 91-180 clockwise by (value - 90),
// 255 stacked vertically.
int orientation_of(long long rotation) {
  if (rotation == 0) return xl::Horizontal;
  if (rotation == 255) return xl::Vertical;
  if (rotation == 90) return xl::Upward;
  if (rotation == 180) return xl::Downward;
  if (rotation > 0 && rotation < 90) return static_cast<int>(rotation);
  if (rotation > 90 && rotation < 180) return static_cast<int>(90 - rotation);
  return xl::Horizontal;
}

// A font's child element's val attribute; "present without val" means on.
bool font_flag(const xmlNode& font, const char* name) {
  const xmlNode* element = first_child(font, kAnyNs, name);
  return element && flag(*element, "val", true);
}

std::optional<std::string> child_val(const xmlNode& parent, const char* name) {
  const xmlNode* element = first_child(parent, kAnyNs, name);
  return element ? attr(*element, "val") : std::nullopt;
}

void check_count(const package::XmlPart& part, const xmlNode& list, std::size_t count) {
  if (count >= kMaxRecords) part.fail_at(list, "the list holds more records than a workbook may have");
}

const model::Style* builtin_style(const model::StyleTable& table, long long id) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table.at(i).builtin_id == id) return &table.at(i);
  return nullptr;
}

}  // namespace

void StylesPart::read(const package::XmlPart& part, model::Palette& palette, const ThemeColors& theme) {
  const xmlNode& root = part.root();
  if (const xmlNode* colors = first_child(root, kAnyNs, "colors"))
    if (const xmlNode* indexed = first_child(*colors, kAnyNs, "indexedColors")) {
      // Entries 8-63 are the palette's 56 colours.
      int index = 0;
      for (const xmlNode& entry : children(*indexed, kAnyNs, "rgbColor")) {
        const int palette_index = index++ - 7;
        if (palette_index < 1 || palette_index > model::kPaletteSize) continue;
        const auto rgb = attr(entry, "rgb").value_or("");
        model::Rgb value = 0;
        if (rgb.size() == 8 && std::from_chars(rgb.data() + 2, rgb.data() + 8, value, 16).ec == std::errc())
          palette.set_color(palette_index, value);
      }
    }
  if (const xmlNode* list = first_child(root, kAnyNs, "numFmts")) read_number_formats(*list);
  if (const xmlNode* list = first_child(root, kAnyNs, "fonts")) {
    check_count(part, *list, xmlChildElementCount(const_cast<xmlNode*>(list)));
    read_fonts(*list, palette, theme);
  }
  if (const xmlNode* list = first_child(root, kAnyNs, "fills")) {
    check_count(part, *list, xmlChildElementCount(const_cast<xmlNode*>(list)));
    read_fills(*list, palette, theme);
  }
  if (const xmlNode* list = first_child(root, kAnyNs, "borders")) {
    check_count(part, *list, xmlChildElementCount(const_cast<xmlNode*>(list)));
    read_borders(*list, palette, theme);
  }
  if (const xmlNode* list = first_child(root, kAnyNs, "cellStyleXfs")) style_xfs_ = read_xfs(part, *list);
  if (const xmlNode* list = first_child(root, kAnyNs, "cellXfs")) cell_xfs_ = read_xfs(part, *list);
  if (const xmlNode* list = first_child(root, kAnyNs, "cellStyles")) read_cell_styles(*list);
}

void StylesPart::read_number_formats(const xmlNode& list) {
  for (const xmlNode& entry : children(list, kAnyNs, "numFmt")) {
    const auto id = integer(entry, "numFmtId");
    const auto code = attr(entry, "formatCode");
    if (id && code && number_formats_.size() < kMaxRecords) number_formats_[*id] = *code;
  }
}

void StylesPart::read_fonts(const xmlNode& list, const model::Palette& palette, const ThemeColors& theme) {
  for (const xmlNode& entry : children(list, kAnyNs, "font")) {
    model::Font font;
    if (auto name = child_val(entry, "name")) font.name = *name;
    if (auto size = first_child(entry, kAnyNs, "sz"); size && number(*size, "val"))
      font.size = std::clamp(*number(*size, "val"), 1.0, 409.0);
    font.bold = font_flag(entry, "b");
    font.italic = font_flag(entry, "i");
    font.strikethrough = font_flag(entry, "strike");
    if (const xmlNode* underline = first_child(entry, kAnyNs, "u"))
      font.underline = look_up(kUnderline, attr(*underline, "val"), xl::UnderlineSingle);
    font.color_index = color_index(first_child(entry, kAnyNs, "color"), palette, theme, model::kColorIndexAutomatic);
    fonts_.push_back(std::move(font));
  }
}

// fgColor is the pattern's colour (a solid fill's only colour) and bgColor
// the colour behind the pattern, as BIFF's icvFore and icvBack: the model
// keeps them as the .xls reader does.
void StylesPart::read_fills(const xmlNode& list, const model::Palette& palette, const ThemeColors& theme) {
  for (const xmlNode& entry : children(list, kAnyNs, "fill")) {
    model::Interior interior;
    if (const xmlNode* pattern = first_child(entry, kAnyNs, "patternFill")) {
      interior.pattern = look_up(kPattern, attr(*pattern, "patternType"), xl::Solid);
      if (!attr(*pattern, "patternType")) interior.pattern = xl::PatternNone;
      if (interior.pattern != xl::PatternNone) {
        interior.color_index =
            color_index(first_child(*pattern, kAnyNs, "fgColor"), palette, theme, model::kColorIndexAutomatic);
        interior.pattern_color_index =
            color_index(first_child(*pattern, kAnyNs, "bgColor"), palette, theme, model::kColorIndexAutomatic);
      }
    } else if (const xmlNode* gradient = first_child(entry, kAnyNs, "gradientFill")) {
      // Excel 2003 has no gradients: the first stop's colour, solid.
      if (const xmlNode* stop = first_child(*gradient, kAnyNs, "stop")) {
        interior.pattern = xl::Solid;
        interior.color_index =
            color_index(first_child(*stop, kAnyNs, "color"), palette, theme, model::kColorIndexNone);
      }
    }
    fills_.push_back(interior);
  }
}

void StylesPart::read_borders(const xmlNode& list, const model::Palette& palette, const ThemeColors& theme) {
  for (const xmlNode& entry : children(list, kAnyNs, "border")) {
    model::Borders borders;
    auto edge = [&](const char* name, const char* alternative, model::BorderLine& line) {
      const xmlNode* element = first_child(entry, kAnyNs, name);
      if (!element) element = first_child(entry, kAnyNs, alternative);
      if (!element) return;
      const auto style = attr(*element, "style");
      if (!style || *style == "none") return;
      line.line_style = look_up(kLineStyle, style, 1);
      line.color_index =
          color_index(first_child(*element, kAnyNs, "color"), palette, theme, model::kColorIndexAutomatic);
    };
    // start/end are the strict schema's names for left/right.
    edge("left", "start", borders.left);
    edge("right", "end", borders.right);
    edge("top", "top", borders.top);
    edge("bottom", "bottom", borders.bottom);
    borders_.push_back(borders);
  }
}

std::vector<StylesPart::Record> StylesPart::read_xfs(const package::XmlPart& part, const xmlNode& list) const {
  std::vector<Record> records;
  for (const xmlNode& entry : children(list, kAnyNs, "xf")) {
    if (records.size() >= kMaxRecords) part.fail_at(list, "the list holds more records than a workbook may have");
    Record record;
    model::CellFormat& format = record.format;
    const auto pick = [](const auto& items, std::optional<long long> index) {
      using Item = typename std::decay_t<decltype(items)>::value_type;
      if (!index || *index < 0 || static_cast<std::size_t>(*index) >= items.size()) return Item{};
      return items[static_cast<std::size_t>(*index)];
    };
    format.font = pick(fonts_, integer(entry, "fontId"));
    format.interior = pick(fills_, integer(entry, "fillId"));
    format.borders = pick(borders_, integer(entry, "borderId"));
    const long long number_format = integer(entry, "numFmtId").value_or(0);
    if (auto custom = number_formats_.find(number_format); custom != number_formats_.end())
      format.number_format = custom->second;
    else if (auto builtin = model::builtin_number_format(static_cast<int>(std::clamp(number_format, 0LL, 1000LL))))
      format.number_format = std::string(*builtin);
    format.quote_prefix = flag(entry, "quotePrefix", false);
    if (auto parent = integer(entry, "xfId"); parent && *parent >= 0) record.parent = static_cast<std::size_t>(*parent);
    if (const xmlNode* alignment = first_child(entry, kAnyNs, "alignment")) {
      auto& a = format.alignment;
      a.horizontal = look_up(kHorizontal, attr(*alignment, "horizontal"), xl::General);
      a.vertical = look_up(kVertical, attr(*alignment, "vertical"), xl::Bottom);
      a.wrap_text = flag(*alignment, "wrapText", false);
      a.shrink_to_fit = flag(*alignment, "shrinkToFit", false);
      a.indent_level = static_cast<int>(std::clamp(integer(*alignment, "indent").value_or(0), 0LL, 15LL));
      a.orientation = orientation_of(integer(*alignment, "textRotation").value_or(0));
      a.reading_order = look_up(kReadingOrder, attr(*alignment, "readingOrder"), xl::Context);
    }
    if (const xmlNode* protection = first_child(entry, kAnyNs, "protection")) {
      format.protection.locked = flag(*protection, "locked", true);
      format.protection.formula_hidden = flag(*protection, "hidden", false);
    }
    records.push_back(std::move(record));
  }
  return records;
}

void StylesPart::read_cell_styles(const xmlNode& list) {
  for (const xmlNode& entry : children(list, kAnyNs, "cellStyle")) {
    NamedStyle style;
    style.name = attr(entry, "name").value_or("");
    const auto xf = integer(entry, "xfId");
    if (style.name.empty() || !xf || *xf < 0 || styles_.size() >= kMaxRecords) continue;
    style.xf = static_cast<std::size_t>(*xf);
    style.builtin_id = integer(entry, "builtinId");
    styles_.push_back(std::move(style));
  }
}

std::string StylesPart::style_name_of(const Record& record) const {
  if (!record.parent) return "Normal";
  for (const NamedStyle& style : styles_)
    if (style.xf == *record.parent) return style.name;
  return "Normal";
}

model::CellFormat StylesPart::cell_format(std::size_t xf) const {
  if (xf >= cell_xfs_.size()) return model::CellFormat{};
  model::CellFormat format = cell_xfs_[xf].format;
  format.style = style_name_of(cell_xfs_[xf]);
  return format;
}

// A built-in style the model knows keeps the model's name and format; any
// other (a user style, or one of the built-in styles Excel 2007 added) is
// added with the format of its record.
void StylesPart::register_styles(model::Workbook& book) {
  for (NamedStyle& style : styles_) {
    if (style.builtin_id) {
      if (const model::Style* known = builtin_style(book.styles(), *style.builtin_id)) {
        style.name = known->name;
        continue;
      }
    }
    if (style.xf >= style_xfs_.size()) continue;
    try {
      import::add_user_style(book, style.name, style_xfs_[style.xf].format);
    } catch (const platform::com::Error&) {
      // A name the style table refuses (too long): the cells keep their formats.
    }
  }
}

}  // namespace engine::xlsx
