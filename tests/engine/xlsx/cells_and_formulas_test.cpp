// Cells of SpreadsheetML sheets: every value type, formulas (shared ones in
// either order, functions Excel 2003 lacks, text the engine cannot parse),
// and the formats, rows, columns and merges the checks read.
#include <gtest/gtest.h>

#include "engine/formula/value.hpp"
#include "engine/import/load_report.hpp"
#include "engine/model/constants.hpp"
#include "engine/xlsx/workbook_file.hpp"
#include "tests/engine/xlsx/xlsx_fixture.hpp"

namespace {

using namespace engine;
using test_support::worksheet;
using test_support::xlsx_package;

std::unique_ptr<model::Workbook> load(const test_support::Parts& parts, import::LoadReport* report = nullptr) {
  return xlsx::load_workbook(xlsx_package(parts), "Thor International.xlsx", report);
}

std::string shared_strings(const std::string& items) {
  return std::string("<sst xmlns=\"") + test_support::kMainNs + "\">" + items + "</sst>";
}

TEST(Cells, EveryValueTypeReadsAsExcelHoldsIt) {
  const auto book = load({
      {"xl/sharedStrings.xml",
       shared_strings("<si><t>España</t></si>"
                      "<si><r><t xml:space=\"preserve\">Thor </t></r><r><rPr><b/></rPr><t>International</t></r>"
                      "<rPh><t>ignored reading</t></rPh></si>"
                      "<si><t>line_x000D_break</t></si>")},
      {"xl/worksheets/sheet1.xml",
       worksheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c><c r=\"B1\" t=\"s\"><v>0</v></c></row>"
                 "<row r=\"3\"><c r=\"A3\"><v>125</v></c><c r=\"B3\" t=\"n\"><v>-1.5E-3</v></c>"
                 "<c r=\"C3\" t=\"b\"><v>1</v></c><c r=\"D3\" t=\"e\"><v>#N/A</v></c>"
                 "<c r=\"E3\" t=\"inlineStr\"><is><t>'01</t></is></c><c r=\"F3\" t=\"str\"><v>texte</v></c></row>"
                 "<row><c><v>7</v></c><c t=\"s\"><v>2</v></c></row>")},
  });
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(sheet.name(), "Feuil1");
  EXPECT_EQ(sheet.value(0, 0), formula::Value(std::string("Thor International")));
  EXPECT_EQ(sheet.value(0, 1), formula::Value(std::string("España")));
  EXPECT_EQ(sheet.value(2, 0), formula::Value(125.0));
  EXPECT_EQ(sheet.value(2, 1), formula::Value(-0.0015));
  EXPECT_EQ(sheet.value(2, 2), formula::Value(true));
  EXPECT_EQ(sheet.value(2, 3), formula::Value(formula::CellError::NA));
  EXPECT_EQ(sheet.value(2, 4), formula::Value(std::string("'01")));
  EXPECT_EQ(sheet.value(2, 5), formula::Value(std::string("texte")));
  // Row and column numbers may be left out: the next ones.
  EXPECT_EQ(sheet.value(3, 0), formula::Value(7.0));
  EXPECT_EQ(sheet.value(3, 1), formula::Value(std::string("line\rbreak")));
  EXPECT_EQ(book->name(), "Thor International.xlsx");
}

TEST(Formulas, ReadAsExcelEnglishAndComputeOnLoad) {
  import::LoadReport report;
  const auto book = load(
      {{"xl/worksheets/sheet1.xml",
        worksheet("<row r=\"4\"><c r=\"B4\"><v>118</v></c><c r=\"C4\"><v>125</v></c><c r=\"D4\"><v>1</v></c>"
                  // The shared formula's later cells come before its definition here.
                  "<c r=\"E4\"><f t=\"shared\" si=\"0\"/><v>0</v></c></row>"
                  "<row r=\"5\"><c r=\"B5\"><v>125</v></c><c r=\"C5\"><v>100</v></c><c r=\"D5\"><v>150</v></c>"
                  "<c r=\"E5\"><f t=\"shared\" ref=\"E4:E6\" si=\"0\">SUM(B5:D5)</f><v>375</v></c></row>"
                  "<row r=\"6\"><c r=\"B6\"><v>135</v></c><c r=\"C6\"><v>97</v></c><c r=\"D6\"><v>110</v></c>"
                  "<c r=\"E6\"><f t=\"shared\" si=\"0\"/><v>0</v></c></row>"
                  "<row r=\"7\"><c r=\"B7\"><f>SUM(B4:B6)</f><v>378</v></c>"
                  "<c r=\"C7\" t=\"str\"><f>_xlfn.CONCAT(\"a\",\"b\")</f><v>ab</v></c>"
                  "<c r=\"D7\" t=\"str\"><f>[1]Feuil1!A1&amp;SUM(</f><v>cached</v></c>"
                  "<c r=\"E7\"><f t=\"shared\" si=\"9\"/><v>42</v></c></row>")}},
      &report);
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(sheet.formula_text(4, 4), "=SUM(B5:D5)");
  EXPECT_EQ(sheet.formula_text(3, 4), "=SUM(B4:D4)");
  EXPECT_EQ(sheet.formula_text(5, 4), "=SUM(B6:D6)");
  EXPECT_EQ(sheet.value(3, 4), formula::Value(244.0));  // recomputed, not the cached 0
  EXPECT_EQ(sheet.value(6, 1), formula::Value(378.0));
  // A function Excel 2003 does not have shows #NAME?, as Excel 2003 shows it.
  EXPECT_TRUE(sheet.has_formula(6, 2));
  EXPECT_EQ(sheet.value(6, 2), formula::Value(formula::CellError::Name));
  // What the engine cannot parse keeps its saved result, and says so.
  EXPECT_FALSE(sheet.has_formula(6, 3));
  EXPECT_EQ(sheet.value(6, 3), formula::Value(std::string("cached")));
  EXPECT_EQ(sheet.value(6, 4), formula::Value(42.0));
  ASSERT_EQ(report.notes().size(), 2u);
  EXPECT_EQ(report.notes()[0].where, "Feuil1!D7");
  EXPECT_EQ(report.notes()[1].where, "Feuil1!E7");
  EXPECT_EQ(report.notes()[1].why, "its shared formula is never defined");
}

constexpr const char* kStyles = R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts count="1"><numFmt numFmtId="164" formatCode="0.0 &quot;€&quot;"/></numFmts>
<fonts>
  <font><sz val="10"/><name val="Arial"/></font>
  <font><b/><i/><sz val="12"/><color indexed="62"/><name val="Arial"/></font>
  <font><b val="0"/><u/><sz val="10"/><color rgb="FFFF0000"/><name val="Times New Roman"/></font>
</fonts>
<fills>
  <fill><patternFill patternType="none"/></fill>
  <fill><patternFill patternType="gray125"/></fill>
  <fill><patternFill patternType="solid"><fgColor indexed="54"/><bgColor indexed="24"/></patternFill></fill>
</fills>
<borders><border/><border><left style="thin"><color indexed="64"/></left><bottom style="double"/></border></borders>
<cellStyleXfs>
  <xf numFmtId="0" fontId="0" fillId="0" borderId="0"/>
  <xf numFmtId="0" fontId="1" fillId="0" borderId="0"/>
</cellStyleXfs>
<cellXfs>
  <xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>
  <xf numFmtId="164" fontId="2" fillId="2" borderId="1" xfId="0" applyAlignment="1" applyProtection="1">
    <alignment horizontal="center" vertical="top" wrapText="1" textRotation="45" indent="2"/>
    <protection locked="0" hidden="1"/>
  </xf>
  <xf numFmtId="49" fontId="1" fillId="0" borderId="0" xfId="1"/>
  <xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" quotePrefix="1"/>
</cellXfs>
<cellStyles count="2">
  <cellStyle name="Standard" xfId="0" builtinId="0"/>
  <cellStyle name="Titre bleu" xfId="1"/>
</cellStyles>
</styleSheet>)";

TEST(Formats, FontsFillsAlignmentProtectionAndStylesReachTheCells) {
  const auto book = load({{"xl/styles.xml", kStyles},
                          {"xl/worksheets/sheet1.xml",
                           worksheet("<row r=\"3\"><c r=\"B3\" s=\"1\"><v>1.5</v></c><c r=\"C3\" s=\"2\" t=\"inlineStr\">"
                                     "<is><t>01</t></is></c><c r=\"D3\" s=\"3\"><v>39448</v></c><c r=\"E3\" s=\"2\"/></row>")}});
  const model::Worksheet& sheet = book->sheet(0);
  const model::CellFormat& b3 = sheet.format(2, 1);
  EXPECT_EQ(b3.number_format, "0.0 \"€\"");
  EXPECT_EQ(b3.font.name, "Times New Roman");
  EXPECT_FALSE(b3.font.bold);
  EXPECT_EQ(b3.font.underline, model::xl::UnderlineSingle);
  EXPECT_EQ(b3.font.color_index, 3);  // FF0000, the palette's red
  EXPECT_EQ(b3.interior.pattern, model::xl::Solid);
  EXPECT_EQ(b3.interior.color_index, 47);
  EXPECT_EQ(b3.interior.pattern_color_index, 17);
  EXPECT_EQ(b3.borders.left.line_style, 1);
  EXPECT_EQ(b3.borders.left.color_index, model::kColorIndexAutomatic);
  EXPECT_EQ(b3.borders.bottom.line_style, -4119);
  EXPECT_EQ(b3.alignment.horizontal, model::xl::Center);
  EXPECT_EQ(b3.alignment.vertical, model::xl::Top);
  EXPECT_TRUE(b3.alignment.wrap_text);
  EXPECT_EQ(b3.alignment.orientation, 45);
  EXPECT_EQ(b3.alignment.indent_level, 2);
  EXPECT_FALSE(b3.protection.locked);
  EXPECT_TRUE(b3.protection.formula_hidden);
  EXPECT_EQ(b3.style, "Normal");
  // Text format, and the user style the cell derives from.
  const model::CellFormat& c3 = sheet.format(2, 2);
  EXPECT_EQ(c3.number_format, "@");
  EXPECT_EQ(c3.style, "Titre bleu");
  EXPECT_TRUE(c3.font.bold && c3.font.italic);
  EXPECT_EQ(c3.font.color_index, 55);
  EXPECT_EQ(sheet.format(2, 3).number_format, "m/d/yyyy");
  EXPECT_TRUE(sheet.format(2, 3).quote_prefix);
  EXPECT_EQ(sheet.value(2, 3), formula::Value(39448.0));  // dates are serial numbers, as in .xls
  EXPECT_EQ(sheet.format(2, 4).style, "Titre bleu");      // a blank cell keeps its format
  const model::Style* style = book->styles().find("Titre bleu");
  ASSERT_NE(style, nullptr);
  EXPECT_TRUE(style->format.font.bold && style->format.font.italic);
  EXPECT_EQ(style->format.font.color_index, 55);
  // The built-in Normal style is not added again under the file's own name.
  EXPECT_EQ(book->styles().find("Standard"), nullptr);
}

TEST(Formats, ThemeColoursAndCustomPalettesMapToPaletteEntries) {
  const std::string styles =
      std::string("<styleSheet xmlns=\"") + test_support::kMainNs +
      "\"><colors><indexedColors>" +
      [] {
        std::string entries;
        for (int i = 0; i < 64; ++i) entries += i == 10 ? "<rgbColor rgb=\"FF123456\"/>" : "<rgbColor rgb=\"FF000000\"/>";
        return entries;
      }() +
      "</indexedColors></colors><fonts><font><color theme=\"1\"/></font><font><color rgb=\"FF123456\"/></font>"
      "<font><color theme=\"4\" tint=\"-0.5\"/></font></fonts>"
      "<cellXfs><xf/><xf fontId=\"1\"/><xf fontId=\"2\"/></cellXfs></styleSheet>";
  const auto book = load({{"xl/styles.xml", styles},
                          {"xl/worksheets/sheet1.xml",
                           worksheet("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>1</v></c><c r=\"B1\" s=\"2\"><v>1</v></c></row>")}});
  EXPECT_EQ(book->palette().color(3), 0x123456u);
  EXPECT_EQ(book->sheet(0).format(0, 0).font.color_index, 3);
  EXPECT_EQ(book->sheet(0).format(0, 1).font.color_index, book->palette().nearest_index(0x254061u));
}

TEST(Lines, RowsColumnsOutlinesAndMergesAsSaved) {
  const auto book = load({{"xl/worksheets/sheet1.xml",
                           worksheet("<row r=\"4\" outlineLevel=\"1\" hidden=\"1\"/><row r=\"5\" outlineLevel=\"1\" hidden=\"1\"/>"
                                     "<row r=\"6\" outlineLevel=\"1\" hidden=\"1\"/><row r=\"7\" collapsed=\"1\"/>"
                                     "<row r=\"9\" hidden=\"true\" ht=\"30\" customHeight=\"true\"/>"
                                     "<row r=\"10\" ht=\"30\" customHeight=\"false\"/>",
                                     "<mergeCells count=\"1\"><mergeCell ref=\"A1:D1\"/></mergeCells>",
                                     "<sheetPr><outlinePr summaryRight=\"0\"/></sheetPr>"
                                     "<cols><col min=\"2\" max=\"3\" width=\"20\" customWidth=\"1\" outlineLevel=\"1\" hidden=\"1\"/></cols>")}});
  const model::Worksheet& sheet = book->sheet(0);
  for (int row = 3; row <= 5; ++row) {
    EXPECT_EQ(sheet.rows().level(row), 2) << row;
    EXPECT_TRUE(sheet.rows().hidden(row)) << row;
  }
  EXPECT_EQ(sheet.summary_row(), model::SummaryPosition::Below);
  EXPECT_EQ(sheet.summary_column(), model::SummaryPosition::Above);
  EXPECT_TRUE(sheet.rows().hidden(8));
  EXPECT_EQ(sheet.rows().at(8).size, 30.0);
  EXPECT_FALSE(sheet.rows().at(9).size.has_value());
  EXPECT_EQ(sheet.columns().level(1), 2);
  EXPECT_TRUE(sheet.columns().hidden(2));
  EXPECT_EQ(sheet.columns().at(2).size, 20.0);
  ASSERT_EQ(sheet.merged_ranges().size(), 1u);
  EXPECT_EQ(sheet.merged_ranges()[0].last_column, 3);
}

}  // namespace
