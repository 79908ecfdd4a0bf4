// What both fuzz targets check once they have a file's bytes: loading either
// succeeds or raises FileError, and a workbook that loaded and saved loads
// again. Anything else (another exception, a sanitizer report, a file of our
// own that we cannot read back) ends the process and so reaches libFuzzer.
#pragma once

#include <cstdint>
#include <span>

namespace fuzz {

void load_and_round_trip(std::span<const std::uint8_t> file);

}  // namespace fuzz
