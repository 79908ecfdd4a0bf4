// Workbook files recognised by content, whatever their name says, and sent
// to their reader; what no reader takes fails naming the file as it is on disk.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/formats/workbook_formats.hpp"
#include "engine/import/file_error.hpp"
#include "engine/model/workbook.hpp"
#include "engine/xls/compound_file.hpp"
#include "engine/xls/workbook_file.hpp"
#include "tests/engine/package/zip_builder.hpp"
#include "tests/engine/xls/interop_support.hpp"
#include "tests/engine/xlsx/xlsx_fixture.hpp"

namespace {

using namespace engine;
using formats::WorkbookFormat;

std::vector<std::uint8_t> xls_bytes() {
  model::Workbook book("b.xls");
  book.add_sheet("Trimestre 1").set_value(0, 0, std::string("Thor"));
  return xls::save_workbook(book);
}

void write_bytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(DetectFormat, ByContentNeverByName) {
  EXPECT_EQ(formats::detect_format(xls_bytes()), WorkbookFormat::Biff8);
  EXPECT_EQ(formats::detect_format(test_support::xlsx_package()), WorkbookFormat::SpreadsheetMl);
  EXPECT_EQ(formats::detect_format(test_support::build_zip(
                {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", false}, {"content.xml", "<x/>"}})),
            WorkbookFormat::OpenDocument);
  EXPECT_EQ(formats::detect_format(test_support::build_zip(
                {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet-template", false}})),
            WorkbookFormat::OpenDocument);
  EXPECT_EQ(formats::detect_format(test_support::build_zip(
                {{"mimetype", "application/vnd.oasis.opendocument.text", false}})),
            WorkbookFormat::Unknown);
  EXPECT_EQ(formats::detect_format(test_support::build_zip({{"word/document.xml", "<w/>"}})), WorkbookFormat::Unknown);
  const std::string text = "Pays;Mois\nEspaña;01\n";
  EXPECT_EQ(formats::detect_format({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}),
            WorkbookFormat::Unknown);
  EXPECT_EQ(formats::detect_format({}), WorkbookFormat::Unknown);
}

TEST(ReadWorkbookFile, AnyExtensionLoadsItsContent) {
  xls::interop::ScratchFolder folder;
  write_bytes(folder / "Thor International.xls", test_support::xlsx_package());
  write_bytes(folder / "saved.xlsx", xls_bytes());
  const auto xlsx_under_xls_name = formats::read_workbook_file((folder / "Thor International.xls").string());
  EXPECT_EQ(xlsx_under_xls_name->name(), "Thor International.xls");
  EXPECT_EQ(xlsx_under_xls_name->sheet(0).name(), "Feuil1");
  EXPECT_TRUE(xlsx_under_xls_name->saved());
  EXPECT_EQ(xlsx_under_xls_name->path(), (folder / "Thor International.xls").string());
  EXPECT_EQ(formats::read_workbook_file((folder / "saved.xlsx").string())->sheet(0).name(), "Trimestre 1");
  write_bytes(folder / "Thor.XLTX", test_support::xlsx_package());
  EXPECT_TRUE(formats::read_workbook_file((folder / "Thor.XLTX").string())->is_template());
}

TEST(ReadWorkbookFile, FailuresNameTheFileNotItsFolder) {
  xls::interop::ScratchFolder folder;
  const std::string text = "Thor International";
  write_bytes(folder / "notes.xls", {text.begin(), text.end()});
  write_bytes(folder / "document.xlsx", test_support::build_zip({{"word/document.xml", "<w/>"}}));
  auto problem = [&](const std::string& name) -> std::pair<std::string, std::string> {
    try {
      formats::read_workbook_file((folder / name).string());
    } catch (const import::FileError& error) {
      return {error.file(), error.problem()};
    }
    return {"", "loaded"};
  };
  EXPECT_EQ(problem("notes.xls"),
            (std::pair<std::string, std::string>{
                "notes.xls", "the file is not a workbook: neither an Excel file nor an OpenDocument spreadsheet"}));
  EXPECT_EQ(problem("document.xlsx"),
            (std::pair<std::string, std::string>{
                "document.xlsx", "the zip package is neither an Excel workbook nor an OpenDocument spreadsheet"}));
  // A password-protected .xlsx is an encrypted package in a compound file.
  const std::vector<xls::Stream> encrypted = {{"EncryptionInfo", {4, 0, 4, 0}}, {"EncryptedPackage", {1, 2, 3}}};
  write_bytes(folder / "secret.xlsx", xls::write_compound_file(encrypted));
  EXPECT_EQ(problem("secret.xlsx"),
            (std::pair<std::string, std::string>{"secret.xlsx", "the workbook is encrypted with a password"}));
  EXPECT_EQ(problem("absent.xlsx"),
            (std::pair<std::string, std::string>{"absent.xlsx", "the file cannot be opened"}));
}

}  // namespace
