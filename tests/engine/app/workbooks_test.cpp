// Workbooks: new ones, templates, files opened, saved and closed.
#include <gtest/gtest.h>

#include <fstream>

#include "app_fixture.hpp"
#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
using namespace platform::excel;

class WorkbooksTest : public AppTest {
 protected:
  std::shared_ptr<Dispatch> add(std::vector<Variant> args = {}) {
    return by_id(*workbooks(), dispid::Add, com::CallKind::Method, std::move(args)).object();
  }
  std::shared_ptr<Dispatch> open(const std::string& file) {
    return by_id(*workbooks(), dispid::Open, com::CallKind::Method, {Variant(file)}).object();
  }
  // A saved template "Thor.xlt" whose first cell holds `text`.
  std::string make_template(const std::string& text) {
    auto book = add();
    obj(obj(book->get("Sheets", {Variant(1)})).get("Range", {Variant("A1")})).put("Value", Variant(text));
    book->call("SaveAs", {Variant(folder + "/docs/Thor"), Variant(xlTemplate)});
    book->call("Close", {Variant(false)});
    return folder + "/docs/Thor.xlt";
  }
};

TEST_F(WorkbooksTest, NewWorkbooksAreNumberedWithThreeSheets) {
  auto first = add();
  auto second = add();
  EXPECT_EQ(first->get("Name"), Variant("Classeur1"));
  EXPECT_EQ(second->get("Name"), Variant("Classeur2"));
  EXPECT_EQ(obj(first->get("Sheets")).get("Count"), Variant(3));
  EXPECT_EQ(obj(first->get("Worksheets", {Variant(2)})).get("Name"), Variant("Feuil2"));
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Classeur2"));
  EXPECT_EQ(first->get("Path"), Variant(""));
  EXPECT_EQ(first->get("Saved"), Variant(true));
  EXPECT_EQ(add({Variant(-4167)})->get("Sheets").object()->get("Count"), Variant(1));
}

TEST_F(WorkbooksTest, ItemsByPositionOrNameInAnyCase) {
  add();
  add();
  EXPECT_EQ(obj(workbooks()->get("Item", {Variant(2)})).get("Name"), Variant("Classeur2"));
  EXPECT_EQ(obj(app->get("Workbooks", {Variant("CLASSEUR1")})).get("Name"), Variant("Classeur1"));
  EXPECT_EQ(error_of([&] { workbooks()->get("Item", {Variant(3)}); }), 9);
  EXPECT_EQ(error_of([&] { workbooks()->get("Item", {Variant("Classeur3")}); }), 9);
  EXPECT_EQ(error_of([&] { workbooks()->get("Item", {Variant()}); }), 13);
}

TEST_F(WorkbooksTest, TemplateGivesNumberedUnsavedCopiesAndStaysUntouched) {
  const std::string thor = make_template("modèle");
  auto copy1 = add({Variant(thor)});
  auto copy2 = add({Variant(thor)});
  EXPECT_EQ(copy1->get("Name"), Variant("Thor1"));
  EXPECT_EQ(copy2->get("Name"), Variant("Thor2"));
  EXPECT_EQ(copy1->get("Path"), Variant(""));
  EXPECT_EQ(obj(obj(copy1->get("Sheets", {Variant(1)})).get("Range", {Variant("A1")})).get("Value"),
            Variant("modèle"));
  // Opening a template opens a copy too.
  EXPECT_EQ(open(thor)->get("Name"), Variant("Thor3"));
  EXPECT_EQ(workbooks()->get("Count"), Variant(3));
}

TEST_F(WorkbooksTest, OpeningATemplateEditableOpensTheTemplateItself) {
  const std::string thor = make_template("modèle");
  std::vector<Variant> args(10, Variant::missing());
  args[0] = Variant(thor);
  args[9] = Variant(true);  // Editable
  auto opened = by_id(*workbooks(), dispid::Open, com::CallKind::Method, args).object();
  EXPECT_EQ(opened->get("Name"), Variant("Thor.xlt"));
  EXPECT_EQ(opened->get("FullName"), Variant(thor));
  EXPECT_EQ(obj(obj(opened->get("Sheets", {Variant(1)})).get("Range", {Variant("A1")})).get("Value"), Variant("modèle"));
  // Opened again, it is the same workbook, not a copy.
  EXPECT_EQ(by_id(*workbooks(), dispid::Open, com::CallKind::Method, args).object()->get("Name"), Variant("Thor.xlt"));
  EXPECT_EQ(workbooks()->get("Count"), Variant(1));
}

TEST_F(WorkbooksTest, SaveAsWithAPasswordFailsAndWritesNothing) {
  auto book = add();
  const std::string file = folder + "/docs/Secret.xls";
  EXPECT_EQ(error_of([&] { book->call("SaveAs", {Variant(file), Variant::missing(), Variant("x")}); }), 1004);
  EXPECT_EQ(error_of([&] { book->call("SaveAs", {Variant(file), Variant::missing(), Variant(""), Variant("w")}); }), 1004);
  EXPECT_FALSE(std::filesystem::exists(file));
  // The empty passwords the Save As dialog records are no password.
  book->call("SaveAs", {Variant(file), Variant::missing(), Variant(""), Variant(""), Variant(false), Variant(false)});
  EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(WorkbooksTest, SaveAsTemplateByFormatOrByExtension) {
  auto book = add();
  book->call("SaveAs", {Variant(folder + "/docs/Modele.xlt")});
  EXPECT_EQ(book->get("Name"), Variant("Modele.xlt"));
  EXPECT_EQ(book->get("FullName"), Variant(folder + "/docs/Modele.xlt"));
  EXPECT_EQ(book->get("Path"), Variant(folder + "/docs"));
  EXPECT_TRUE(std::filesystem::exists(folder + "/docs/Modele.xlt"));
  make_template("x");
  EXPECT_TRUE(std::filesystem::exists(folder + "/docs/Thor.xlt"));
}

TEST_F(WorkbooksTest, RelativeNamesLieInExcelsCurrentFolder) {
  auto book = add();
  book->call("SaveAs", {Variant("Rapport.xls")});
  EXPECT_TRUE(std::filesystem::exists(folder + "/docs/Rapport.xls"));
  book->call("Close");
  EXPECT_EQ(open("rapport.XLS")->get("Name"), Variant("Rapport.xls"));
}

TEST_F(WorkbooksTest, OpenFindsAWorkbookSavedEarlierAndActivatesOneOpenAlready) {
  auto book = add();
  obj(obj(book->get("Sheets", {Variant(1)})).get("Range", {Variant("B2")})).put("Value", Variant(42.0));
  book->call("SaveAs", {Variant(folder + "/docs/Thor International.xls")});
  book->call("Close", {Variant(false)});
  EXPECT_EQ(workbooks()->get("Count"), Variant(0));
  auto opened = open(folder + "/docs/thor international.xls");
  EXPECT_EQ(opened->get("Name"), Variant("Thor International.xls"));
  EXPECT_EQ(obj(obj(opened->get("Sheets", {Variant(1)})).get("Range", {Variant("B2")})).get("Value"),
            Variant(42.0));
  add();
  open(folder + "/docs/Thor International.xls");
  EXPECT_EQ(workbooks()->get("Count"), Variant(2));
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Thor International.xls"));
}

TEST_F(WorkbooksTest, MissingOrDamagedFilesRaise1004NamingThem) {
  try {
    open(folder + "/docs/Absent.xls");
    FAIL() << "no error";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), 1004);
    EXPECT_NE(e.description().find("Absent.xls"), std::string::npos);
  }
  std::ofstream(folder + "/docs/Abime.xls") << "not a workbook";
  try {
    open(folder + "/docs/Abime.xls");
    FAIL() << "no error";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), 1004);
    EXPECT_NE(e.description().find("Abime.xls"), std::string::npos);
  }
  EXPECT_EQ(workbooks()->get("Count"), Variant(0));
}

TEST_F(WorkbooksTest, CloseDiscardsOrSavesAndDetachesTheObject) {
  auto book = add();
  book->call("SaveAs", {Variant(folder + "/docs/A.xls")});
  obj(obj(book->get("Sheets", {Variant(1)})).get("Range", {Variant("A1")})).put("Value", Variant("changé"));
  EXPECT_EQ(book->get("Saved"), Variant(false));
  book->call("Close", {Variant(false)});
  EXPECT_EQ(error_of([&] { book->get("Name"); }), 424);
  auto again = open(folder + "/docs/A.xls");
  EXPECT_TRUE(obj(obj(again->get("Sheets", {Variant(1)})).get("Range", {Variant("A1")})).get("Value").is_empty());
  obj(obj(again->get("Sheets", {Variant(1)})).get("Range", {Variant("A1")})).put("Value", Variant("gardé"));
  again->call("Close", {Variant(true)});
  auto third = open(folder + "/docs/A.xls");
  EXPECT_EQ(obj(obj(third->get("Sheets", {Variant(1)})).get("Range", {Variant("A1")})).get("Value"),
            Variant("gardé"));
}

TEST_F(WorkbooksTest, ClosingTheActiveWorkbookActivatesThePreviousOne) {
  add();
  auto second = add();
  second->call("Close", {Variant(false)});
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Classeur1"));
  workbooks()->call("Close");
  EXPECT_TRUE(app->get("ActiveWorkbook").object() == nullptr);
}

TEST_F(WorkbooksTest, SheetsAddNamesNewSheetsAndRefusesBadPositions) {
  auto book = add();
  auto sheets = book->get("Sheets");
  auto added = obj(sheets).call("Add", {Variant::missing(), obj(sheets).get("Item", {Variant(3)})});
  EXPECT_EQ(obj(added).get("Name"), Variant("Feuil4"));
  EXPECT_EQ(obj(obj(sheets).get("Item", {Variant(4)})).get("Name"), Variant("Feuil4"));
  EXPECT_EQ(obj(book->get("ActiveSheet")).get("Name"), Variant("Feuil4"));
  EXPECT_EQ(error_of([&] { obj(sheets).call("Add", {Variant(1), Variant(2)}); }), 1004);
  EXPECT_EQ(error_of([&] { obj(sheets).get("Item", {Variant("feuil9")}); }), 9);
  EXPECT_EQ(obj(app->get("Sheets", {Variant("FEUIL2")})).get("Name"), Variant("Feuil2"));
}

}  // namespace
}  // namespace engine::app::testing
