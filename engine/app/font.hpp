// Font: the font of a range's cells or of a cell style. Over several cells a
// property reads Null when the cells differ.
#pragma once

#include <memory>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/app/format_target.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Font final : public AppObject {
 public:
  Font(std::shared_ptr<Application> app, std::shared_ptr<FormatTarget> target);

  platform::com::Variant bold() const;
  void set_bold(bool bold);
  platform::com::Variant italic() const;
  void set_italic(bool italic);
  platform::com::Variant strikethrough() const;
  void set_strikethrough(bool strikethrough);
  platform::com::Variant color_index() const;
  void set_color_index(std::int32_t index);
  platform::com::Variant color() const;
  void set_color(std::int32_t color);
  platform::com::Variant name() const;
  void set_name(const std::string& name);
  platform::com::Variant size() const;
  void set_size(double points);
  platform::com::Variant underline() const;
  // True and False stand for single and none, as Excel takes them.
  void set_underline(const platform::com::Variant& style);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  std::shared_ptr<FormatTarget> target_;
};

// Excel's Color value (red in the low byte) of a palette colour, and back.
std::int32_t excel_color(model::Rgb rgb);
model::Rgb rgb_of_excel_color(std::int32_t color);

}  // namespace engine::app
