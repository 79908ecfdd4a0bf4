// A workbook window (WINDOW1 record): its caption, visibility, zoom, state
// and the sheet it shows.
#pragma once

#include <cstdint>
#include <string>

#include "engine/model/constants.hpp"

namespace engine::model {

struct Window {
  // Empty: the workbook's name (with ":n" when the workbook has several windows).
  std::string caption;
  bool visible = true;
  int zoom = 100;  // 10..400
  int window_state = xl::Normal;
  std::uint32_t active_sheet = 0;  // sheet id
  bool display_gridlines = true;
  bool display_headings = true;
};

}  // namespace engine::model
