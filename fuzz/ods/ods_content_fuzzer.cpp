// Fuzzes the reader through the XML of content.xml: tables, rows, cells,
// styles, formulas, notes, shapes and names, in a package of their own.
#include "fuzz/ods/content_package.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz_ods::load_or_refuse(fuzz_ods::content_package({reinterpret_cast<const char*>(data), size}));
  return 0;
}
