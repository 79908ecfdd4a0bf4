#include "ods_files.hpp"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/ods/workbook_file.hpp"
#include "tests/engine/package/zip_builder.hpp"

namespace engine::ods::testing {

std::vector<std::uint8_t> file_bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + file.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<model::Workbook> load_file(const std::filesystem::path& file, import::LoadReport* report) {
  return load_workbook(file_bytes(file), file.filename().string(), report);
}

std::vector<std::uint8_t> make_package(const std::map<std::string, std::string>& entries) {
  std::vector<test_support::ZipEntry> zip;
  if (auto mime = entries.find("mimetype"); mime != entries.end()) zip.push_back({mime->first, mime->second, false});
  for (const auto& [name, content] : entries)
    if (name != "mimetype") zip.push_back({name, content, true});
  return test_support::build_zip(zip);
}

std::string content_xml(const std::string& spreadsheet, const std::string& styles) {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:form="urn:oasis:names:tc:opendocument:xmlns:form:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" office:version="1.3">
<office:automatic-styles>)" +
         styles + "</office:automatic-styles><office:body><office:spreadsheet>" + spreadsheet +
         "</office:spreadsheet></office:body></office:document-content>";
}

std::vector<std::uint8_t> spreadsheet_package(const std::string& spreadsheet, const std::string& styles) {
  return make_package({{"mimetype", std::string(kSpreadsheetMimeType)}, {"content.xml", content_xml(spreadsheet, styles)}});
}

}  // namespace engine::ods::testing
