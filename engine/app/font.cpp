#include "engine/app/font.hpp"

#include "engine/app/application.hpp"
#include "engine/app/fixed_property.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

namespace {

constexpr com::DispId kColor = 99;
constexpr com::DispId kSize = 104;
constexpr com::DispId kStrikethrough = 105;
constexpr com::DispId kUnderline = 106;

}  // namespace

std::int32_t excel_color(model::Rgb rgb) {
  const auto red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  return static_cast<std::int32_t>(red | (green << 8) | (blue << 16));
}

model::Rgb rgb_of_excel_color(std::int32_t color) {
  if (color < 0 || color > 0xFFFFFF) raise_refused("Unable to set the Color property: invalid colour");
  const auto value = static_cast<model::Rgb>(color);
  return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

Font::Font(std::shared_ptr<Application> app, std::shared_ptr<FormatTarget> target)
    : AppObject(std::move(app)), target_(std::move(target)) {}

com::Variant Font::bold() const {
  return target_->read([](const model::CellFormat& f) { return com::Variant(f.font.bold); });
}
void Font::set_bold(bool bold) {
  target_->write([bold](model::CellFormat& f) { f.font.bold = bold; });
}

com::Variant Font::italic() const {
  return target_->read([](const model::CellFormat& f) { return com::Variant(f.font.italic); });
}
void Font::set_italic(bool italic) {
  target_->write([italic](model::CellFormat& f) { f.font.italic = italic; });
}

com::Variant Font::strikethrough() const {
  return target_->read([](const model::CellFormat& f) { return com::Variant(f.font.strikethrough); });
}
void Font::set_strikethrough(bool strikethrough) {
  target_->write([strikethrough](model::CellFormat& f) { f.font.strikethrough = strikethrough; });
}

com::Variant Font::color_index() const {
  return target_->read([](const model::CellFormat& f) { return com::Variant(std::int32_t{f.font.color_index}); });
}
void Font::set_color_index(std::int32_t index) {
  target_->write([index](model::CellFormat& f) { f.font.color_index = index; });
}

com::Variant Font::color() const {
  const model::Palette& palette = target_->palette();
  return target_->read([&palette](const model::CellFormat& f) {
    // The automatic font colour is black.
    const int index = f.font.color_index;
    return com::Variant(index >= 1 && index <= model::kPaletteSize ? excel_color(palette.color(index)) : 0);
  });
}
void Font::set_color(std::int32_t color) {
  const int index = target_->palette().nearest_index(rgb_of_excel_color(color));
  set_color_index(index);
}

com::Variant Font::name() const {
  return target_->read([](const model::CellFormat& f) { return com::Variant(f.font.name); });
}
void Font::set_name(const std::string& name) {
  if (name.empty()) raise_refused("Unable to set the Name property of the Font class");
  target_->write([&name](model::CellFormat& f) { f.font.name = name; });
}

com::Variant Font::size() const {
  return target_->read([](const model::CellFormat& f) { return com::Variant(f.font.size); });
}
void Font::set_size(double points) {
  target_->write([points](model::CellFormat& f) { f.font.size = points; });
}

com::Variant Font::underline() const {
  return target_->read([](const model::CellFormat& f) { return com::Variant(std::int32_t{f.font.underline}); });
}
void Font::set_underline(const com::Variant& style) {
  std::int32_t value = 0;
  if (style.type() == com::VarType::Boolean) {
    value = style.bool_value() ? model::xl::UnderlineSingle : model::xl::UnderlineNone;
  } else {
    value = com::clng(style);
  }
  target_->write([value](model::CellFormat& f) { f.font.underline = value; });
}

const GuardedMembers& Font::member_table() const {
  static const GuardedMembers table =
      AppMembers<Font>("Font")
          .get("Bold", dispid::Bold, &Font::bold)
          .put("Bold", dispid::Bold, &Font::set_bold)
          .get("Italic", dispid::Italic, &Font::italic)
          .put("Italic", dispid::Italic, &Font::set_italic)
          .get("Strikethrough", kStrikethrough, &Font::strikethrough)
          .put("Strikethrough", kStrikethrough, &Font::set_strikethrough)
          .get("ColorIndex", dispid::ColorIndex, &Font::color_index)
          .put("ColorIndex", dispid::ColorIndex, &Font::set_color_index)
          .get("Color", kColor, &Font::color)
          .put("Color", kColor, &Font::set_color)
          .get("Name", dispid::Name, &Font::name)
          .put("Name", dispid::Name, &Font::set_name)
          .get("Size", kSize, &Font::size)
          .put("Size", kSize, &Font::set_size)
          .get("Underline", kUnderline, &Font::underline)
          .put("Underline", kUnderline, &Font::set_underline)
          .get("Superscript", 179, [](Font&) { return false; })
          .put("Superscript", 179, [](Font&, const com::Variant& v) { keep_fixed(v, false, "Superscript", "Font"); })
          .get("Subscript", 178, [](Font&) { return false; })
          .put("Subscript", 178, [](Font&, const com::Variant& v) { keep_fixed(v, false, "Subscript", "Font"); })
          .get("OutlineFont", 221, [](Font&) { return false; })
          .put("OutlineFont", 221, [](Font&, const com::Variant& v) { keep_fixed(v, false, "OutlineFont", "Font"); })
          .get("Shadow", 103, [](Font&) { return false; })
          .put("Shadow", 103, [](Font&, const com::Variant& v) { keep_fixed(v, false, "Shadow", "Font"); })
          .get("Parent", dispid::Parent, [](Font& self) { return self.target_->parent(); })
          .get("Application", dispid::Application, [](Font& self) { return self.application_ref(); });
  return table;
}

}  // namespace engine::app
