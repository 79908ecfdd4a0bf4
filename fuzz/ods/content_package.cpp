#include "fuzz/ods/content_package.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/import/file_error.hpp"
#include "engine/ods/workbook_file.hpp"
#include "engine/package/zip_archive.hpp"
#include "tests/engine/package/zip_builder.hpp"

namespace fuzz_ods {

std::vector<std::uint8_t> content_package(std::string_view content) {
  return test_support::build_zip({{"mimetype", std::string(engine::ods::kSpreadsheetMimeType), false},
                                  {"content.xml", std::string(content), false}});
}

void load_or_refuse(const std::vector<std::uint8_t>& bytes) {
  try {
    engine::import::LoadReport report;
    engine::ods::load_workbook(bytes, "fuzz.ods", &report);
  } catch (const engine::import::FileError&) {
  } catch (const std::exception& error) {
    std::fprintf(stderr, "the reader let an exception other than FileError escape: %s\n", error.what());
    std::abort();
  }
}

std::vector<std::string> seed_contents(const std::string& folder) {
  std::vector<std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    engine::package::ZipArchive archive(bytes);
    contents.push_back(archive.read("content.xml"));
  }
  return contents;
}

}  // namespace fuzz_ods
