// Fuzzes the reader with whole files: the zip container, its directory and
// its deflated entries, as a trainee's damaged file reaches it.
#include "fuzz/xlsx/parts_package.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz_xlsx::load_or_refuse({data, data + size});
  return 0;
}
