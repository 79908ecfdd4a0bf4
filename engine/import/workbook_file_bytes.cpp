#include "engine/import/workbook_file_bytes.hpp"

#include <fstream>

#include "engine/import/file_error.hpp"

namespace engine::import {

std::vector<std::uint8_t> read_workbook_bytes(const std::string& path) {
  const std::string name = file_name_of(path);
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw FileError(name, "the file cannot be opened");
  const auto size = static_cast<std::uintmax_t>(in.tellg());
  if (size > kMaxWorkbookFileSize) throw FileError(name, "the file is larger than any Excel 2003 workbook");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) throw FileError(name, "the file cannot be read");
  return bytes;
}

std::string file_name_of(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace engine::import
