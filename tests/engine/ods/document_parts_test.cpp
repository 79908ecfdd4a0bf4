// Hand-written documents for what LibreOffice writes but the exercise files
// do not hold: each element the reader takes, read into the model.
#include <gtest/gtest.h>

#include "engine/model/constants.hpp"
#include "engine/ods/odf_namespaces.hpp"
#include "engine/ods/table_reader.hpp"
#include "engine/ods/workbook_file.hpp"
#include "engine/package/xml_part.hpp"
#include "ods_files.hpp"

namespace engine::ods {
namespace {

namespace xl = model::xl;
using testing::spreadsheet_package;

std::unique_ptr<model::Workbook> load(const std::string& spreadsheet, const std::string& styles = {},
                                      import::LoadReport* report = nullptr) {
  return load_workbook(spreadsheet_package(spreadsheet, styles), "parts.ods", report);
}

TEST(DocumentParts, CellValuesOfEveryType) {
  const auto book = load(R"(<table:table table:name="Valeurs"><table:table-row>
      <table:table-cell office:value-type="percentage" office:value="0.25"/>
      <table:table-cell office:value-type="currency" office:currency="EUR" office:value="-3.5"/>
      <table:table-cell office:value-type="date" office:date-value="1900-03-01"/>
      <table:table-cell office:value-type="date" office:date-value="2026-12-07T18:00:00"/>
      <table:table-cell office:value-type="time" office:time-value="PT36H30M00S"/>
      <table:table-cell office:value-type="boolean" office:boolean-value="false"/>
      <table:table-cell office:value-type="string"><text:p>a<text:tab/>b<text:s text:c="3"/>c</text:p><text:p><text:span>d</text:span><text:line-break/>e</text:p></table:table-cell>
      <table:table-cell office:value-type="string" office:string-value="attribute wins"><text:p>shown</text:p></table:table-cell>
      <table:table-cell office:value-type="string" calcext:value-type="error"><text:p>#N/A</text:p></table:table-cell>
    </table:table-row></table:table>)");
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(sheet.value(0, 0), formula::Value(0.25));
  EXPECT_EQ(sheet.value(0, 1), formula::Value(-3.5));
  EXPECT_EQ(sheet.value(0, 2), formula::Value(61.0)) << "1900-03-01 is serial 61 in Excel and OpenDocument alike";
  EXPECT_EQ(sheet.value(0, 3), formula::Value(46363.75));
  EXPECT_EQ(sheet.value(0, 4), formula::Value(36.5 / 24));
  EXPECT_EQ(sheet.value(0, 5), formula::Value(false));
  EXPECT_EQ(sheet.value(0, 6), formula::Value("a\tb   c\nd\ne"));
  EXPECT_EQ(sheet.value(0, 7), formula::Value("attribute wins"));
  EXPECT_EQ(sheet.value(0, 8), formula::Value(formula::CellError::NA));
}

TEST(DocumentParts, RepeatedCellsMergesAndCoveredCells) {
  const auto book = load(R"(<table:table table:name="T">
      <table:table-row table:number-rows-repeated="2"><table:table-cell office:value-type="float" office:value="5" table:number-columns-repeated="3"/></table:table-row>
      <table:table-row><table:table-cell table:number-columns-spanned="2" table:number-rows-spanned="2" office:value-type="string"><text:p>fusion</text:p></table:table-cell>
        <table:covered-table-cell/><table:table-cell office:value-type="float" office:value="9"/></table:table-row>
    </table:table>)");
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(sheet.cell_count(), 8u);
  EXPECT_EQ(sheet.value(1, 2), formula::Value(5.0));
  EXPECT_TRUE(sheet.value(0, 3).is_empty());
  EXPECT_EQ(sheet.value(2, 2), formula::Value(9.0)) << "a covered cell takes its column";
  ASSERT_EQ(sheet.merged_ranges().size(), 1u);
  EXPECT_EQ(sheet.merged_ranges()[0], (model::CellRange{2, 0, 3, 1}));
}

TEST(DocumentParts, NotesKeepAuthorTextAndDisplay) {
  const auto book = load(R"(<table:table table:name="T"><table:table-row><table:table-cell/><table:table-cell>
      <office:annotation office:display="true"><dc:creator>Formateur</dc:creator><dc:date>2026-12-07T00:00:00</dc:date>
        <text:p>Ligne 1</text:p><text:p>Ligne 2</text:p></office:annotation></table:table-cell></table:table-row></table:table>)");
  const model::Note* note = book->sheet(0).note(0, 1);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text, "Ligne 1\nLigne 2");
  EXPECT_EQ(note->author, "Formateur");
  EXPECT_TRUE(note->visible);
}

TEST(DocumentParts, SheetVisibilityColumnsAndGroups) {
  const std::string styles = R"(
    <style:style style:name="ta1" style:family="table"><style:table-properties table:display="true"/></style:style>
    <style:style style:name="ta2" style:family="table"><style:table-properties table:display="false"/></style:style>
    <style:style style:name="co2" style:family="table-column"><style:table-column-properties style:column-width="1.5in"/></style:style>)";
  const auto book = load(R"(
    <table:table table:name="Shown" table:style-name="ta1">
      <table:table-column/><table:table-column table:visibility="collapse"/>
      <table:table-column-group><table:table-column table:style-name="co2" table:number-columns-repeated="2"/></table:table-column-group>
      <table:table-row-group table:display="false">
        <table:table-row table:visibility="collapse" table:number-rows-repeated="2"><table:table-cell/></table:table-row>
      </table:table-row-group>
      <table:table-row table:visibility="filter"><table:table-cell/></table:table-row>
    </table:table>
    <table:table table:name="Hidden" table:style-name="ta2"/>)",
                         styles);
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(book->sheet(1).visibility(), xl::SheetHidden);
  EXPECT_FALSE(sheet.columns().hidden(0));
  EXPECT_TRUE(sheet.columns().hidden(1));
  EXPECT_EQ(sheet.columns().level(2), 2);
  EXPECT_EQ(sheet.columns().level(4), 1);
  EXPECT_NEAR(sheet.columns().at(2).size.value_or(0), (1.5 * 96 - 5) / 7, 0.01);
  EXPECT_TRUE(sheet.rows().hidden(0));
  EXPECT_EQ(sheet.rows().level(1), 2);
  EXPECT_FALSE(sheet.row_show_detail(2)) << "the row under a collapsed group is its summary";
  EXPECT_TRUE(sheet.rows().hidden(2)) << "a filtered row is hidden";
}

TEST(DocumentParts, CellFormatsFromStylesAndColumnDefaults) {
  const std::string styles = R"(
    <number:percentage-style style:name="N11"><number:number number:decimal-places="1" number:min-decimal-places="1" number:min-integer-digits="1"/><number:text>%</number:text></number:percentage-style>
    <style:style style:name="ce1" style:family="table-cell" style:data-style-name="N11">
      <style:table-cell-properties fo:background-color="#ffff00" style:cell-protect="none" fo:border-bottom="1.5pt solid #ff0000" fo:wrap-option="wrap" style:vertical-align="middle"/>
      <style:paragraph-properties fo:text-align="center"/>
      <style:text-properties fo:font-weight="bold" fo:font-style="italic" fo:font-size="14pt" style:font-name="Verdana" style:text-underline-style="solid" fo:color="#0000ff"/>
    </style:style>
    <style:style style:name="ce2" style:family="table-cell"><style:text-properties fo:font-weight="bold"/></style:style>)";
  const auto book = load(R"(<table:table table:name="T">
      <table:table-column table:default-cell-style-name="ce2"/><table:table-column/>
      <table:table-row><table:table-cell office:value-type="float" office:value="1"/>
        <table:table-cell table:style-name="ce1" office:value-type="float" office:value="0.5"/></table:table-row>
    </table:table>)",
                         styles);
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_TRUE(sheet.format(0, 0).font.bold) << "a cell without a style shows its column's";
  EXPECT_TRUE(sheet.format(500, 0).font.bold);
  const model::CellFormat& format = sheet.format(0, 1);
  EXPECT_EQ(format.number_format, "0.0%");
  EXPECT_EQ(format.interior.color_index, 6);
  EXPECT_EQ(format.interior.pattern, xl::Solid);
  EXPECT_FALSE(format.protection.locked);
  EXPECT_EQ(format.borders.bottom.line_style, 2);
  EXPECT_EQ(format.borders.bottom.color_index, 3);
  EXPECT_EQ(format.borders.top.line_style, 0);
  EXPECT_TRUE(format.alignment.wrap_text);
  EXPECT_EQ(format.alignment.horizontal, xl::Center);
  EXPECT_EQ(format.alignment.vertical, xl::Center);
  EXPECT_TRUE(format.font.bold);
  EXPECT_TRUE(format.font.italic);
  EXPECT_EQ(format.font.size, 14);
  EXPECT_EQ(format.font.name, "Verdana");
  EXPECT_EQ(format.font.underline, xl::UnderlineSingle);
  EXPECT_EQ(format.font.color_index, 5);
  EXPECT_EQ(format.style, "Normal");
}

TEST(DocumentParts, ABlankStyledRowAcrossTheGridIsTheRowsFormat) {
  const std::string styles = R"(<style:style style:name="ce1" style:family="table-cell"><style:text-properties fo:font-weight="bold"/></style:style>)";
  const auto book = load(R"(<table:table table:name="T"><table:table-row table:number-rows-repeated="19"><table:table-cell table:number-columns-repeated="16384"/></table:table-row>
      <table:table-row><table:table-cell table:style-name="ce1" table:number-columns-repeated="16384"/></table:table-row></table:table>)",
                         styles);
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(sheet.cell_count(), 0u);
  ASSERT_TRUE(sheet.rows().at(19).format.has_value());
  EXPECT_TRUE(sheet.format(19, 255).font.bold);
  EXPECT_FALSE(sheet.format(18, 0).font.bold);
}

TEST(DocumentParts, NamesShapesControlsAndProtection) {
  import::LoadReport report;
  const auto book = load(R"(
    <table:table table:name="Feuille" table:protected="true" table:protection-key="abc">
      <office:forms><form:form form:name="Standard">
        <form:checkbox form:name="Case" form:id="control1" form:label="Oui" form:current-state="unknown"/>
        <form:button form:name="Bouton" form:id="control2" form:label="Go"/>
      </form:form></office:forms>
      <table:table-row><table:table-cell>
        <draw:frame draw:name="Cadre" svg:width="2in" svg:height="1in"><draw:text-box><text:p>Texte</text:p></draw:text-box></draw:frame>
        <draw:control draw:name="Case" draw:control="control1" svg:width="1in" svg:height="0.25in"/>
        <draw:control draw:control="control2"/>
        <draw:custom-shape draw:name="Cadre"><text:p>Même nom</text:p></draw:custom-shape>
      </table:table-cell></table:table-row>
      <table:named-expressions><table:named-range table:name="Ici" table:base-cell-address="$Feuille.$A$1" table:cell-range-address="$Feuille.$A$1:.$B$2"/></table:named-expressions>
    </table:table>
    <table:named-expressions>
      <table:named-range table:name="Zone" table:base-cell-address="$Feuille.$A$1" table:cell-range-address="$Feuille.$C$4:.$C$8"/>
      <table:named-expression table:name="Double" table:base-cell-address="$Feuille.$A$1" table:expression="of:=2*[$Feuille.$A$1]"/>
      <table:named-expression table:name="Cassé" table:expression="of:=[.A1"/>
    </table:named-expressions>)",
                         {}, &report);
  model::Workbook& workbook = *book;
  const model::Worksheet& sheet = workbook.sheet(0);
  ASSERT_EQ(sheet.shapes().size(), 4u);
  EXPECT_EQ(sheet.shapes()[0].name, "Cadre");
  EXPECT_EQ(sheet.shapes()[0].text, "Texte");
  EXPECT_EQ(sheet.shapes()[0].extent, (model::ShapeExtent{0, 0, 144, 72}));
  EXPECT_EQ(sheet.shapes()[1].kind, model::ShapeKind::CheckBox);
  EXPECT_EQ(sheet.shapes()[1].text, "Oui");
  EXPECT_EQ(sheet.shapes()[1].value, xl::Mixed);
  EXPECT_EQ(sheet.shapes()[2].kind, model::ShapeKind::TextBox);
  EXPECT_EQ(sheet.shapes()[2].text, "Go");
  EXPECT_NE(sheet.shapes()[3].name, "Cadre") << "a second shape of a name takes Excel's default one";
  EXPECT_TRUE(sheet.protection().contents);
  ASSERT_NE(workbook.find_name("Zone"), nullptr);
  EXPECT_EQ(workbook.find_name("Zone")->refers_to_text(), "=Feuille!$C$4:$C$8");
  EXPECT_EQ(workbook.find_name("Double")->refers_to_text(), "=2*Feuille!$A$1");
  EXPECT_EQ(workbook.find_name("Ici"), nullptr) << "local to its sheet";
  ASSERT_NE(workbook.find_name("Ici", sheet.id()), nullptr);
  EXPECT_EQ(workbook.find_name("Cassé"), nullptr);
  std::vector<std::string> lost;
  for (const auto& note : report.notes()) lost.push_back(note.what);
  // Workbook names are defined before the sheets are read.
  EXPECT_EQ(lost, (std::vector<std::string>{"a defined name", "a form control other than a check box", "a sheet's password"}));
}

TEST(DocumentParts, ViewSettingsAndSummaryProperties) {
  const std::string settings = R"(<office:document-settings xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:config="urn:oasis:names:tc:opendocument:xmlns:config:1.0"><office:settings>
    <config:config-item-set config:name="ooo:view-settings"><config:config-item-map-indexed config:name="Views">
      <config:config-item-map-entry>
        <config:config-item-map-named config:name="Tables"><config:config-item-map-entry config:name="Deux">
          <config:config-item config:name="CursorPositionX" config:type="int">2</config:config-item>
          <config:config-item config:name="CursorPositionY" config:type="int">9</config:config-item>
        </config:config-item-map-entry></config:config-item-map-named>
        <config:config-item config:name="ActiveTable" config:type="string">Deux</config:config-item>
        <config:config-item config:name="ZoomValue" config:type="int">5000</config:config-item>
        <config:config-item config:name="ShowGrid" config:type="boolean">false</config:config-item>
      </config:config-item-map-entry></config:config-item-map-indexed></config:config-item-set></office:settings></office:document-settings>)";
  const auto book = load_workbook(
      testing::make_package({{"mimetype", std::string(kSpreadsheetMimeType)},
                             {"content.xml", testing::content_xml(R"(<table:table table:name="Un"/><table:table table:name="Deux"/>)")},
                             {"settings.xml", settings},
                             {"meta.xml", R"(<office:document-meta xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
                                xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0">
                                <office:meta><dc:title>Ventes</dc:title><meta:initial-creator>Formateur</meta:initial-creator></office:meta>
                                </office:document-meta>)"}}),
      "v.ods");
  EXPECT_EQ(book->properties().title, "Ventes");
  EXPECT_EQ(book->properties().author, "Formateur");
  EXPECT_EQ(book->active_sheet().name(), "Deux");
  EXPECT_EQ(book->sheet(1).active_cell(), (std::pair<int, int>{9, 2}));
  EXPECT_EQ(book->window(0).zoom, 400);
  EXPECT_FALSE(book->window(0).display_gridlines);
  EXPECT_TRUE(book->window(0).visible) << "OpenDocument keeps no hidden window";
}

}  // namespace
}  // namespace engine::ods
