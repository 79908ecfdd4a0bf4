#include "engine/model/cell_format.hpp"

#include <functional>

#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void reject(const char* what) {
  platform::com::raise(platform::com::err::ApplicationDefined, "CellFormat", what);
}

bool is_color_index(int index, int default_index) {
  return index == default_index || index == kColorIndexAutomatic || index == kColorIndexNone ||
         (index >= 1 && index <= kPaletteSize);
}

bool one_of(int value, std::initializer_list<int> allowed) {
  for (int a : allowed) {
    if (a == value) return true;
  }
  return false;
}

void validate_alignment(const Alignment& a) {
  if (!one_of(a.horizontal, {xl::General, xl::Left, xl::Center, xl::Right, xl::Fill, xl::Justify,
                             xl::CenterAcrossSelection, xl::Distributed})) {
    reject("Invalid horizontal alignment");
  }
  if (!one_of(a.vertical, {xl::Top, xl::Center, xl::Bottom, xl::Justify, xl::Distributed})) {
    reject("Invalid vertical alignment");
  }
  const bool angle = a.orientation >= -90 && a.orientation <= 90;
  if (!angle && !one_of(a.orientation, {xl::Horizontal, xl::Vertical, xl::Upward, xl::Downward})) {
    reject("Invalid orientation");
  }
  if (a.indent_level < 0 || a.indent_level > 15) reject("Invalid indent level");
  if (!one_of(a.reading_order, {xl::Context, xl::LTR, xl::RTL})) reject("Invalid reading order");
}

void validate_font(const Font& f) {
  if (f.name.empty() || f.size < 1 || f.size > 409) reject("Invalid font");
  if (!one_of(f.underline, {xl::UnderlineNone, xl::UnderlineSingle, xl::UnderlineDouble,
                            xl::UnderlineSingleAccounting, xl::UnderlineDoubleAccounting})) {
    reject("Invalid underline style");
  }
  if (!is_color_index(f.color_index, kColorIndexAutomatic)) reject("Invalid font colour index");
}

void validate_interior(const Interior& i) {
  if (!is_color_index(i.color_index, kColorIndexNone) || !is_color_index(i.pattern_color_index, kColorIndexAutomatic)) {
    reject("Invalid interior colour index");
  }
  // Patterns 1..18, plus the ones Excel names by other constants (grey
  // shades, stripes, automatic).
  const bool plain = i.pattern >= 1 && i.pattern <= 18;
  if (!plain && !one_of(i.pattern, {xl::PatternNone, xl::Gray75, xl::Gray50, xl::Gray25, xl::Horizontal,
                                    xl::Vertical, -4121, -4162, kColorIndexAutomatic})) {
    reject("Invalid interior pattern");
  }
}

template <typename T>
void combine(std::size_t& seed, const T& value) {
  seed ^= std::hash<T>{}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace

void validate(const CellFormat& format) {
  if (format.number_format.empty() || format.number_format.size() > 255) reject("Invalid number format");
  validate_font(format.font);
  validate_alignment(format.alignment);
  validate_interior(format.interior);
}

std::size_t FormatPool::Hash::operator()(const CellFormat& f) const {
  std::size_t seed = 0;
  combine(seed, f.number_format);
  combine(seed, f.font.name);
  combine(seed, f.font.size);
  combine(seed, (f.font.bold ? 1 : 0) | (f.font.italic ? 2 : 0) | (f.alignment.wrap_text ? 4 : 0) |
                    (f.protection.locked ? 8 : 0) | (f.quote_prefix ? 16 : 0));
  combine(seed, f.font.color_index);
  combine(seed, f.alignment.horizontal);
  combine(seed, f.alignment.vertical);
  combine(seed, f.interior.color_index);
  combine(seed, f.interior.pattern);
  combine(seed, f.style);
  return seed;
}

FormatPool::FormatPool() { intern(CellFormat{}); }

FormatIndex FormatPool::intern(const CellFormat& format) {
  if (auto found = indices_.find(format); found != indices_.end()) return found->second;
  validate(format);
  const auto index = static_cast<FormatIndex>(formats_.size());
  formats_.push_back(format);
  indices_.emplace(format, index);
  return index;
}

const CellFormat& FormatPool::at(FormatIndex index) const {
  if (index >= formats_.size()) {
    platform::com::raise(platform::com::err::SubscriptOutOfRange, "FormatPool", "No such format");
  }
  return formats_[index];
}

void FormatPool::replace(FormatIndex index, const CellFormat& format) {
  validate(format);
  at(index);
  CellFormat& slot = formats_[index];
  if (const auto known = indices_.find(slot); known != indices_.end() && known->second == index) indices_.erase(known);
  slot = format;
  indices_.try_emplace(format, index);
}

}  // namespace engine::model
