#include "fuzz/xlsx/parts_package.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "engine/import/file_error.hpp"
#include "engine/xlsx/workbook_file.hpp"

namespace fuzz_xlsx {

namespace {
constexpr std::string_view kMarker = "@@ ";
}

test_support::Parts split_parts(std::span<const std::uint8_t> data) {
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  test_support::Parts parts;
  std::size_t at = text.find(kMarker);
  while (at != std::string_view::npos) {
    const std::size_t name_end = text.find('\n', at);
    if (name_end == std::string_view::npos) break;
    const std::string name(text.substr(at + kMarker.size(), name_end - at - kMarker.size()));
    const std::size_t next = text.find(kMarker, name_end);
    const std::string_view content = text.substr(name_end + 1, next == std::string_view::npos ? next : next - name_end - 1);
    if (!name.empty()) parts[name] = std::string(content.empty() ? " " : content);
    at = next;
  }
  return parts;
}

std::string join_parts(const test_support::Parts& parts) {
  std::string text;
  for (const auto& [name, content] : parts) text += std::string(kMarker) + name + "\n" + content + "\n";
  return text;
}

void load_or_refuse(const std::vector<std::uint8_t>& bytes) {
  try {
    engine::import::LoadReport report;
    engine::xlsx::load_workbook(bytes, "fuzz.xlsx", &report);
  } catch (const engine::import::FileError&) {
  } catch (const std::exception& error) {
    std::fprintf(stderr, "the reader let an exception other than FileError escape: %s\n", error.what());
    std::abort();
  }
}

std::vector<test_support::Parts> seed_parts() {
  using test_support::worksheet;
  const std::string rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments\" "
      "Target=\"../comments1.xml\"/><Relationship Id=\"rId2\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/vmlDrawing\" "
      "Target=\"../drawings/vmlDrawing1.vml\"/><Relationship Id=\"rId3\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing\" "
      "Target=\"../drawings/drawing1.xml\"/></Relationships>";
  return {
      {},
      {{"xl/sharedStrings.xml", "<sst><si><t>España</t></si><si><r><t>Thor</t></r></si></sst>"},
       {"xl/worksheets/sheet1.xml",
        worksheet("<row r=\"1\" outlineLevel=\"1\" hidden=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\"><v>2</v></c>"
                  "<c r=\"C1\"><f t=\"shared\" ref=\"C1:C2\" si=\"0\">B1*2</f><v>4</v></c></row><row r=\"2\" "
                  "collapsed=\"1\"><c r=\"C2\"><f t=\"shared\" si=\"0\"/></c><c r=\"D2\" t=\"e\"><v>#N/A</v></c></row>",
                  "<mergeCells><mergeCell ref=\"A3:B4\"/></mergeCells><sheetProtection sheet=\"1\" objects=\"1\"/>",
                  "<sheetPr><outlinePr summaryBelow=\"0\"/></sheetPr><cols><col min=\"1\" max=\"2\" width=\"12\" "
                  "customWidth=\"1\"/></cols>")}},
      {{"xl/workbook.xml",
        test_support::workbook("<sheet name=\"Trimestre 1\" sheetId=\"1\" r:id=\"rId1\" state=\"hidden\"/>",
                               "<definedNames><definedName name=\"Zone\">'Trimestre 1'!$C$4:$C$8</definedName>"
                               "<definedName name=\"Z_AB_.wvu.Rows\" localSheetId=\"0\">'Trimestre 1'!$2:$3</definedName>"
                               "</definedNames><customWorkbookViews><customWorkbookView name=\"123\" guid=\"{AB}\"/>"
                               "</customWorkbookViews>",
                               "<workbookProtection lockStructure=\"1\"/><bookViews><workbookView "
                               "visibility=\"hidden\"/></bookViews>")},
       {"xl/styles.xml",
        "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"0.0\"/></numFmts><fonts><font><b/><color "
        "theme=\"4\" tint=\"0.5\"/></font></fonts><fills><fill><patternFill patternType=\"solid\"><fgColor "
        "rgb=\"FF993300\"/></patternFill></fill></fills><cellStyleXfs><xf/><xf fontId=\"0\"/></cellStyleXfs>"
        "<cellXfs><xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" xfId=\"1\"><alignment horizontal=\"center\"/>"
        "</xf></cellXfs><cellStyles><cellStyle name=\"Titre bleu\" xfId=\"1\"/></cellStyles></styleSheet>"}},
      {{"xl/worksheets/sheet1.xml",
        worksheet("", "<customSheetViews><customSheetView guid=\"{AB}\" scale=\"110\"/></customSheetViews>"
                      "<drawing r:id=\"rId3\"/><legacyDrawing r:id=\"rId2\"/>")},
       {"xl/worksheets/_rels/sheet1.xml.rels", rels},
       {"xl/comments1.xml", "<comments><authors><author>Thor</author></authors><commentList><comment ref=\"E3\" "
                            "authorId=\"0\"><text><t>Ne pas supprimer</t></text></comment></commentList></comments>"},
       {"xl/drawings/vmlDrawing1.vml",
        "<xml xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\">"
        "<v:shape id=\"_x0000_s1025\" style=\"width:150pt;height:18pt\"><v:textbox><div>Réponse 1</div></v:textbox>"
        "<x:ClientData ObjectType=\"Checkbox\"><x:Anchor>0, 0, 10, 0, 3, 0, 11, 0</x:Anchor><x:Checked>1</x:Checked>"
        "</x:ClientData></v:shape><v:shape><x:ClientData ObjectType=\"Note\"><x:Row>2</x:Row><x:Column>4</x:Column>"
        "<x:Visible/></x:ClientData></v:shape></xml>"},
       {"xl/drawings/drawing1.xml",
        "<wsDr><twoCellAnchor><from><col>0</col><colOff>0</colOff><row>3</row><rowOff>0</rowOff></from><sp><nvSpPr>"
        "<cNvPr id=\"2\" name=\"Question\"/></nvSpPr><spPr><xfrm><ext cx=\"100000\" cy=\"100000\"/></xfrm></spPr>"
        "<txBody><p><r><t>Que faites-vous ?</t></r></p></txBody></sp></twoCellAnchor><AlternateContent><Choice>"
        "<twoCellAnchor><from><col>0</col><colOff>0</colOff><row>10</row><rowOff>0</rowOff></from><sp><nvSpPr>"
        "<cNvPr id=\"1025\" name=\"Case à cocher 1\"/></nvSpPr></sp></twoCellAnchor></Choice></AlternateContent>"
        "</wsDr>"}},
  };
}

}  // namespace fuzz_xlsx
