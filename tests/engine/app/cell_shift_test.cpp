// Insert and Delete over part of a sheet: the cells beside the range move,
// the references to them follow, and what would damage the sheet is refused.
#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
namespace xl = platform::excel;

class CellShiftTest : public SheetTest {
 protected:
  // A1:C6 numbered 11, 12, 13 / 21, 22, 23 ...; E1 sums column B.
  CellShiftTest() {
    for (int row = 0; row < 6; ++row) {
      for (int column = 0; column < 3; ++column) sheet().set_value(row, column, (row + 1) * 10.0 + column + 1);
    }
    range("E1")->put("Formula", "=SUM(B1:B6)");
    range("E2")->put("Formula", "=B5+D5");
    range("E3")->put("Formula", "=A5:C5");
  }
  double number(const char* cell) { return com::cdbl(value(cell)); }
};

TEST_F(CellShiftTest, InsertShiftDownMovesOnlyTheRangesColumns) {
  range("A5:C5")->call("Insert", {Variant(xl::xlShiftDown)});
  EXPECT_TRUE(value("A5").is_empty());
  EXPECT_EQ(number("A6"), 51.0);
  EXPECT_EQ(number("C7"), 63.0);
  EXPECT_EQ(number("E1"), 12 + 22 + 32 + 42 + 52 + 62.0);
  // The cells of column D and beyond stay; references into the moved
  // columns follow them, references reaching past the band do not.
  EXPECT_EQ(range("E1")->get("Formula"), Variant("=SUM(B1:B7)"));
  EXPECT_EQ(range("E2")->get("Formula"), Variant("=B6+D5"));
  EXPECT_EQ(range("E3")->get("Formula"), Variant("=A6:C6"));
}

TEST_F(CellShiftTest, DeleteShiftUpClosesTheGapAndDeletedCellsBecomeRefErrors) {
  range("B5")->put("Formula", "=B4+1");
  range("A4:B4")->call("Delete", {Variant(xl::xlShiftUp)});
  EXPECT_EQ(number("A4"), 51.0);
  EXPECT_EQ(number("C4"), 43.0);
  EXPECT_EQ(range("B4")->get("Formula"), Variant("=#REF!+1"));
  EXPECT_EQ(range("E1")->get("Formula"), Variant("=SUM(B1:B5)"));
  EXPECT_TRUE(value("A6").is_empty());
  EXPECT_EQ(number("C6"), 63.0);
}

TEST_F(CellShiftTest, ShiftToRightAndToLeftMoveAlongTheRows) {
  range("A2:A3")->call("Insert", {Variant(xl::xlShiftToRight)});
  EXPECT_TRUE(value("A2").is_empty());
  EXPECT_EQ(number("B2"), 21.0);
  EXPECT_EQ(number("D3"), 33.0);
  EXPECT_EQ(number("A4"), 41.0);
  // Row 1 lies outside the band: E1 and what it reads stay.
  EXPECT_EQ(range("E1")->get("Formula"), Variant("=SUM(B1:B6)"));
  range("A2:A3")->call("Delete", {Variant(xl::xlShiftToLeft)});
  EXPECT_EQ(number("A2"), 21.0);
  EXPECT_EQ(number("C3"), 33.0);
}

TEST_F(CellShiftTest, WithoutShiftTheRangesShapeDecides) {
  range("A5:C5")->call("Insert");  // wider than tall: down
  EXPECT_EQ(number("B6"), 52.0);
  range("A1:A2")->call("Delete");  // taller than wide: left
  EXPECT_EQ(number("A1"), 12.0);
  EXPECT_EQ(number("A3"), 31.0);
}

TEST_F(CellShiftTest, NotesAndFormatsTravelWithTheirCells) {
  range("B6")->call("AddComment", {Variant("note")});
  range("B6")->put("NumberFormat", "0.00");
  range("B2")->call("Insert", {Variant(xl::xlShiftDown)});
  EXPECT_EQ(range("B7")->get("NoteText"), Variant("note"));
  EXPECT_EQ(range("B7")->get("NumberFormat"), Variant("0.00"));
  EXPECT_EQ(range("B6")->get("NoteText"), Variant(""));
  range("B7")->call("Delete", {Variant(xl::xlShiftUp)});
  EXPECT_EQ(obj(ws->get("Shapes"))->get("Count"), Variant(0));
}

TEST_F(CellShiftTest, RefusalsLeaveTheSheetAsItWas) {
  range("A1")->call("Insert", {Variant(xl::xlShiftDown)});
  range("B8:C8")->put("MergeCells", true);
  EXPECT_EQ(error_of([&] { range("A5:B5")->call("Insert", {Variant(xl::xlShiftDown)}); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { range("A5")->call("Insert", {Variant(3)}); }), com::err::ApplicationDefined);
  sheet().set_value(65535, 0, 1.0);
  EXPECT_EQ(error_of([&] { range("A2")->call("Insert", {Variant(xl::xlShiftDown)}); }), com::err::ApplicationDefined);
  ws->call("Protect");
  EXPECT_EQ(error_of([&] { range("F1")->call("Delete", {Variant(xl::xlShiftUp)}); }), com::err::ApplicationDefined);
  EXPECT_EQ(number("A2"), 11.0);
  EXPECT_EQ(number("B6"), 62.0);
  EXPECT_EQ(range("E1")->get("Formula"), Variant("=SUM(B1:B6)"));
}

}  // namespace
}  // namespace engine::app::testing
