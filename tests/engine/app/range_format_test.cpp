// Range formats, Font and Interior: what the header check reads, Null over
// mixed cells, refusals, and writes that share formats.
#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;
namespace xl = platform::excel;
using com::CallKind;

using RangeFormatTest = SheetTest;

Variant get_by_id(const std::shared_ptr<Dispatch>& object, com::DispId id) { return object->invoke(id, CallKind::Get); }

TEST_F(RangeFormatTest, HeaderCellReadsItsThirteenPropertiesByDispid) {
  auto b3 = range("B3");
  b3->put("HorizontalAlignment", xl::xlCenter);
  auto interior = obj(b3->get("Interior"));
  interior->put("ColorIndex", 47);
  interior->put("PatternColorIndex", 17);
  EXPECT_EQ(get_by_id(b3, dispid::NumberFormat), Variant("General"));
  EXPECT_EQ(get_by_id(b3, dispid::HorizontalAlignment), Variant(xl::xlCenter));
  EXPECT_EQ(get_by_id(b3, dispid::VerticalAlignment), Variant(xl::xlBottom));
  EXPECT_EQ(get_by_id(b3, dispid::WrapText), Variant(false));
  EXPECT_EQ(get_by_id(b3, dispid::Orientation), Variant(xl::xlHorizontal));
  EXPECT_EQ(get_by_id(b3, dispid::AddIndent), Variant(false));
  EXPECT_EQ(get_by_id(b3, dispid::IndentLevel), Variant(0));
  EXPECT_EQ(get_by_id(b3, dispid::ShrinkToFit), Variant(false));
  EXPECT_EQ(get_by_id(b3, dispid::ReadingOrder), Variant(xl::xlContext));
  EXPECT_EQ(get_by_id(b3, dispid::MergeCells), Variant(false));
  auto fill = obj(get_by_id(b3, dispid::Interior));
  EXPECT_EQ(get_by_id(fill, dispid::ColorIndex), Variant(47));
  // A colour given to a cell without fill makes it solid, as in Excel.
  EXPECT_EQ(get_by_id(fill, dispid::Pattern), Variant(xl::xlSolid));
  EXPECT_EQ(get_by_id(fill, dispid::PatternColorIndex), Variant(17));
}

TEST_F(RangeFormatTest, MixedCellsReadNullAndUniformOnesTheirValue) {
  range("B3:D3")->put("HorizontalAlignment", xl::xlCenter);
  EXPECT_EQ(range("B3:D3")->get("HorizontalAlignment"), Variant(xl::xlCenter));
  range("C3")->put("HorizontalAlignment", xl::xlLeft);
  EXPECT_TRUE(range("B3:D3")->get("HorizontalAlignment").is_null());
  // A whole column is judged without visiting its cells one by one.
  EXPECT_EQ(range("E:E")->get("WrapText"), Variant(false));
  range("E40000")->put("WrapText", true);
  EXPECT_TRUE(range("E:E")->get("WrapText").is_null());
  range("F:F")->put("NumberFormat", "0.00");
  EXPECT_EQ(range("F:F")->get("NumberFormat"), Variant("0.00"));
  EXPECT_EQ(range("F12")->get("NumberFormat"), Variant("0.00"));
  EXPECT_TRUE(range("E1:F1")->get("NumberFormat").is_null());
}

TEST_F(RangeFormatTest, NumberFormatsAreKeptByteForByte) {
  for (const char* code : {"@\"-52\"", "@-\"52\"", "@", "General", "00000000", "#,##0.00 \"€\""}) {
    range("D1")->put("NumberFormat", code);
    EXPECT_EQ(range("D1")->invoke(dispid::NumberFormat, CallKind::Get), Variant(code));
  }
}

TEST_F(RangeFormatTest, ValuesExcelRefusesChangeNothing) {
  range("A1:B2")->put("HorizontalAlignment", xl::xlRight);
  EXPECT_EQ(error_of([&] { range("A1:B2")->put("HorizontalAlignment", 12345); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { range("A1")->put("IndentLevel", 16); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { obj(range("A1")->get("Interior"))->put("ColorIndex", 57); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { obj(range("A1")->get("Font"))->put("Size", 0.0); }), com::err::ApplicationDefined);
  EXPECT_EQ(range("A1:B2")->get("HorizontalAlignment"), Variant(xl::xlRight));
  EXPECT_EQ(error_of([&] { range("A1")->put("HorizontalAlignment", "centre"); }), com::err::TypeMismatch);
}

TEST_F(RangeFormatTest, WritesShareOneFormatRecord) {
  const std::size_t before = book->formats().size();
  range("A1:J200")->put("WrapText", true);
  range("A1:J200")->put("WrapText", false);
  EXPECT_LE(book->formats().size(), before + 1);
  EXPECT_EQ(range("A1:J200")->get("WrapText"), Variant(false));
}

TEST_F(RangeFormatTest, FontPropertiesReadNullWhenMixed) {
  auto font = obj(range("A1:B1")->invoke(dispid::Font, CallKind::Get));
  Variant bold[] = {Variant(true)};
  font->invoke(dispid::Bold, CallKind::Put, bold);
  font->put("Italic", true);
  font->put("ColorIndex", 55);
  EXPECT_EQ(get_by_id(font, dispid::Bold), Variant(true));
  EXPECT_EQ(get_by_id(font, dispid::ColorIndex), Variant(55));
  obj(range("B1")->get("Font"))->put("Bold", false);
  EXPECT_TRUE(font->get("Bold").is_null());
  EXPECT_EQ(font->get("Italic"), Variant(true));
  font->put("Underline", true);
  EXPECT_EQ(font->get("Underline"), Variant(std::int32_t{2}));
  // The palette's red, as Excel's Color (red in the low byte).
  font->put("Color", 0x0000FF);
  EXPECT_EQ(font->get("ColorIndex"), Variant(3));
  EXPECT_EQ(font->get("Color"), Variant(0x0000FF));
}

TEST_F(RangeFormatTest, InteriorNoneClearsTheFill) {
  auto fill = obj(range("C5")->get("Interior"));
  EXPECT_EQ(fill->get("ColorIndex"), Variant(xl::xlNone));
  fill->put("ColorIndex", 6);
  fill->put("ColorIndex", xl::xlNone);
  EXPECT_EQ(fill->get("Pattern"), Variant(xl::xlNone));
  EXPECT_EQ(fill->get("Color"), Variant(0xFFFFFF));
}

TEST_F(RangeFormatTest, MergeCellsReadsTrueFalseOrNull) {
  range("D3:E3")->put("MergeCells", true);
  EXPECT_EQ(range("D3:E3")->get("MergeCells"), Variant(true));
  EXPECT_EQ(range("D3")->get("MergeCells"), Variant(true));
  EXPECT_TRUE(range("C3:D3")->get("MergeCells").is_null());
  EXPECT_EQ(range("B3")->get("MergeCells"), Variant(false));
  EXPECT_EQ(error_of([&] { range("E3:F3")->call("Merge"); }), com::err::ApplicationDefined);
  range("E3")->call("UnMerge");
  EXPECT_EQ(range("D3:E3")->get("MergeCells"), Variant(false));
}

TEST_F(RangeFormatTest, StyleByNameReadsBackAsTheStyleObject) {
  book->styles().add("Titre bleu", book->styles().get("Normal").format);
  range("A1:B2")->put("Style", "titre bleu");
  auto style = obj(range("A1:B2")->get("Style"));
  EXPECT_EQ(style->get("Name"), Variant("Titre bleu"));
  EXPECT_EQ(com::cstr(range("A1")->get("Style")), "Titre bleu");
  EXPECT_TRUE(range("A1:C1")->get("Style").is_null());
  EXPECT_EQ(com::cstr(range("C1")->get("Style")), "Normal");
  EXPECT_EQ(error_of([&] { range("A1")->put("Style", "Nope"); }), com::err::SubscriptOutOfRange);
}

// Excel keeps a cell's link to its style: changing the style reformats its
// cells, except in the parts (font, number format, fill...) a cell set itself.
TEST_F(RangeFormatTest, StyleChangesReachItsCellsUnlessTheyOverrideThatPart) {
  auto styles = obj(obj(ws->get("Parent"))->get("Styles"));
  auto titre = obj(styles->call("Add", {Variant("Titre bleu")}));
  range("A1:A3")->put("Style", "Titre bleu");
  range("A2")->put("NumberFormat", "0.00");
  obj(range("A3")->get("Font"))->put("Italic", true);

  obj(titre->get("Font"))->put("ColorIndex", 55);
  obj(titre->get("Font"))->put("Bold", true);
  titre->put("NumberFormat", "@");
  obj(titre->get("Interior"))->put("ColorIndex", 6);

  EXPECT_EQ(obj(range("A1:A2")->get("Font"))->get("ColorIndex"), Variant(55));
  EXPECT_EQ(obj(range("A1:A2")->get("Font"))->get("Bold"), Variant(true));
  EXPECT_EQ(range("A1")->get("NumberFormat"), Variant("@"));
  EXPECT_EQ(range("A2")->get("NumberFormat"), Variant("0.00"));
  EXPECT_EQ(obj(range("A1:A3")->get("Interior"))->get("ColorIndex"), Variant(6));
  // A3 set its own font, so the style's font no longer reaches it.
  EXPECT_EQ(obj(range("A3")->get("Font"))->get("ColorIndex"), Variant(xl::xlAutomatic));
  EXPECT_EQ(obj(range("A3")->get("Font"))->get("Italic"), Variant(true));
  // Cells of another style are untouched.
  EXPECT_EQ(obj(range("B1")->get("Font"))->get("Bold"), Variant(false));
  EXPECT_EQ(com::cstr(range("A1")->get("Style")), "Titre bleu");
}

TEST_F(RangeFormatTest, NormalStyleReachesEveryUnformattedCellAndDeletedStylesFallBackToNormal) {
  auto styles = obj(obj(ws->get("Parent"))->get("Styles"));
  auto titre = obj(styles->call("Add", {Variant("Titre bleu")}));
  obj(titre->get("Font"))->put("Bold", true);
  range("C3")->put("Style", "Titre bleu");
  range("D4")->put("Value", 12);
  obj(obj(styles->get("Item", {Variant("Normal")}))->get("Font"))->put("Size", 12);
  EXPECT_EQ(obj(range("A1:B4")->get("Font"))->get("Size"), Variant(12.0));
  EXPECT_EQ(obj(range("D4")->get("Font"))->get("Size"), Variant(12.0));
  EXPECT_EQ(obj(range("IV65536")->get("Font"))->get("Size"), Variant(12.0));
  // A style keeps its own font: it copied Normal's when it was made.
  EXPECT_EQ(obj(range("C3")->get("Font"))->get("Size"), Variant(10.0));

  titre->call("Delete");
  EXPECT_EQ(com::cstr(range("C3")->get("Style")), "Normal");
  EXPECT_EQ(obj(range("C3")->get("Font"))->get("Bold"), Variant(false));
  EXPECT_EQ(error_of([&] { styles->get("Item", {Variant("Titre bleu")}); }), com::err::SubscriptOutOfRange);
}

TEST_F(RangeFormatTest, ProtectedSheetRefusesFormattingLockedCells) {
  range("B2")->put("Locked", false);
  ws->call("Protect");
  range("B2")->put("WrapText", true);
  EXPECT_EQ(error_of([&] { range("A1:B2")->put("WrapText", true); }), com::err::ApplicationDefined);
  EXPECT_EQ(range("A1")->get("WrapText"), Variant(false));
  EXPECT_EQ(error_of([&] { range("A1")->put("Locked", false); }), com::err::ApplicationDefined);
}

}  // namespace
}  // namespace engine::app::testing
