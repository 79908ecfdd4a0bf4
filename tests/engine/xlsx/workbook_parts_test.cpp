// What the workbook part and the drawing parts bring: sheets, their order
// and visibility, names (local ones and those of custom views), protection,
// the window, custom views, notes, text boxes and check boxes as Excel and
// LibreOffice lay them out, and the template flag of a template's content.
#include <gtest/gtest.h>

#include "engine/import/file_error.hpp"
#include "engine/import/load_report.hpp"
#include "engine/model/constants.hpp"
#include "engine/xlsx/workbook_file.hpp"
#include "tests/engine/xlsx/xlsx_fixture.hpp"

namespace {

using namespace engine;
using test_support::workbook;
using test_support::workbook_relationships;
using test_support::worksheet;
using test_support::xlsx_package;

std::unique_ptr<model::Workbook> load(const test_support::Parts& parts, import::LoadReport* report = nullptr) {
  return xlsx::load_workbook(xlsx_package(parts), "Thor International.xls", report);
}

const std::string kThreeSheets =
    "<sheet name=\"détail\" sheetId=\"3\" r:id=\"rId1\"/>"
    "<sheet name=\"Trimestre 1\" sheetId=\"1\" r:id=\"rId2\" state=\"hidden\"/>"
    "<sheet name=\"module1\" sheetId=\"2\" r:id=\"rId3\" state=\"veryHidden\"/>";

test_support::Parts three_sheets(const std::string& after_sheets, const std::string& before_sheets = "") {
  return {{"xl/workbook.xml", workbook(kThreeSheets, after_sheets, before_sheets)},
          {"xl/_rels/workbook.xml.rels", workbook_relationships(3)},
          {"xl/worksheets/sheet2.xml", worksheet("<row r=\"4\"><c r=\"C4\"><v>118</v></c></row>")},
          {"xl/worksheets/sheet3.xml", worksheet("")}};
}

TEST(WorkbookPart, SheetsNamesProtectionAndWindow) {
  const auto book = load(three_sheets(
      "<definedNames>"
      "<definedName name=\"Zone\">'Trimestre 1'!$C$4:$C$8</definedName>"
      "<definedName name=\"Local\" localSheetId=\"0\">détail!$A$1</definedName>"
      "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">détail!$A$1:$D$3</definedName>"
      "</definedNames>",
      "<workbookProtection lockStructure=\"1\" workbookPassword=\"CC3D\"/>"
      "<bookViews><workbookView visibility=\"hidden\" activeTab=\"0\"/></bookViews>"));
  ASSERT_EQ(book->sheet_count(), 3u);
  EXPECT_EQ(book->sheet(0).name(), "détail");
  EXPECT_EQ(book->sheet(1).name(), "Trimestre 1");
  EXPECT_EQ(book->sheet(1).visibility(), model::xl::SheetHidden);
  EXPECT_EQ(book->sheet(2).visibility(), model::xl::SheetVeryHidden);
  EXPECT_EQ(book->sheet(1).value(3, 2), formula::Value(118.0));
  ASSERT_NE(book->find_name("Zone"), nullptr);
  EXPECT_NE(book->find_name("Local", book->sheet(0).id()), nullptr);
  EXPECT_EQ(book->names().size(), 2u);
  EXPECT_TRUE(book->protection().structure);
  EXPECT_EQ(book->protection().password_hash, 0xCC3D);
  EXPECT_FALSE(book->window(0).visible);
  EXPECT_EQ(book->active_sheet().name(), "détail");
  EXPECT_FALSE(book->is_template());
}

TEST(WorkbookPart, ATemplatesContentTypeMakesATemplate) {
  const auto book = load({{"[Content_Types].xml",
                           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                           "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
                           "vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml\"/></Types>"}});
  EXPECT_TRUE(book->is_template());
}

// A view "123" as Excel 2007 saves it: the book view, the sheet's view with
// its zoom and print settings, and the rows it hides as a hidden local name.
TEST(CustomViews, BookAndSheetViewsAndTheirHiddenRows) {
  auto parts = three_sheets(
      "<definedNames><definedName name=\"Z_0C1B3B1E_2B3A_4C52_9D49_0E8C1A6B8F10_.wvu.Rows\" localSheetId=\"1\" "
      "hidden=\"1\">'Trimestre 1'!$6:$7</definedName></definedNames>"
      "<customWorkbookViews><customWorkbookView name=\"123\" guid=\"{0C1B3B1E-2B3A-4C52-9D49-0E8C1A6B8F10}\" "
      "maximized=\"1\" windowWidth=\"800\" windowHeight=\"600\" activeSheetId=\"1\"/></customWorkbookViews>");
  parts["xl/worksheets/sheet2.xml"] = worksheet(
      "<row r=\"4\"><c r=\"C4\"><v>118</v></c></row>",
      "<customSheetViews><customSheetView guid=\"{0C1B3B1E-2B3A-4C52-9D49-0E8C1A6B8F10}\" scale=\"110\" "
      "hiddenRows=\"1\"><selection activeCell=\"B4\" sqref=\"B4\"/><printOptions horizontalCentered=\"1\"/>"
      "<pageSetup orientation=\"portrait\"/></customSheetView></customSheetViews>");
  const auto book = load(parts);
  const model::CustomView* view = book->find_custom_view("123");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->zoom, 110);
  EXPECT_EQ(view->window_state, model::xl::Maximized);
  EXPECT_EQ(view->active_sheet, book->sheet(1).id());
  ASSERT_EQ(view->sheets.size(), 1u);
  EXPECT_EQ(view->sheets[0].hidden_rows, (std::vector<int>{5, 6}));
  EXPECT_TRUE(view->sheets[0].page_setup.center_horizontally);
  EXPECT_EQ(view->sheets[0].active_cell, (std::pair<int, int>{3, 1}));
  EXPECT_TRUE(book->names().empty());  // the view's name is not a workbook name
}

const char* const kSheetRels = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments" Target="../comments1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/vmlDrawing" Target="../drawings/vmlDrawing1.vml"/>
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing" Target="../drawings/drawing1.xml"/>
<Relationship Id="rId4" Type="http://schemas.microsoft.com/office/2006/relationships/ctrlProp" Target="../ctrlProps/ctrlProp1.xml"/>
</Relationships>)";

const char* const kComments = R"(<comments xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<authors><author>Thor</author></authors><commentList>
<comment ref="E3" authorId="0"><text><r><rPr><b/></rPr><t>Thor:</t></r><r><t xml:space="preserve">
Ne pas supprimer ce commentaire. Merci !</t></r></text></comment>
<comment ref="F13" authorId="7"><text><t>Ne pas supprimer ce commentaire. Merci !</t></text></comment>
</commentList></comments>)";

// Excel's layout: notes and check boxes in the VML, names in the drawing
// and the sheet's controls, the state in ctrlProps too.
const char* const kExcelVml = R"(<xml xmlns:v="urn:schemas-microsoft-com:vml" xmlns:o="urn:schemas-microsoft-com:office:office" xmlns:x="urn:schemas-microsoft-com:office:excel">
<v:shape id="_x0000_s1025" type="#_x0000_t202" style="position:absolute;visibility:visible"><v:textbox><div>Thor</div></v:textbox>
<x:ClientData ObjectType="Note"><x:Anchor>5, 15, 1, 10, 7, 15, 5, 4</x:Anchor><x:Visible/><x:Row>2</x:Row><x:Column>4</x:Column></x:ClientData></v:shape>
<v:shape id="_x0000_s1026" type="#_x0000_t202"><x:ClientData ObjectType="Note"><x:Row>12</x:Row><x:Column>5</x:Column></x:ClientData></v:shape>
<v:shape id="_x0000_s1027" type="#_x0000_t201" style="position:absolute;margin-left:15pt;width:150pt;height:18pt">
<v:textbox><div style="text-align:left"><font face="Arial">Réponse 1</font></div></v:textbox>
<x:ClientData ObjectType="Checkbox"><x:Anchor>0, 20, 10, 5, 3, 0, 11, 0</x:Anchor><x:Checked>1</x:Checked><x:Locked>False</x:Locked></x:ClientData></v:shape>
<v:shape id="_x0000_s1028" type="#_x0000_t201" style="width:150pt;height:18pt"><v:textbox><div>Réponse 2</div></v:textbox>
<x:ClientData ObjectType="Checkbox"><x:Anchor>0, 20, 12, 5, 3, 0, 13, 0</x:Anchor></x:ClientData></v:shape>
<v:shape id="_x0000_s1029" type="#_x0000_t201"><x:ClientData ObjectType="Button"><x:Anchor>0, 0, 20, 0, 1, 0, 21, 0</x:Anchor></x:ClientData></v:shape>
</xml>)";

const char* const kExcelDrawing = R"(<xdr:wsDr xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006">
<xdr:twoCellAnchor><xdr:from><xdr:col>0</xdr:col><xdr:colOff>254000</xdr:colOff><xdr:row>3</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from>
<xdr:to><xdr:col>5</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>9</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to>
<xdr:sp macro="" textlink=""><xdr:nvSpPr><xdr:cNvPr id="2" name="Question"/><xdr:cNvSpPr txBox="1"/></xdr:nvSpPr>
<xdr:spPr><a:xfrm><a:off x="254000" y="500000"/><a:ext cx="5334000" cy="1270000"/></a:xfrm></xdr:spPr>
<xdr:txBody><a:bodyPr/><a:p><a:r><a:t>Vous voulez créer un nouveau classeur.</a:t></a:r></a:p><a:p><a:r><a:t>Que faites-vous ?</a:t></a:r></a:p></xdr:txBody></xdr:sp><xdr:clientData/></xdr:twoCellAnchor>
<mc:AlternateContent><mc:Choice Requires="a14"><xdr:twoCellAnchor><xdr:from><xdr:col>0</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>10</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:to><xdr:col>3</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>11</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to>
<xdr:sp><xdr:nvSpPr><xdr:cNvPr id="1027" name="Case à cocher 1" hidden="1"/><xdr:cNvSpPr/></xdr:nvSpPr><xdr:spPr/><xdr:txBody><a:p><a:r><a:t>Réponse 1</a:t></a:r></a:p></xdr:txBody></xdr:sp><xdr:clientData/></xdr:twoCellAnchor></mc:Choice></mc:AlternateContent>
<mc:AlternateContent><mc:Choice Requires="a14"><xdr:twoCellAnchor><xdr:from><xdr:col>0</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>12</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:to><xdr:col>3</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>13</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to>
<xdr:sp><xdr:nvSpPr><xdr:cNvPr id="1028" name="Case à cocher 2" hidden="1"/><xdr:cNvSpPr/></xdr:nvSpPr><xdr:spPr/></xdr:sp><xdr:clientData/></xdr:twoCellAnchor></mc:Choice></mc:AlternateContent>
<xdr:oneCellAnchor><xdr:from><xdr:col>8</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>1</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:ext cx="100" cy="100"/>
<xdr:pic><xdr:nvPicPr><xdr:cNvPr id="5" name="Image 1"/></xdr:nvPicPr></xdr:pic><xdr:clientData/></xdr:oneCellAnchor>
</xdr:wsDr>)";

// The second box as Excel lists it among the sheet's controls.
const char* const kSecondBoxControl =
    "<control shapeId=\"1028\" r:id=\"rId4\" name=\"Case à cocher 2\"><controlPr locked=\"0\"/></control>";

// A sheet with Excel's drawing parts: the notes, the drawing, the second
// box's ctrlProps (Mixed), and the VML given.
test_support::Parts excel_drawing_parts(const std::string& sheet, const std::string& vml) {
  return {{"xl/worksheets/sheet1.xml", sheet},
          {"xl/worksheets/_rels/sheet1.xml.rels", kSheetRels},
          {"xl/comments1.xml", kComments},
          {"xl/drawings/vmlDrawing1.vml", vml},
          {"xl/drawings/drawing1.xml", kExcelDrawing},
          {"xl/ctrlProps/ctrlProp1.xml",
           "<formControlPr xmlns=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/main\" "
           "objectType=\"CheckBox\" checked=\"Mixed\"/>"}};
}

TEST(Drawings, NotesTextBoxesAndCheckBoxesAsExcelLaysThemOut) {
  import::LoadReport report;
  const auto book = load(
      excel_drawing_parts(worksheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>",
                                    "<sheetProtection sheet=\"1\" objects=\"1\" scenarios=\"1\"/><drawing r:id=\"rId3\"/>"
                                    "<legacyDrawing r:id=\"rId2\"/><mc:AlternateContent "
                                    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
                                    "<mc:Choice Requires=\"x14\"><controls><mc:AlternateContent><mc:Choice "
                                    "Requires=\"x14\">" + std::string(kSecondBoxControl) +
                                        "</mc:Choice></mc:AlternateContent></controls></mc:Choice></mc:AlternateContent>"),
                          kExcelVml),
      &report);
  const model::Worksheet& sheet = book->sheet(0);
  ASSERT_NE(sheet.note(2, 4), nullptr);
  EXPECT_EQ(sheet.note(2, 4)->text, "Thor:\nNe pas supprimer ce commentaire. Merci !");
  EXPECT_EQ(sheet.note(2, 4)->author, "Thor");
  EXPECT_TRUE(sheet.note(2, 4)->visible);
  ASSERT_NE(sheet.note(12, 5), nullptr);
  EXPECT_FALSE(sheet.note(12, 5)->visible);
  EXPECT_EQ(sheet.note(12, 5)->author, "");
  // Two comment shapes, the text box, then the boxes in drawing order.
  ASSERT_EQ(sheet.shapes().size(), 5u);
  const model::Shape& question = sheet.shapes()[2];
  EXPECT_EQ(question.kind, model::ShapeKind::TextBox);
  EXPECT_EQ(question.name, "Question");
  EXPECT_EQ(question.text, "Vous voulez créer un nouveau classeur.\nQue faites-vous ?");
  EXPECT_EQ(question.row, 3);
  ASSERT_TRUE(question.extent.has_value());
  EXPECT_DOUBLE_EQ(question.extent->left_offset, 20);
  EXPECT_DOUBLE_EQ(question.extent->width, 420);
  const model::Shape& first = sheet.shapes()[3];
  EXPECT_EQ(first.kind, model::ShapeKind::CheckBox);
  EXPECT_EQ(first.name, "Case à cocher 1");
  EXPECT_EQ(first.text, "Réponse 1");
  EXPECT_EQ(first.value, model::xl::On);
  EXPECT_FALSE(first.locked);
  EXPECT_EQ(first.row, 10);
  ASSERT_TRUE(first.extent.has_value());
  EXPECT_DOUBLE_EQ(first.extent->left_offset, 15);
  EXPECT_DOUBLE_EQ(first.extent->width, 150);
  const model::Shape& second = sheet.shapes()[4];
  EXPECT_EQ(second.name, "Case à cocher 2");
  EXPECT_EQ(second.value, model::xl::Mixed);  // from ctrlProps, the VML saying nothing
  EXPECT_FALSE(second.locked);               // from the sheet's control
  // Protection comes last, so the unlocked boxes went in on a protected sheet.
  EXPECT_TRUE(sheet.protection().contents);
  EXPECT_TRUE(sheet.protection().drawing_objects);
  // The picture has no place in the model; the button neither.
  ASSERT_EQ(report.notes().size(), 1u);
  EXPECT_EQ(report.notes()[0].where, "Feuil1!Image 1");
}

// A VML part that does not parse costs the notes' visibility and the
// captions, not the boxes Excel also lists with their state.
TEST(Drawings, WithoutTheirVmlExcelsBoxesComeFromTheControlList) {
  import::LoadReport report;
  const auto book = load(
      excel_drawing_parts(worksheet("", "<drawing r:id=\"rId3\"/><legacyDrawing r:id=\"rId2\"/><controls>" +
                                            std::string(kSecondBoxControl) + "</controls>"),
                          "<xml><v:shape></xml>"),
      &report);
  const model::Worksheet& sheet = book->sheet(0);
  const model::Shape* box = sheet.find_shape("Case à cocher 2");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->kind, model::ShapeKind::CheckBox);
  EXPECT_EQ(box->value, model::xl::Mixed);
  EXPECT_FALSE(box->locked);
  EXPECT_EQ(box->row, 12);
  EXPECT_EQ(sheet.find_shape("Case à cocher 1"), nullptr);  // listed nowhere but in the VML
  ASSERT_NE(sheet.note(2, 4), nullptr);
  EXPECT_FALSE(sheet.note(2, 4)->visible);
  std::vector<std::string> lost;
  for (const auto& note : report.notes()) lost.push_back(note.what + " " + note.where);
  EXPECT_EQ(lost, (std::vector<std::string>{"drawing xl/drawings/vmlDrawing1.vml", "form control Feuil1!Case à cocher 1",
                                            "shape Feuil1!Image 1"}));
}

// LibreOffice names the VML shape after the control (ID="...") and gives
// the caption as the control's name; Gnumeric gives no names at all.
TEST(Drawings, CheckBoxesAsLibreOfficeAndGnumericLayThemOut) {
  const char* vml = R"(<xml xmlns:v="urn:schemas-microsoft-com:vml" xmlns:x="urn:schemas-microsoft-com:office:excel">
<v:shape id="shape_0" ID="Case à cocher 2" style="position:absolute;width:100.5pt;height:12.75pt"><v:textbox><div>Réponse 2</div></v:textbox>
<x:ClientData ObjectType="Checkbox"><x:Anchor>0, 0, 14, 0, 2, 0, 15, 0</x:Anchor><x:Checked>1</x:Checked></x:ClientData></v:shape>
<v:shape type="#_x0000_t201"><v:textbox><div>Réponse 3</div></v:textbox><x:ClientData ObjectType="Checkbox"><x:Anchor/></x:ClientData></v:shape>
</xml>)";
  const char* drawing = R"(<xdr:wsDr xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing" xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006">
<mc:AlternateContent><mc:Choice Requires="a14"><xdr:twoCellAnchor><xdr:from><xdr:col>0</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>0</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from>
<xdr:sp><xdr:nvSpPr><xdr:cNvPr id="1001" name="Case à cocher 2" descr="Réponse 2"/></xdr:nvSpPr></xdr:sp></xdr:twoCellAnchor></mc:Choice></mc:AlternateContent></xdr:wsDr>)";
  std::string without_comments = kSheetRels;
  without_comments.erase(without_comments.find("<Relationship Id=\"rId1\""),
                         without_comments.find("<Relationship Id=\"rId2\"") - without_comments.find("<Relationship Id=\"rId1\""));
  const auto book = load({{"xl/worksheets/sheet1.xml",
                           worksheet("", "<drawing r:id=\"rId3\"/><legacyDrawing r:id=\"rId2\"/>")},
                          {"xl/worksheets/_rels/sheet1.xml.rels", without_comments},
                          {"xl/drawings/vmlDrawing1.vml", vml},
                          {"xl/drawings/drawing1.xml", drawing}});
  const model::Worksheet& sheet = book->sheet(0);
  ASSERT_EQ(sheet.shapes().size(), 2u);
  EXPECT_EQ(sheet.shapes()[0].name, "Case à cocher 2");
  EXPECT_EQ(sheet.shapes()[0].text, "Réponse 2");
  EXPECT_EQ(sheet.shapes()[0].value, model::xl::On);
  EXPECT_EQ(sheet.shapes()[0].row, 14);
  EXPECT_EQ(sheet.shapes()[1].text, "Réponse 3");
  EXPECT_FALSE(sheet.shapes()[1].name.empty());  // Excel's default name
  EXPECT_EQ(sheet.shapes()[1].value, model::xl::Off);
}

// A drawing part that cannot be read costs its shapes, not the workbook; a
// comments part that cannot be read costs the workbook (the checks need notes).
TEST(Drawings, ADamagedDrawingIsReportedADamagedCommentsPartFails) {
  import::LoadReport report;
  const auto book = load({{"xl/worksheets/sheet1.xml", worksheet("", "<legacyDrawing r:id=\"rId2\"/>")},
                          {"xl/worksheets/_rels/sheet1.xml.rels", kSheetRels},
                          {"xl/comments1.xml", kComments},
                          {"xl/drawings/vmlDrawing1.vml", "<xml><v:shape></xml>"}},
                         &report);
  EXPECT_NE(book->sheet(0).note(2, 4), nullptr);
  ASSERT_EQ(report.notes().size(), 1u);
  EXPECT_EQ(report.notes()[0].where, "xl/drawings/vmlDrawing1.vml");
  try {
    load({{"xl/worksheets/sheet1.xml", worksheet("")},
          {"xl/worksheets/_rels/sheet1.xml.rels", kSheetRels},
          {"xl/comments1.xml", "<comments><commentList><comment ref=\"ZZZ99999\"/></commentList></comments>"}});
    FAIL() << "a note outside the grid was accepted";
  } catch (const import::FileError& error) {
    EXPECT_EQ(error.file(), "Thor International.xls");
    EXPECT_NE(error.problem().find("part 'xl/comments1.xml'"), std::string::npos) << error.problem();
  }
}

}  // namespace
