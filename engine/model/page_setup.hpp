// A sheet's print settings, as its PAGESETUP, margin, HCENTER/VCENTER,
// HEADER/FOOTER records carry them. Margins in points.
#pragma once

#include <string>

#include "engine/model/constants.hpp"

namespace engine::model {

struct PageSetup {
  int orientation = xl::Portrait;
  bool center_horizontally = false;
  bool center_vertically = false;
  // Excel's defaults: 0.75" left and right, 1" top and bottom, 0.5" header and footer.
  double left_margin = 54;
  double right_margin = 54;
  double top_margin = 72;
  double bottom_margin = 72;
  double header_margin = 36;
  double footer_margin = 36;
  std::string center_header;
  std::string center_footer;
  int paper_size = 9;  // xlPaperA4
  int zoom = 100;      // print scaling, 10..400
  bool print_gridlines = false;

  friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// Raises 1004 for an orientation other than portrait/landscape, a negative
// margin or a zoom outside 10..400.
void validate(const PageSetup& setup);

}  // namespace engine::model
