// The fuzz targets' view of a package: its XML parts as one text, each
// after a line "@@ part-name", so that the fuzzer mutates the XML itself
// rather than deflated bytes whose checksum would refuse nearly every
// mutation.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tests/engine/xlsx/xlsx_fixture.hpp"

namespace fuzz_xlsx {

// "@@ xl/worksheets/sheet1.xml\n<worksheet ...>...\n@@ xl/styles.xml\n..."
// into parts; text before the first marker is ignored.
test_support::Parts split_parts(std::span<const std::uint8_t> data);
std::string join_parts(const test_support::Parts& parts);

// Loads the bytes as a workbook; returns normally for a workbook or a
// FileError, and aborts on anything else (another exception escaping is a
// fault of the reader).
void load_or_refuse(const std::vector<std::uint8_t>& bytes);

// Seed packages: the parts of small workbooks with every kind of content.
std::vector<test_support::Parts> seed_parts();

}  // namespace fuzz_xlsx
