// A workbook file's bytes, read whole from the host's file system, with the
// one size limit every reader shares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine::import {

// Files larger than this are refused before they are read: Excel 2003's grid
// (65,536 rows by 256 columns) cannot fill it in any format.
inline constexpr std::uintmax_t kMaxWorkbookFileSize = 512u << 20;

// The file's bytes. Throws FileError naming the file (its name, not its
// folders) when it cannot be opened or read, or is over the limit.
std::vector<std::uint8_t> read_workbook_bytes(const std::string& path);

// The last component of a path, with '/' or '\' as separators.
std::string file_name_of(const std::string& path);

}  // namespace engine::import
