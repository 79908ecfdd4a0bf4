// The input is a whole .xls file: the compound-file container first, then
// the Workbook stream inside it.
#include <cstddef>
#include <cstdint>

#include "load_and_round_trip.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::load_and_round_trip({data, size});
  return 0;
}
