// Builds zip archives in memory for the readers' tests: small packages with
// exactly the entries a test needs, stored or deflated.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

struct ZipEntry {
  std::string name;
  std::string bytes;
  bool deflate = true;
};

std::vector<std::uint8_t> build_zip(const std::vector<ZipEntry>& entries);

}  // namespace test_support
