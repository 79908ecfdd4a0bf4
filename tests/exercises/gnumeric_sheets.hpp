// Gnumeric writes neither row groups nor sheet protection nor where its
// drawn objects lie into OpenDocument, so these are read from its own
// uncompressed XML format (.xml, written by ssconvert's
// Gnumeric_XmlIO:sax:0 exporter).
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "tests/exercises/bounds.hpp"

namespace exercises::testing {

struct GnumericSheet {
  std::map<int, int> outline_levels;  // 1-based row -> Excel's outline level, for rows inside a group
  bool is_protected = false;
  // Drawn objects by name, in points from the sheet's top-left corner,
  // laid out on Gnumeric's own column widths and row heights.
  std::map<std::string, Bounds> objects;
};

// By sheet name; std::runtime_error when the file is not well-formed XML.
std::map<std::string, GnumericSheet> read_gnumeric_sheets(const std::filesystem::path& file);

}  // namespace exercises::testing
