#include "engine/app/interior.hpp"

#include "engine/app/application.hpp"
#include "engine/app/font.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

namespace {

constexpr com::DispId kColor = 99;

}  // namespace

Interior::Interior(std::shared_ptr<Application> app, std::shared_ptr<FormatTarget> target)
    : AppObject(std::move(app)), target_(std::move(target)) {}

com::Variant Interior::color_index() const {
  return target_->read([](const model::CellFormat& f) {
    // A cell without fill has no colour, whatever colour it keeps.
    const bool filled = f.interior.pattern != model::xl::PatternNone;
    return com::Variant(std::int32_t{filled ? f.interior.color_index : model::kColorIndexNone});
  });
}

void Interior::set_color_index(std::int32_t index) {
  target_->write([index](model::CellFormat& f) {
    if (index == model::kColorIndexNone) {
      f.interior = model::Interior{};
      return;
    }
    f.interior.color_index = index;
    if (f.interior.pattern == model::xl::PatternNone) f.interior.pattern = model::xl::Solid;
  });
}

com::Variant Interior::color() const {
  const model::Palette& palette = target_->palette();
  return target_->read([&palette](const model::CellFormat& f) {
    // Excel answers white for a cell without fill.
    const int index = f.interior.color_index;
    const bool filled = f.interior.pattern != model::xl::PatternNone;
    const bool in_palette = index >= 1 && index <= model::kPaletteSize;
    return com::Variant(filled && in_palette ? excel_color(palette.color(index)) : 0xFFFFFF);
  });
}

void Interior::set_color(std::int32_t color) {
  set_color_index(target_->palette().nearest_index(rgb_of_excel_color(color)));
}

com::Variant Interior::pattern() const {
  return target_->read([](const model::CellFormat& f) { return com::Variant(std::int32_t{f.interior.pattern}); });
}

void Interior::set_pattern(std::int32_t pattern) {
  target_->write([pattern](model::CellFormat& f) { f.interior.pattern = pattern; });
}

com::Variant Interior::pattern_color_index() const {
  return target_->read(
      [](const model::CellFormat& f) { return com::Variant(std::int32_t{f.interior.pattern_color_index}); });
}

void Interior::set_pattern_color_index(std::int32_t index) {
  target_->write([index](model::CellFormat& f) { f.interior.pattern_color_index = index; });
}

const GuardedMembers& Interior::member_table() const {
  static const GuardedMembers table =
      AppMembers<Interior>("Interior")
          .get("ColorIndex", dispid::ColorIndex, &Interior::color_index)
          .put("ColorIndex", dispid::ColorIndex, &Interior::set_color_index)
          .get("Color", kColor, &Interior::color)
          .put("Color", kColor, &Interior::set_color)
          .get("Pattern", dispid::Pattern, &Interior::pattern)
          .put("Pattern", dispid::Pattern, &Interior::set_pattern)
          .get("PatternColorIndex", dispid::PatternColorIndex, &Interior::pattern_color_index)
          .put("PatternColorIndex", dispid::PatternColorIndex, &Interior::set_pattern_color_index)
          .get("Parent", dispid::Parent, [](Interior& self) { return self.target_->parent(); })
          .get("Application", dispid::Application, [](Interior& self) { return self.application_ref(); });
  return table;
}

}  // namespace engine::app
