// Fuzzes the reader through the XML of a package's parts: the input names
// parts and their text (see parts_package.hpp), laid over a valid workbook.
#include "fuzz/xlsx/parts_package.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz_xlsx::load_or_refuse(test_support::xlsx_package(fuzz_xlsx::split_parts({data, size})));
  return 0;
}
