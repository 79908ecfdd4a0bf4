#include "engine/formats/workbook_formats.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string_view>

#include "engine/import/file_error.hpp"
#include "engine/import/workbook_file_bytes.hpp"
#include "engine/package/zip_archive.hpp"
#include "engine/xls/workbook_file.hpp"
#include "engine/xlsx/workbook_file.hpp"
#ifdef D72506_WITH_ODS
#include "engine/ods/workbook_file.hpp"
#endif

namespace engine::formats {

namespace {

constexpr std::array<std::uint8_t, 8> kOle2Magic = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::string_view kOdsTypes[] = {"application/vnd.oasis.opendocument.spreadsheet",
                                          "application/vnd.oasis.opendocument.spreadsheet-template"};
constexpr std::string_view kTemplateExtensions[] = {".xlt", ".xltx", ".xltm", ".ots"};

bool is_ods_package(package::ZipArchive& archive) {
  const auto mimetype = archive.read_if_present("mimetype");
  if (!mimetype) return false;
  std::string_view type = *mimetype;
  while (!type.empty() && (type.back() == '\n' || type.back() == '\r' || type.back() == ' ')) type.remove_suffix(1);
  return std::find(std::begin(kOdsTypes), std::end(kOdsTypes), type) != std::end(kOdsTypes);
}

bool has_template_extension(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::find(std::begin(kTemplateExtensions), std::end(kTemplateExtensions), extension) !=
         std::end(kTemplateExtensions);
}

}  // namespace

WorkbookFormat detect_format(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= kOle2Magic.size() && std::memcmp(bytes.data(), kOle2Magic.data(), kOle2Magic.size()) == 0)
    return WorkbookFormat::Biff8;
  if (!package::ZipArchive::looks_like_zip(bytes)) return WorkbookFormat::Unknown;
  try {
    package::ZipArchive archive(bytes);
    if (is_ods_package(archive)) return WorkbookFormat::OpenDocument;
    if (xlsx::is_spreadsheetml_package(archive)) return WorkbookFormat::SpreadsheetMl;
  } catch (const package::PackageError&) {
    // A damaged archive: its reader says what is wrong.
    return WorkbookFormat::SpreadsheetMl;
  }
  return WorkbookFormat::Unknown;
}

std::unique_ptr<model::Workbook> load_workbook(std::span<const std::uint8_t> bytes, const std::string& name,
                                               import::LoadReport* report) {
  switch (detect_format(bytes)) {
    case WorkbookFormat::Biff8: return xls::load_workbook(bytes, name, report);
    case WorkbookFormat::SpreadsheetMl: return xlsx::load_workbook(bytes, name, report);
    case WorkbookFormat::OpenDocument:
#ifdef D72506_WITH_ODS
      return ods::load_workbook(bytes, name, report);
#else
      throw import::FileError(name, "OpenDocument spreadsheets cannot be read by this build");
#endif
    case WorkbookFormat::Unknown: break;
  }
  if (package::ZipArchive::looks_like_zip(bytes))
    throw import::FileError(name, "the zip package is neither an Excel workbook nor an OpenDocument spreadsheet");
  throw import::FileError(name, "the file is not a workbook: neither an Excel file nor an OpenDocument spreadsheet");
}

std::unique_ptr<model::Workbook> read_workbook_file(const std::string& path, import::LoadReport* report) {
  const std::string name = import::file_name_of(path);
  const auto bytes = import::read_workbook_bytes(path);
  auto book = load_workbook(bytes, name, report);
  book->set_path(path);
  if (has_template_extension(name)) book->set_template(true);
  book->set_saved(true);
  return book;
}

}  // namespace engine::formats
