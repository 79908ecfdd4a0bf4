// What the recorder writes for a Forms check box (drawn, then Format
// Control) and for Data, Filter, AutoFilter, run as statements on the
// application; and the linked cell a check box keeps in step with it.
#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "platform/script/script.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace xl = platform::excel;

class RecordedControlsTest : public SheetTest {
 protected:
  RecordedControlsTest() { ws->call("Activate"); }
  void run(const std::string& source) {
    platform::script::run(platform::script::parse(source, "Module1.bas"), Variant(app));
  }
  std::shared_ptr<Dispatch> box(const std::string& name) { return obj(ws->call("CheckBoxes", {Variant(name)})); }
  Variant box_value(const std::string& name) { return box(name)->get("Value"); }
};

TEST_F(RecordedControlsTest, ADrawnCheckBoxFormattedWithALinkedCell) {
  run("Sub Macro1()\n"
      "    ActiveSheet.CheckBoxes.Add(192, 51, 24, 17.25).Select\n"
      "    With Selection\n"
      "        .Value = xlOn\n"
      "        .LinkedCell = \"$B$3\"\n"
      "        .Display3DShading = False\n"
      "    End With\n"
      "End Sub\n"
      "Macro1\n");
  const std::string name =
      platform::com::cstr(obj(obj(ws->get("Shapes"))->get("Item", {Variant(1)}))->get("Name"));
  EXPECT_EQ(name, "Case à cocher 1");
  EXPECT_EQ(value("B3"), Variant(true));
  EXPECT_EQ(box(name)->get("LinkedCell"), Variant("$B$3"));
  EXPECT_EQ(box(name)->get("Display3DShading"), Variant(false));
  box(name)->put("Display3DShading", Variant(true));
  EXPECT_EQ(box(name)->get("Display3DShading"), Variant(true));
  EXPECT_EQ(box(name)->get("Left"), Variant(192.0));
}

TEST_F(RecordedControlsTest, TheLinkedCellFollowsTheBoxAndTheBoxItsCell) {
  run("ActiveSheet.CheckBoxes.Add(10, 10, 80, 18).Name = \"Choix\"\n"
      "ActiveSheet.CheckBoxes(\"Choix\").LinkedCell = \"B3\"\n");
  // Linking writes the box's state at once.
  EXPECT_EQ(value("B3"), Variant(false));
  box("Choix")->put("Value", Variant(xl::xlOn));
  EXPECT_EQ(value("B3"), Variant(true));
  box("Choix")->put("Value", Variant(xl::xlMixed));
  EXPECT_EQ(value("B3").type(), platform::com::VarType::Error);
  struct Case {
    Variant typed;
    std::int32_t state;
  };
  for (const Case& c : {Case{Variant(true), xl::xlOn}, Case{Variant(0), xl::xlOff}, Case{Variant(3), xl::xlOn},
                        Case{Variant("=1=1"), xl::xlOn}, Case{Variant("non"), xl::xlMixed},
                        Case{Variant(""), xl::xlOff}}) {
    range("B3")->put("Value", c.typed);
    EXPECT_EQ(box_value("Choix"), Variant(c.state)) << platform::com::cstr(c.typed);
  }
  // The cell changes through a formula reading another cell too.
  range("B3")->put("Formula", Variant("=C1>5"));
  range("C1")->put("Value", Variant(9));
  EXPECT_EQ(box_value("Choix"), Variant(xl::xlOn));
  // Unlinked, the box keeps the state it showed and the cell its value.
  box("Choix")->put("LinkedCell", Variant(""));
  EXPECT_EQ(box("Choix")->get("LinkedCell"), Variant(""));
  range("C1")->put("Value", Variant(1));
  EXPECT_EQ(box_value("Choix"), Variant(xl::xlOn));
  EXPECT_EQ(value("B3"), Variant(false));
}

TEST_F(RecordedControlsTest, LinksReachOtherSheetsAndRefuseWhatIsNoCell) {
  run("ActiveSheet.CheckBoxes.Add(10, 10, 80, 18).Name = \"Choix\"\n");
  box("Choix")->put("LinkedCell", Variant("Feuil2!$C$1"));
  EXPECT_EQ(box("Choix")->get("LinkedCell"), Variant("Feuil2!$C$1"));
  EXPECT_EQ(book->sheet(1).value(0, 2), formula::Value(false));
  for (const char* refused : {"A1:B2", "Nulle part!A1", "3:3", "pas une cellule"}) {
    EXPECT_EQ(error_of([&] { box("Choix")->put("LinkedCell", Variant(refused)); }), 1004) << refused;
  }
  EXPECT_EQ(box("Choix")->get("LinkedCell"), Variant("Feuil2!$C$1"));
}

TEST_F(RecordedControlsTest, ACopiedSheetsBoxFollowsTheCopysCell) {
  run("ActiveSheet.CheckBoxes.Add(10, 10, 80, 18).Name = \"Choix\"\n"
      "ActiveSheet.CheckBoxes(\"Choix\").LinkedCell = \"$B$3\"\n"
      "ActiveSheet.CheckBoxes(\"Choix\").Value = xlOn\n"
      "ActiveSheet.Copy After:=Sheets(2)\n");
  const auto copy = obj(app->get("ActiveSheet"));
  const auto copied_box = obj(copy->call("CheckBoxes", {Variant("Choix")}));
  EXPECT_EQ(copied_box->get("Value"), Variant(xl::xlOn));
  obj(copy->get("Range", {Variant("B3")}))->put("Value", Variant(false));
  EXPECT_EQ(copied_box->get("Value"), Variant(xl::xlOff));
  EXPECT_EQ(box_value("Choix"), Variant(xl::xlOn));
}

TEST_F(RecordedControlsTest, ABoxLinkedToALockedCellOfAProtectedSheetKeepsItsState) {
  run("ActiveSheet.CheckBoxes.Add(10, 10, 80, 18).Name = \"Choix\"\n"
      "ActiveSheet.CheckBoxes(\"Choix\").LinkedCell = \"$B$3\"\n"
      "ActiveSheet.Shapes(\"Choix\").Locked = False\n"
      "ActiveSheet.Protect\n");
  EXPECT_EQ(error_of([&] { box("Choix")->put("Value", Variant(xl::xlOn)); }), 1004);
  EXPECT_EQ(box_value("Choix"), Variant(xl::xlOff));
  EXPECT_EQ(value("B3"), Variant(false));
}

TEST_F(RecordedControlsTest, RecordedAutoFilterStatementsRun) {
  run("Range(\"A1\").Value = \"Ville\"\nRange(\"A2\").Value = \"Paris\"\nRange(\"A3\").Value = \"Lyon\"\n"
      "Range(\"A4\").Value = \"Nice\"\nRange(\"A6\").Formula = \"=SUBTOTAL(3,A2:A4)\"\n"
      "Sub Macro1()\n"
      "    Range(\"A1\").Select\n"
      "    Selection.AutoFilter\n"
      "    Selection.AutoFilter Field:=1, Criteria1:=\"=Paris\", Operator:=xlOr, _\n"
      "        Criteria2:=\"=Lyon\"\n"
      "End Sub\n"
      "Macro1\n");
  EXPECT_EQ(value("A6"), Variant(2.0));
  EXPECT_EQ(range("4:4")->get("Hidden"), Variant(true));
  run("ActiveSheet.ShowAllData\n");
  EXPECT_EQ(value("A6"), Variant(3.0));
  run("Selection.AutoFilter Field:=1, Criteria1:=\"1\", Operator:=xlTop10Items\nActiveSheet.AutoFilterMode = False\n");
  EXPECT_EQ(ws->get("AutoFilterMode"), Variant(false));
}

}  // namespace
}  // namespace engine::app::testing
