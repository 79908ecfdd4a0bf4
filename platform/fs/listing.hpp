// The one directory walk behind Dir and Kill: which names of a folder a
// pattern and attribute mask select, in the order the listing gives them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform::fs {

struct Matches {
  std::filesystem::path folder;  // host path of the pattern's folder
  bool folder_exists = false;
  std::vector<std::string> names;  // as spelled on disk
};

// See Dir (dir.hpp) for what a pattern and a mask select.
Matches list_matching(std::string_view pattern, std::int32_t mask);

}  // namespace platform::fs
