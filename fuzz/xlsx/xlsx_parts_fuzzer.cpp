// Fuzzes the reader through the XML of a package's parts: the input names
// parts and their text (see parts_package.hpp), laid over a valid workbook.
#include <stdexcept>

#include "fuzz/xlsx/parts_package.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> package;
  try {
    package = test_support::xlsx_package(fuzz_xlsx::split_parts({data, size}));
  } catch (const std::runtime_error&) {
    return 0;  // a part name no zip archive can hold: nothing to read
  }
  fuzz_xlsx::load_or_refuse(package);
  return 0;
}
