#include "engine/model/style.hpp"

#include "engine/model/text.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void fail(std::int32_t number, const char* description) {
  platform::com::raise(number, "Styles", description);
}

Style builtin(const char* name, int id, int number_format_id) {
  Style style{name, id, CellFormat{}, StyleIncludes{}};
  style.format.number_format = std::string(*builtin_number_format(number_format_id));
  style.format.style = name;
  if (id != 0) {
    // Excel's number-format styles carry only their number format.
    style.includes = StyleIncludes{true, false, false, false, false, false};
  }
  return style;
}

}  // namespace

CellFormat apply_style(const Style& style, const CellFormat& format) {
  CellFormat result = format;
  const auto& from = style.format;
  const auto& in = style.includes;
  if (in.number) result.number_format = from.number_format;
  if (in.font) result.font = from.font;
  if (in.alignment) result.alignment = from.alignment;
  if (in.border) result.borders = from.borders;
  if (in.patterns) result.interior = from.interior;
  if (in.protection) result.protection = from.protection;
  result.style = style.name;
  return result;
}

CellFormat restyle(const CellFormat& format, const Style& before, const Style& after) {
  CellFormat result = format;
  const auto follow = [](bool included, auto& part, const auto& old_part, const auto& new_part) {
    if (included && part == old_part) part = new_part;
  };
  const auto& in = after.includes;
  follow(in.number, result.number_format, before.format.number_format, after.format.number_format);
  follow(in.font, result.font, before.format.font, after.format.font);
  follow(in.alignment, result.alignment, before.format.alignment, after.format.alignment);
  follow(in.border, result.borders, before.format.borders, after.format.borders);
  follow(in.patterns, result.interior, before.format.interior, after.format.interior);
  follow(in.protection, result.protection, before.format.protection, after.format.protection);
  return result;
}

StyleTable::StyleTable()
    : styles_{builtin("Normal", 0, 0),    builtin("Comma", 3, 43),       builtin("Currency", 4, 44),
              builtin("Percent", 5, 9),   builtin("Comma [0]", 6, 41),   builtin("Currency [0]", 7, 42)} {}

const Style& StyleTable::at(std::size_t index) const {
  if (index >= styles_.size()) fail(platform::com::err::SubscriptOutOfRange, "No such style");
  return styles_[index];
}

const Style* StyleTable::find(std::string_view name) const {
  for (const auto& style : styles_) {
    if (equal_ignoring_case(style.name, name)) return &style;
  }
  return nullptr;
}

Style* StyleTable::find_mutable(std::string_view name) {
  return const_cast<Style*>(static_cast<const StyleTable*>(this)->find(name));
}

const Style& StyleTable::get(std::string_view name) const {
  const Style* style = find(name);
  if (style == nullptr) fail(platform::com::err::SubscriptOutOfRange, "No such style");
  return *style;
}

const Style& StyleTable::add(std::string_view name, const CellFormat& based_on) {
  if (name.empty() || utf16_length(name) > 255) fail(platform::com::err::ApplicationDefined, "Invalid style name");
  if (find(name) != nullptr) fail(platform::com::err::ApplicationDefined, "A style of that name exists");
  Style style{std::string(name), std::nullopt, based_on, StyleIncludes{}};
  style.format.style = style.name;
  validate(style.format);
  styles_.push_back(std::move(style));
  return styles_.back();
}

void StyleTable::update(std::string_view name, const CellFormat& format, const StyleIncludes& includes) {
  Style* style = find_mutable(name);
  if (style == nullptr) fail(platform::com::err::SubscriptOutOfRange, "No such style");
  validate(format);
  style->format = format;
  style->format.style = style->name;
  style->includes = includes;
}

void StyleTable::remove(std::string_view name) {
  const Style* style = find(name);
  if (style == nullptr) fail(platform::com::err::SubscriptOutOfRange, "No such style");
  if (style->builtin_id == 0) fail(platform::com::err::ApplicationDefined, "The Normal style cannot be deleted");
  styles_.erase(styles_.begin() + (style - styles_.data()));
}

}  // namespace engine::model
