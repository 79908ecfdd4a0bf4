// The built exercise files hold what their questions' pre-check and check
// read, opened in the stand-in as the module opens them.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "engine/xls/workbook_file.hpp"
#include "platform/com/convert.hpp"
#include "tests/exercises/exercise_world.hpp"

namespace exercises::testing {
namespace {

namespace com = platform::com;

const std::string kNote = "Ne pas supprimer ce commentaire. Merci !";

std::string text(ExerciseWorld& w, const std::string& expression) { return com::cstr(w.read(expression)); }
double number(ExerciseWorld& w, const std::string& expression) { return com::cdbl(w.read(expression)); }

// The chapter's table on `sheet` (an expression for the sheet object).
void expect_table(ExerciseWorld& w, const std::string& sheet) {
  const auto at = [&](const char* address, const char* member = "Value") {
    return text(w, sheet + ".Range(\"" + address + "\")." + member);
  };
  EXPECT_EQ(text(w, sheet + ".Name"), "Trimestre 1");
  EXPECT_EQ(at("A2"), "");
  EXPECT_EQ(at("A3"), "");
  EXPECT_EQ(at("B3") + at("C3") + at("D3"), "010203");
  EXPECT_EQ(at("A4") + "|" + at("A5") + "|" + at("A6") + "|" + at("A7"), "España|France.|UK|Total");
  EXPECT_EQ(at("B4"), " ");
  EXPECT_EQ(at("B7") + " " + at("C7") + " " + at("D7"), "260 315 385");
  EXPECT_EQ(at("B7", "Formula"), "=SUM(B4:B6)");
  for (const char* marked : {"E3", "A8", "F13"}) EXPECT_EQ(at(marked, "NoteText"), kNote) << marked;
  for (const char* filled : {"C4", "C5", "C6", "C7"}) EXPECT_NE(at(filled), "") << filled;
  // The averages of question 605, right and near miss, on a scratch cell.
  w.run(sheet + ".Range(\"H20\").Formula = \"=AVERAGE(B4:D4,B6:D6)\"");
  EXPECT_EQ(at("H20"), "117");
  w.run(sheet + ".Range(\"H20\").Formula = \"=AVERAGE(B4:D6)\"");
  EXPECT_EQ(at("H20"), "120");
}

const std::string kFirst = "Workbooks(\"Thor International.xls\").Sheets(1)";
const std::string kSecond = "Workbooks(\"Thor International.xls\").Sheets(2)";

TEST(DeliveredFiles, TableWorkbooksHoldTheTableOnTheirOnlySheet) {
  for (int question : {601, 602, 603, 604, 605, 606, 607, 609, 613}) {
    SCOPED_TRACE(question);
    ExerciseWorld w;
    w.prepare(question);
    expect_table(w, kFirst);
    EXPECT_EQ(text(w, "Names(\"Zone\").RefersTo"), "='Trimestre 1'!$C$4:$C$8");
    EXPECT_EQ(text(w, kFirst + ".Range(\"D1\").Value"), question == 606 ? "09854895" : "");
    EXPECT_EQ(w.read(kFirst + ".Range(\"D1\").Value").type(),
              question == 606 ? com::VarType::String : com::VarType::Empty);
  }
}

TEST(DeliveredFiles, Question607HoldsTheSwappedTableVisibleAndUngrouped) {
  ExerciseWorld w;
  w.prepare(607);
  std::string block;
  for (int i = 1; i <= 20; ++i) block += text(w, kFirst + ".Range(\"A9:E12\").Cells(" + std::to_string(i) + ").Value") + "|";
  EXPECT_EQ(block, "|España|France.|UK|Total|01| |125|135|260|02|118|100|97|315|03|125|150|110|385|");
  for (int row = 1; row <= 20; ++row) {
    EXPECT_EQ(text(w, kFirst + ".Rows(" + std::to_string(row) + ").Hidden"), "False") << row;
    EXPECT_EQ(text(w, kFirst + ".Rows(" + std::to_string(row) + ").OutlineLevel"), "1") << row;
  }
}

TEST(DeliveredFiles, Question608ListCarriesFrenchSubtotalsOutlinedOverRows4To23) {
  ExerciseWorld w;
  w.prepare(608);
  EXPECT_EQ(text(w, kFirst + ".Name"), "détail");
  EXPECT_EQ(text(w, "ActiveSheet.Name"), "détail");
  EXPECT_EQ(text(w, kFirst + ".Range(\"A10\").Value"), "Total España");
  EXPECT_EQ(text(w, kFirst + ".Range(\"A16\").Value"), "Total France");
  EXPECT_EQ(text(w, kFirst + ".Range(\"A22\").Value"), "Total UK");
  EXPECT_EQ(text(w, kFirst + ".Range(\"A23\").Value"), "Total général");
  EXPECT_EQ(text(w, kFirst + ".Range(\"D23\").Value"), "960");  // the table's grand total
  // Details at level 3, country totals at 2, the grand total at 1: the
  // check of question 608 meets level 3 at row 4 while the subtotals stay.
  std::string levels;
  for (int row = 3; row <= 24; ++row) levels += text(w, kFirst + ".Rows(" + std::to_string(row) + ").OutlineLevel");
  EXPECT_EQ(levels, "1333333233333233333211");
  expect_table(w, kSecond);
}

TEST(DeliveredFiles, TwoSheetWorkbooksPutTheListFirstAndTheTableSecond) {
  for (int question : {610, 611, 612}) {
    SCOPED_TRACE(question);
    ExerciseWorld w;
    w.prepare(question);
    EXPECT_EQ(text(w, kFirst + ".Name"), "détail");
    EXPECT_EQ(text(w, kFirst + ".Range(\"D19\").Value"), "60");
    EXPECT_EQ(text(w, kFirst + ".Rows(10).OutlineLevel"), "1");  // no subtotals here
    expect_table(w, kSecond);
    // The table's region, which question 610 folds, ends with the total row.
    EXPECT_EQ(text(w, kSecond + ".Range(\"A4\").CurrentRegion.Address"), "$A$3:$D$7");
    EXPECT_EQ(text(w, "Workbooks(\"Thor International.xls\").ActiveSheet.Name"),
              question == 611 ? "Trimestre 1" : "détail");
  }
}

TEST(DeliveredFiles, Question614IsATemplateWhoseCopiesCarryTheFormattedHeadings) {
  EXPECT_TRUE(engine::xls::read_workbook_file(built_file("07250614.xlt").string())->is_template());
  ExerciseWorld w;
  w.prepare(614);
  w.run("Workbooks.Add Template:=Application.TemplatesPath & \"ZEQ Modèles\\Thor.xlt\"");
  EXPECT_EQ(text(w, "ActiveWorkbook.Name"), "Thor1");
  EXPECT_EQ(text(w, "ActiveWorkbook.Sheets.Count"), "1");
  const std::string sheet = "ActiveWorkbook.Sheets(1)";
  EXPECT_EQ(text(w, sheet + ".Range(\"A2\").Formula"), "=IF(B7>0,AVERAGE(B4:D4,B6:D6),\"\")");
  EXPECT_EQ(text(w, sheet + ".Range(\"A2\").Value"), "");  // no figures yet
  EXPECT_EQ(text(w, sheet + ".Range(\"A5\").Value"), "France");
  EXPECT_EQ(text(w, sheet + ".Range(\"F13\").NoteText"), kNote);
  for (const char* heading : {"B3", "C3", "D3"}) {
    SCOPED_TRACE(heading);
    const std::string at = sheet + ".Range(\"" + heading + "\").";
    EXPECT_EQ(text(w, at + "NumberFormat"), "General");
    EXPECT_EQ(text(w, at + "HorizontalAlignment"), "-4108");
    EXPECT_EQ(text(w, at + "VerticalAlignment"), "-4107");
    EXPECT_EQ(text(w, at + "Orientation"), "-4128");
    EXPECT_EQ(text(w, at + "ReadingOrder"), "-5002");
    EXPECT_EQ(text(w, at + "IndentLevel"), "0");
    EXPECT_EQ(text(w, at + "WrapText") + text(w, at + "AddIndent") + text(w, at + "ShrinkToFit") +
                  text(w, at + "MergeCells"),
              "FalseFalseFalseFalse");
    EXPECT_EQ(text(w, at + "Interior.ColorIndex"), "47");
    EXPECT_EQ(text(w, at + "Interior.Pattern"), "1");
    EXPECT_EQ(text(w, at + "Interior.PatternColorIndex"), "17");
  }
}

TEST(DeliveredFiles, Question615SheetIsProtectedWithTwoClearUnlockedBoxesAndTheQuestion) {
  ExerciseWorld w;
  w.prepare(615);
  const std::string sheet = "Workbooks(\"Les Modèles.xls\").Sheets(1)";
  EXPECT_EQ(text(w, sheet + ".Name"), "réponses");
  EXPECT_EQ(text(w, sheet + ".ProtectContents"), "True");
  EXPECT_EQ(text(w, sheet + ".Shapes.Count"), "3");
  for (const char* box : {"Case à cocher 1", "Case à cocher 2"}) {
    SCOPED_TRACE(box);
    const std::string shape = sheet + ".Shapes(\"" + box + "\")";
    EXPECT_EQ(text(w, shape + ".ControlFormat.Value"), "-4146");
    EXPECT_EQ(text(w, shape + ".Locked"), "False");
  }
  const std::string question = sheet + ".Shapes(\"Question\")";
  EXPECT_EQ(text(w, question + ".Type"), "17");  // msoTextBox
  // Where its script placed each shape, within the anchor's rounding.
  for (const auto& [shape, place] : std::map<std::string, std::array<double, 4>>{
           {"Question", {20, 40, 400, 100}}, {"Case à cocher 1", {20, 160, 150, 18}}, {"Case à cocher 2", {20, 185, 150, 18}}}) {
    SCOPED_TRACE(shape);
    const std::string at = sheet + ".Shapes(\"" + shape + "\").";
    EXPECT_NEAR(number(w, at + "Left"), place[0], 0.1);
    EXPECT_NEAR(number(w, at + "Top"), place[1], 0.1);
    EXPECT_NEAR(number(w, at + "Width"), place[2], 0.1);
    EXPECT_NEAR(number(w, at + "Height"), place[3], 0.1);
  }
  const std::string wording = text(w, question + ".TextFrame.Characters.Text");
  EXPECT_NE(wording.find("Thor.xlt"), std::string::npos) << wording;
  EXPECT_NE(wording.find("Réponse 2"), std::string::npos) << wording;
  w.run(sheet + ".Unprotect");  // no password
  EXPECT_EQ(text(w, sheet + ".ProtectContents"), "False");
}

TEST(DeliveredFiles, MacroWorkbookSetsAndReadsExcelsCurrentFolder) {
  ExerciseWorld w;
  const std::string file = built_file("X72506.xls").string();
  w.run("Workbooks.Open \"" + file + "\"");
  EXPECT_EQ(text(w, "Workbooks(\"X72506.xls\").Sheets(\"module1\").Visible"), "2");  // xlSheetVeryHidden
  const std::string folder = (w.working_folder() / "sub").string();
  std::filesystem::create_directories(folder);
  w.run("Run \"X72506.xls!module1.ChangeRep\", \"" + folder + "\"");
  EXPECT_EQ(w.application().current_folder(), folder);
  EXPECT_EQ(text(w, "Run(\"X72506.xls!module1.GetRep\")"), folder);
  w.run("Workbooks(\"X72506.xls\").Close SaveChanges:=False");
}

}  // namespace
}  // namespace exercises::testing
