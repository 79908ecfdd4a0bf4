// Interior: the fill of a range's cells or of a cell style, by palette index
// and pattern. Over several cells a property reads Null when they differ.
#pragma once

#include <memory>

#include "engine/app/app_object.hpp"
#include "engine/app/format_target.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Interior final : public AppObject {
 public:
  Interior(std::shared_ptr<Application> app, std::shared_ptr<FormatTarget> target);

  platform::com::Variant color_index() const;
  // A colour on a cell without fill makes the fill solid, as Excel does;
  // xlNone removes the fill.
  void set_color_index(std::int32_t index);
  platform::com::Variant color() const;
  void set_color(std::int32_t color);
  platform::com::Variant pattern() const;
  void set_pattern(std::int32_t pattern);
  platform::com::Variant pattern_color_index() const;
  void set_pattern_color_index(std::int32_t index);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  std::shared_ptr<FormatTarget> target_;
};

}  // namespace engine::app
