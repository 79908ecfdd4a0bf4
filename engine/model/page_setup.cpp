#include "engine/model/page_setup.hpp"

#include "platform/com/error.hpp"

namespace engine::model {

void validate(const PageSetup& s) {
  const bool margins_ok = s.left_margin >= 0 && s.right_margin >= 0 && s.top_margin >= 0 && s.bottom_margin >= 0 &&
                          s.header_margin >= 0 && s.footer_margin >= 0;
  const bool ok = (s.orientation == xl::Portrait || s.orientation == xl::Landscape) && margins_ok &&
                  s.zoom >= 10 && s.zoom <= 400;
  if (!ok) platform::com::raise(platform::com::err::ApplicationDefined, "PageSetup", "Invalid page setup");
}

}  // namespace engine::model
