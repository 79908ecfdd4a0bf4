#include "engine/xls/xf_codec.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/import/indexed_colors.hpp"
#include "engine/model/constants.hpp"
#include "engine/model/palette.hpp"

namespace engine::xls {

namespace xl = engine::model::xl;

namespace {

template <class A, class B>
B look_up(std::initializer_list<std::pair<A, B>> table, A key, B fallback) {
  for (const auto& [a, b] : table)
    if (a == key) return b;
  return fallback;
}
template <class A, class B>
A look_back(std::initializer_list<std::pair<A, B>> table, B key, A fallback) {
  for (const auto& [a, b] : table)
    if (b == key) return a;
  return fallback;
}

const std::initializer_list<std::pair<int, int>> kHorizontal = {
    {xl::General, 0}, {xl::Left, 1},    {xl::Center, 2},  {xl::Right, 3},
    {xl::Fill, 4},    {xl::Justify, 5}, {xl::CenterAcrossSelection, 6}, {xl::Distributed, 7}};
const std::initializer_list<std::pair<int, int>> kVertical = {
    {xl::Top, 0}, {xl::Center, 1}, {xl::Bottom, 2}, {xl::Justify, 3}, {xl::Distributed, 4}};
const std::initializer_list<std::pair<int, int>> kReadingOrder = {{xl::Context, 0}, {xl::LTR, 1}, {xl::RTL, 2}};
const std::initializer_list<std::pair<int, int>> kUnderline = {{xl::UnderlineNone, 0x00},
                                                               {xl::UnderlineSingle, 0x01},
                                                               {xl::UnderlineDouble, 0x02},
                                                               {xl::UnderlineSingleAccounting, 0x21},
                                                               {xl::UnderlineDoubleAccounting, 0x22}};
const std::initializer_list<std::pair<int, int>> kPattern = {{xl::PatternNone, 0}, {xl::Solid, 1},
                                                             {xl::Gray50, 2},      {xl::Gray75, 3},
                                                             {xl::Gray25, 4},      {xl::Gray16, 17},
                                                             {xl::Gray8, 18}};
// Border line styles: the model keeps Excel's LineStyle constants.
const std::initializer_list<std::pair<int, int>> kLine = {
    {0, 0}, {xl::PatternNone, 0}, {1, 1}, {-4115, 3}, {-4118, 4}, {-4119, 6}, {4, 9}, {5, 11}, {13, 13}};

int orientation_to_biff(int orientation) {
  if (orientation == xl::Horizontal) return 0;
  if (orientation == xl::Vertical) return 255;
  if (orientation == xl::Upward) return 90;
  if (orientation == xl::Downward) return 180;
  if (orientation > 0 && orientation <= 90) return orientation;
  if (orientation < 0 && orientation >= -90) return 90 - orientation;
  return 0;
}

int orientation_from_biff(int rotation) {
  if (rotation == 0) return xl::Horizontal;
  if (rotation == 255) return xl::Vertical;
  if (rotation == 90) return xl::Upward;
  if (rotation == 180) return xl::Downward;
  if (rotation < 90) return rotation;
  if (rotation <= 180) return 90 - rotation;
  return xl::Horizontal;
}

}  // namespace

std::uint16_t color_to_biff(int color_index, std::uint16_t automatic) {
  if (color_index >= 1 && color_index <= model::kPaletteSize) return static_cast<std::uint16_t>(color_index + 7);
  return automatic;
}

int color_from_biff(std::uint16_t icv) { return import::palette_index_of_indexed(icv, model::kColorIndexAutomatic); }

RecordBody font_record(const model::Font& font) {
  RecordBody body;
  std::uint16_t flags = 0;
  if (font.italic) flags |= 0x0002;
  if (font.strikethrough) flags |= 0x0008;
  body.u16(static_cast<std::uint16_t>(std::lround(font.size * 20)))
      .u16(flags)
      .u16(color_to_biff(font.color_index, 0x7FFF))
      .u16(font.bold ? 700 : 400)
      .u16(0)
      .u8(static_cast<std::uint8_t>(look_up(kUnderline, font.underline, 0)))
      .u8(0)   // family
      .u8(0)   // character set
      .u8(0)
      .string8(font.name);
  return body;
}

model::Font read_font(RecordCursor& in) {
  model::Font font;
  font.size = in.u16() / 20.0;
  const std::uint16_t flags = in.u16();
  font.italic = flags & 0x0002;
  font.strikethrough = flags & 0x0008;
  font.color_index = color_from_biff(in.u16());
  font.bold = in.u16() >= 600;
  in.skip(2);
  font.underline = look_back(kUnderline, static_cast<int>(in.u8()), xl::UnderlineNone);
  in.skip(3);
  font.name = in.string8();
  return font;
}

RecordBody xf_record(const XfFields& xf) {
  const model::CellFormat& f = xf.format;
  RecordBody body;
  std::uint16_t flags = 0;
  if (f.protection.locked) flags |= 0x0001;
  if (f.protection.formula_hidden) flags |= 0x0002;
  if (xf.is_style) flags |= 0x0004 | 0xFFF0;
  else flags |= static_cast<std::uint16_t>((xf.parent & 0x0FFF) << 4);
  if (f.quote_prefix) flags |= 0x0008;
  const auto& a = f.alignment;
  const auto align = static_cast<std::uint8_t>(look_up(kHorizontal, a.horizontal, 0) | (a.wrap_text ? 0x08 : 0) |
                                               (look_up(kVertical, a.vertical, 2) << 4));
  const auto indent = static_cast<std::uint8_t>((std::clamp(a.indent_level, 0, 15)) | (a.shrink_to_fit ? 0x10 : 0) |
                                                (look_up(kReadingOrder, a.reading_order, 0) << 6));
  // Cell XFs say which parts differ from their style; style XFs which parts they include.
  const std::uint8_t used = xf.is_style ? 0x00 : 0xFC;
  const auto& b = f.borders;
  auto line = [](const model::BorderLine& l) { return static_cast<std::uint32_t>(look_up(kLine, l.line_style, 1)); };
  auto icv = [](const model::BorderLine& l) {
    return static_cast<std::uint32_t>(color_to_biff(l.color_index, 64) & 0x7F);
  };
  const std::uint32_t border1 = line(b.left) | (line(b.right) << 4) | (line(b.top) << 8) | (line(b.bottom) << 12) |
                                (icv(b.left) << 16) | (icv(b.right) << 23);
  const std::uint32_t pattern = static_cast<std::uint32_t>(look_up(kPattern, f.interior.pattern, 0));
  const std::uint32_t border2 = icv(b.top) | (icv(b.bottom) << 7) | (pattern << 26);
  // A solid fill shows its foreground colour, which Excel calls the interior colour.
  const std::uint16_t fore = color_to_biff(f.interior.color_index, 64) & 0x7F;
  const std::uint16_t back = color_to_biff(f.interior.pattern_color_index, 65) & 0x7F;
  body.u16(xf.font).u16(xf.number_format).u16(flags).u8(align)
      .u8(static_cast<std::uint8_t>(orientation_to_biff(a.orientation))).u8(indent).u8(used)
      .u32(border1).u32(border2).u16(static_cast<std::uint16_t>(fore | (back << 7)));
  return body;
}

XfFields read_xf(RecordCursor& in) {
  XfFields xf;
  model::CellFormat& f = xf.format;
  xf.font = in.u16();
  xf.number_format = in.u16();
  const std::uint16_t flags = in.u16();
  f.protection.locked = flags & 0x0001;
  f.protection.formula_hidden = flags & 0x0002;
  xf.is_style = flags & 0x0004;
  f.quote_prefix = flags & 0x0008;
  xf.parent = static_cast<std::uint16_t>(flags >> 4);
  const std::uint8_t align = in.u8();
  auto& a = f.alignment;
  a.horizontal = look_back(kHorizontal, align & 0x07, xl::General);
  a.wrap_text = align & 0x08;
  a.vertical = look_back(kVertical, (align >> 4) & 0x07, xl::Bottom);
  a.orientation = orientation_from_biff(in.u8());
  const std::uint8_t indent = in.u8();
  a.indent_level = indent & 0x0F;
  a.shrink_to_fit = indent & 0x10;
  a.reading_order = look_back(kReadingOrder, indent >> 6, xl::Context);
  in.skip(1);
  const std::uint32_t border1 = in.u32();
  const std::uint32_t border2 = in.u32();
  const std::uint16_t colors = in.u16();
  auto line = [](std::uint32_t style, std::uint32_t color) {
    model::BorderLine l;
    l.line_style = style == 0 ? xl::PatternNone : look_back(kLine, static_cast<int>(style), 1);
    l.color_index = color_from_biff(static_cast<std::uint16_t>(color));
    return l;
  };
  auto& b = f.borders;
  b.left = line(border1 & 0xF, (border1 >> 16) & 0x7F);
  b.right = line((border1 >> 4) & 0xF, (border1 >> 23) & 0x7F);
  b.top = line((border1 >> 8) & 0xF, border2 & 0x7F);
  b.bottom = line((border1 >> 12) & 0xF, (border2 >> 7) & 0x7F);
  for (auto* l : {&b.left, &b.right, &b.top, &b.bottom})
    if (l->line_style == xl::PatternNone) *l = model::BorderLine{};
  f.interior.pattern = look_back(kPattern, static_cast<int>(border2 >> 26), xl::Solid);
  if (f.interior.pattern != xl::PatternNone) {
    f.interior.color_index = color_from_biff(colors & 0x7F);
    const int back = color_from_biff((colors >> 7) & 0x7F);
    f.interior.pattern_color_index = back;
  }
  return xf;
}

}  // namespace engine::xls
