// What the macro recorder writes for a trainee's menu and mouse actions:
// formulas in R1C1, one formula typed into a block, names defined in R1C1,
// copy mode, Edit Paste, and the dialog options held at Excel's defaults.
#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;

class RecordedActionsTest : public SheetTest {
 protected:
  RecordedActionsTest() { ws->call("Activate"); }
  Variant formula(const std::string& cell) { return range(cell)->get("Formula"); }
  Variant r1c1(const std::string& cell) { return range(cell)->get("FormulaR1C1"); }
};

TEST_F(RecordedActionsTest, FormulaR1C1IsReadAndWrittenRelativeToTheCell) {
  range("A2")->put("FormulaR1C1", Variant("=AVERAGE(R[2]C[1]:R[2]C[3],R[4]C[1]:R[4]C[3])"));
  EXPECT_EQ(formula("A2"), Variant("=AVERAGE(B4:D4,B6:D6)"));
  EXPECT_EQ(r1c1("A2"), Variant("=AVERAGE(R[2]C[1]:R[2]C[3],R[4]C[1]:R[4]C[3])"));
  range("C3")->put("FormulaR1C1", Variant("=R1C1+RC[-1]*R[-1]C"));
  EXPECT_EQ(formula("C3"), Variant("=$A$1+B3*C2"));
  EXPECT_EQ(r1c1("C3"), Variant("=R1C1+RC[-1]*R[-1]C"));
  // Text, sheet names and functions that look like references stay as written.
  range("D4")->put("FormulaR1C1", Variant("=\"RC[1]\"&LOG10(R2C)&'Trimestre 1'!R[-1]C"));
  EXPECT_EQ(formula("D4"), Variant("=\"RC[1]\"&LOG10(D$2)&'Trimestre 1'!D3"));
  EXPECT_EQ(r1c1("D4"), Variant("=\"RC[1]\"&LOG10(R2C)&'Trimestre 1'!R[-1]C"));
  // Constants go in as typed; a reference above row 1 is refused.
  range("E1")->put("FormulaR1C1", Variant("'09854895"));
  EXPECT_EQ(r1c1("E1"), Variant("09854895"));
  EXPECT_EQ(error_of([&] { range("A1")->put("FormulaR1C1", Variant("=R[-1]C")); }), 1004);
  EXPECT_EQ(formula("A1"), Variant(""));
}

TEST_F(RecordedActionsTest, FormulaR1C1ReadsAndWritesWholeRowsAndColumns) {
  range("B2")->put("Formula", Variant("=SUM(A:A)+SUM($A:$A)+SUM(1:1)+SUM($3:$3)+SUM(B:B)+SUM(A:C)+SUM($1:$4)"));
  EXPECT_EQ(r1c1("B2"), Variant("=SUM(C[-1])+SUM(C1)+SUM(R[-1])+SUM(R3)+SUM(C)+SUM(C[-1]:C[1])+SUM(R1:R4)"));
  // Written back the same, a line alone becomes a whole line.
  range("B2")->put("FormulaR1C1", Variant("=SUM(C[-1])+SUM(C1)+SUM(R[-1])+SUM(R3)+SUM(C)+SUM(C[-1]:C[1])+SUM(R1:R4)"));
  EXPECT_EQ(formula("B2"), Variant("=SUM(A:A)+SUM($A:$A)+SUM(1:1)+SUM($3:$3)+SUM(B:B)+SUM(A:C)+SUM($1:$4)"));
  range("D5")->put("FormulaR1C1", Variant("='Trimestre 1'!C2*COUNT(R[1]:R[2])"));
  EXPECT_EQ(formula("D5"), Variant("='Trimestre 1'!$B:$B*COUNT(6:7)"));
  EXPECT_EQ(r1c1("D5"), Variant("='Trimestre 1'!C2*COUNT(R[1]:R[2])"));
  // Off the grid is refused, as for cells.
  EXPECT_EQ(error_of([&] { range("A1")->put("FormulaR1C1", Variant("=SUM(C[-1])")); }), 1004);
}

TEST_F(RecordedActionsTest, AFormulaTypedIntoABlockMovesWithEachCell) {
  range("A2:A5")->put("Formula", Variant("=A1+1"));
  EXPECT_EQ(formula("A2"), Variant("=A1+1"));
  EXPECT_EQ(formula("A3"), Variant("=A2+1"));
  EXPECT_EQ(formula("A5"), Variant("=A4+1"));
  range("B1")->put("Value", Variant(10));
  range("C1:D2")->put("Formula", Variant("=$B$1+B1"));
  EXPECT_EQ(formula("D2"), Variant("=$B$1+C2"));
  range("E1:E3")->put("FormulaR1C1", Variant("=RC[-4]*2"));
  EXPECT_EQ(formula("E3"), Variant("=A3*2"));
  // Every cell of the block reads the same in R1C1, as the recorder wrote it.
  const Variant read = range("E1:E3")->get("FormulaR1C1");
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(read.array_value().at(row, 1), Variant("=RC[-4]*2"));
  // A constant still fills every cell as it is.
  range("F1:F2")->put("Formula", Variant("x"));
  EXPECT_EQ(formula("F2"), Variant("x"));
}

TEST_F(RecordedActionsTest, SelectionAndActiveCellFollowSelectAndOffset) {
  range("B3:C4")->call("Select");
  EXPECT_EQ(obj(app->get("Selection"))->get("Address"), Variant("$B$3:$C$4"));
  EXPECT_EQ(obj(app->get("ActiveCell"))->get("Address"), Variant("$B$3"));
  obj(obj(app->get("ActiveCell"))->get("Offset", {Variant(1), Variant(0)}))->call("Select");
  EXPECT_EQ(obj(app->get("ActiveCell"))->get("Address"), Variant("$B$4"));
  obj(app->get("ActiveCell"))->put("FormulaR1C1", Variant("=R[-1]C"));
  EXPECT_EQ(formula("B4"), Variant("=B3"));
}

TEST_F(RecordedActionsTest, CopyModeEndsWithCutCopyModeFalseAndEditPasteUsesTheSelection) {
  range("A1")->put("Value", Variant(7));
  range("A2")->put("Formula", Variant("=A1*2"));
  EXPECT_EQ(app->get("CutCopyMode"), Variant(false));
  range("A1:A2")->call("Copy");
  EXPECT_EQ(app->get("CutCopyMode"), Variant(std::int32_t{1}));  // xlCopy
  range("C5")->call("Select");
  ws->call("Paste");
  EXPECT_EQ(value("C5"), Variant(7.0));
  EXPECT_EQ(formula("C6"), Variant("=C5*2"));
  EXPECT_EQ(obj(app->get("Selection"))->get("Address"), Variant("$C$5:$C$6"));
  app->put("CutCopyMode", Variant(false));
  EXPECT_EQ(app->get("CutCopyMode"), Variant(false));
  EXPECT_EQ(error_of([&] { ws->call("Paste"); }), 1004);
}

TEST_F(RecordedActionsTest, NamesDefinedInR1C1ReferToTheSameCells) {
  const auto names = obj(app->get("ActiveWorkbook"))->get("Names");
  std::vector<Variant> args(10, Variant::missing());
  args[0] = Variant("Zone");
  args[9] = Variant("='Trimestre 1'!R4C3:R7C3");
  obj(names)->invoke("Add", com::CallKind::Method, args);
  EXPECT_EQ(obj(obj(names)->get("Item", {Variant("Zone")}))->get("RefersTo"), Variant("='Trimestre 1'!$C$4:$C$7"));
  std::vector<Variant> neither(1, Variant("Rien"));
  EXPECT_EQ(error_of([&] { obj(names)->invoke("Add", com::CallKind::Method, neither); }), 449);
}

TEST_F(RecordedActionsTest, DialogOptionsHeldAtExcelsDefaultsAreAcceptedAndOthersRefused) {
  const auto font = obj(range("A1")->get("Font"));
  font->put("Shadow", Variant(false));
  font->put("Superscript", Variant(false));
  EXPECT_EQ(font->get("OutlineFont"), Variant(false));
  EXPECT_EQ(error_of([&] { font->put("Shadow", Variant(true)); }), 1004);
  font->put("Underline", Variant(platform::excel::xlUnderlineStyleNone));
  const auto workbook = obj(app->get("ActiveWorkbook"));
  const auto style = obj(obj(workbook->get("Styles"))->call("Add", {Variant("Titre bleu")}));
  style->put("IncludeFont", Variant(true));
  EXPECT_EQ(style->get("IncludeNumber"), Variant(true));
  EXPECT_EQ(error_of([&] { style->put("IncludeBorder", Variant(false)); }), 1004);
  // Page Setup: margins as the dialog records them, the options it sets.
  const auto setup = obj(ws->get("PageSetup"));
  setup->put("LeftMargin", app->call("InchesToPoints", {Variant(0.5)}));
  EXPECT_EQ(setup->get("LeftMargin"), Variant(36.0));
  EXPECT_EQ(app->call("CentimetersToPoints", {Variant(2.54)}), Variant(72.0));
  setup->put("PrintTitleRows", Variant(""));
  setup->put("Order", Variant(platform::excel::xlDownThenOver));
  setup->put("PrintQuality", Variant(300));
  EXPECT_EQ(setup->get("PrintComments"), Variant(platform::excel::xlPrintNoComments));
  EXPECT_EQ(error_of([&] { setup->put("PrintTitleRows", Variant("$1:$3")); }), 1004);
  EXPECT_EQ(error_of([&] { setup->put("BlackAndWhite", Variant(true)); }), 1004);
}

}  // namespace
}  // namespace engine::app::testing
