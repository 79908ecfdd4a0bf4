// The input is the Workbook stream alone, wrapped in a sound container before
// loading. Mutating a whole file mostly breaks the container's sector chains;
// this target spends its time on the BIFF records instead.
#include <cstddef>
#include <cstdint>

#include "engine/xls/compound_file.hpp"
#include "load_and_round_trip.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const engine::xls::Stream stream{"Workbook", engine::xls::Bytes(data, data + size)};
  fuzz::load_and_round_trip(engine::xls::write_compound_file({&stream, 1}));
  return 0;
}
