// XML parts: parsed safely (no DTD, no entities, no network), walked by
// namespace and local name, and every fault names the part and the place.
#include <gtest/gtest.h>

#include "engine/package/xml_part.hpp"
#include "engine/package/zip_archive.hpp"
#include "tests/engine/package/error_text.hpp"
#include "tests/engine/package/zip_builder.hpp"

namespace {

using test_support::package_error_of;

using namespace engine::package;

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";


TEST(XmlPart, WalksChildrenAndAttributesByNamespace) {
  const XmlPart part("xl/workbook.xml", R"(<?xml version="1.0"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
          xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
  <sheets>
    <sheet name="Trimestre 1" sheetId="1" r:id="rId1"/>
    <other/>
    <sheet name="D&#233;tail &amp; co" sheetId="2" r:id="rId2" state="hidden"/>
  </sheets>
</workbook>)");
  const xmlNode& root = part.root();
  EXPECT_TRUE(is_element(root, kMain, "workbook"));
  EXPECT_FALSE(is_element(root, kRel, "workbook"));
  const xmlNode* sheets = first_child(root, kMain, "sheets");
  ASSERT_NE(sheets, nullptr);
  std::vector<std::string> seen;
  for (const xmlNode& sheet : children(*sheets, kMain, "sheet"))
    seen.push_back(*attribute(sheet, nullptr, "name") + "|" + *attribute(sheet, kRel, "id") + "|" +
                   attribute(sheet, nullptr, "state").value_or("visible"));
  EXPECT_EQ(seen, (std::vector<std::string>{"Trimestre 1|rId1|visible", "Détail & co|rId2|hidden"}));
  int all = 0;
  for ([[maybe_unused]] const xmlNode& child : children(*sheets, nullptr)) ++all;
  EXPECT_EQ(all, 3);
  // r:id is not the unqualified id.
  EXPECT_FALSE(attribute(*first_child(*sheets, kMain, "sheet"), nullptr, "id").has_value());
  EXPECT_EQ(first_child(root, kMain, "definedNames"), nullptr);
}

TEST(XmlPart, TextKeepsSpacesAndJoinsRuns) {
  const XmlPart part("xl/sharedStrings.xml",
                     "<si><r><t xml:space=\"preserve\">Thor </t></r><r><t>International</t></r></si>");
  EXPECT_EQ(text_of(part.root()), "Thor International");
}

TEST(XmlPart, MalformedXmlNamesThePartAndLine) {
  const std::string message = package_error_of([] { XmlPart("xl/styles.xml", "<styleSheet>\n<fonts>\n</styleSheet>"); });
  EXPECT_EQ(message.rfind("part 'xl/styles.xml': line 3: ", 0), 0u) << message;
  EXPECT_NE(package_error_of([] { XmlPart("a.xml", ""); }), "no error");
  EXPECT_NE(package_error_of([] { XmlPart("a.xml", "<a></b>"); }), "no error");
  EXPECT_NE(package_error_of([] { XmlPart("a.xml", std::string("<a>\0</a>", 8)); }), "no error");
}

// The billion laughs: ten levels of ten references each. Refused at the
// DTD, before a single entity is declared, let alone expanded.
TEST(XmlPart, RefusesDocumentsWithADtd) {
  std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n";
  for (int level = 1; level < 10; ++level) {
    bomb += "<!ENTITY lol" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) bomb += "&lol" + (level == 1 ? std::string() : std::to_string(level - 1)) + ";";
    bomb += "\">\n";
  }
  bomb += "]>\n<sst>&lol9;</sst>";
  EXPECT_EQ(package_error_of([&] { XmlPart("xl/sharedStrings.xml", bomb); }),
            "part 'xl/sharedStrings.xml': the part declares a DTD, which a workbook part never has");
  // External entities would read the host's files.
  const std::string external =
      "<!DOCTYPE a [<!ENTITY secret SYSTEM \"file:///etc/passwd\">]><a>&secret;</a>";
  EXPECT_EQ(package_error_of([&] { XmlPart("a.xml", external); }),
            "part 'a.xml': the part declares a DTD, which a workbook part never has");
  // An undeclared entity is simply not well-formed.
  EXPECT_NE(package_error_of([] { XmlPart("a.xml", "<a>&lol;</a>"); }), "no error");
}

TEST(XmlPart, DeepNestingIsRefusedNotRecursedInto) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  for (int i = 0; i < 100000; ++i) deep += "</a>";
  EXPECT_NE(package_error_of([&] { XmlPart("deep.xml", deep); }), "no error");
}

TEST(XmlPart, FailAtNamesTheElementPathAndLine) {
  const XmlPart part("xl/worksheets/sheet1.xml", "<worksheet>\n<sheetData>\n<row r=\"x\"/>\n</sheetData></worksheet>");
  const xmlNode& row = *first_child(*first_child(part.root(), nullptr, "sheetData"), nullptr, "row");
  EXPECT_EQ(package_error_of([&] { part.fail_at(row, "a row number is not a number"); }),
            "part 'xl/worksheets/sheet1.xml': element /worksheet/sheetData/row (line 3): a row number is not a number");
}

TEST(XmlPart, ReadFromAnArchiveByPartName) {
  const auto bytes = test_support::build_zip({{"xl/workbook.xml", "<workbook/>"}, {"bad.xml", "<a>"}});
  ZipArchive archive(bytes);
  EXPECT_EQ(local_name(read_xml_part(archive, "/xl/workbook.xml").root()), "workbook");
  EXPECT_FALSE(read_xml_part_if_present(archive, "xl/styles.xml").has_value());
  EXPECT_EQ(package_error_of([&] { read_xml_part(archive, "bad.xml"); }).rfind("part 'bad.xml': line 1", 0), 0u);
}

}  // namespace
