// The fuzz target's view of an OpenDocument package: the text of its
// content.xml, the part the reader interprets most, laid in a package of its
// own (mimetype first, both stored) so that the fuzzer mutates the XML rather
// than deflated bytes whose checksum would refuse nearly every mutation. The
// zip layer itself is fuzzed through fuzz/xlsx, which shares engine/package.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz_ods {

std::vector<std::uint8_t> content_package(std::string_view content);

// Loads the bytes as a workbook; returns normally for a workbook or a
// FileError, and aborts on anything else (another exception escaping is a
// fault of the reader).
void load_or_refuse(const std::vector<std::uint8_t>& bytes);

// Seeds: the content.xml of every package in `folder`.
std::vector<std::string> seed_contents(const std::string& folder);

}  // namespace fuzz_ods
