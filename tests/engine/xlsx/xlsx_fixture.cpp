#include "tests/engine/xlsx/xlsx_fixture.hpp"

#include "tests/engine/package/zip_builder.hpp"

namespace test_support {

const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

namespace {

const char* const kPackageRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string relationship(const std::string& id, const std::string& kind, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" +
         kind + "\" Target=\"" + target + "\"/>";
}

}  // namespace

std::string worksheet(const std::string& sheet_data, const std::string& after, const std::string& before) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"") + kMainNs +
         "\" xmlns:r=\"" + kRelNs + "\">" + before + "<sheetData>" + sheet_data + "</sheetData>" + after +
         "</worksheet>";
}

std::string workbook(const std::string& sheets, const std::string& after, const std::string& before) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<workbook xmlns=\"") + kMainNs +
         "\" xmlns:r=\"" + kRelNs + "\">" + before + "<sheets>" + sheets + "</sheets>" + after + "</workbook>";
}

std::string workbook_relationships(int sheets) {
  std::string text = std::string("<Relationships xmlns=\"") + kPackageRelNs + "\">";
  for (int i = 1; i <= sheets; ++i)
    text += relationship("rId" + std::to_string(i), "worksheet", "worksheets/sheet" + std::to_string(i) + ".xml");
  text += relationship("rIdS", "styles", "styles.xml");
  text += relationship("rIdT", "sharedStrings", "sharedStrings.xml");
  return text + "</Relationships>";
}

std::vector<std::uint8_t> xlsx_package(const Parts& changes) {
  Parts parts = {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
       "<Override PartName=\"/xl/workbook.xml\" "
       "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>"},
      {"_rels/.rels", std::string("<Relationships xmlns=\"") + kPackageRelNs + "\">" +
                          relationship("rId1", "officeDocument", "xl/workbook.xml") + "</Relationships>"},
      {"xl/workbook.xml", workbook("<sheet name=\"Feuil1\" sheetId=\"1\" r:id=\"rId1\"/>")},
      {"xl/_rels/workbook.xml.rels", workbook_relationships(1)},
      {"xl/worksheets/sheet1.xml", worksheet("")},
      {"xl/styles.xml", std::string("<styleSheet xmlns=\"") + kMainNs +
                            "\"><fonts><font><sz val=\"10\"/><name val=\"Arial\"/></font></fonts>"
                            "<cellXfs><xf fontId=\"0\"/></cellXfs></styleSheet>"},
      {"xl/sharedStrings.xml", std::string("<sst xmlns=\"") + kMainNs + "\"/>"},
  };
  for (const auto& [name, content] : changes) {
    if (content.empty()) parts.erase(name);
    else parts[name] = content;
  }
  std::vector<ZipEntry> entries;
  // The content types first, as every writer puts them.
  if (auto types = parts.find("[Content_Types].xml"); types != parts.end()) entries.push_back({types->first, types->second});
  for (const auto& [name, content] : parts)
    if (name != "[Content_Types].xml") entries.push_back({name, content});
  return build_zip(entries);
}

}  // namespace test_support
