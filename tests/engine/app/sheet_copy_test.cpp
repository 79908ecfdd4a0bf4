// Worksheet.Copy: the copy's name, place and contents, within the workbook
// and into a new one.
#include "engine/app/worksheet_object.hpp"

#include "platform/com/convert.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;

class SheetCopyTest : public SheetTest {
 protected:
  SheetCopyTest() {
    range("A1")->put("Value", 5);
    range("A2")->put("Formula", "=A1*2+'Trimestre 1'!A1+Feuil2!A1");
    obj(range("A2")->get("Font"))->put("Bold", true);
    range("B1")->call("AddComment", {Variant("Ne pas supprimer")});
    range("C1:D1")->put("MergeCells", true);
    book->add_name("Local", "='Trimestre 1'!$A$1:$A$2", sheet().id());
    book->add_name("Zone", "='Trimestre 1'!$A$1");
    book->add_name("Ailleurs", "=Feuil2!$A$1");
  }
  std::shared_ptr<Dispatch> sheet_object(const Variant& index) {
    return obj(obj(app->get("ActiveWorkbook"))->get("Sheets", {index}));
  }
};

TEST_F(SheetCopyTest, CopyAfterASheetIsNamedWithTheNextNumberAndBecomesActive) {
  auto last = sheet_object(Variant(2));
  ws->call("Copy", {Variant::missing(), Variant(last)});
  EXPECT_EQ(sheet_object(Variant(3))->get("Name"), Variant("Trimestre 1 (2)"));
  EXPECT_EQ(obj(app->get("ActiveSheet"))->get("Name"), Variant("Trimestre 1 (2)"));
  ws->call("Copy", {Variant(ws)});
  EXPECT_EQ(sheet_object(Variant(1))->get("Name"), Variant("Trimestre 1 (3)"));
  // A copy of a copy counts on from the same base name.
  sheet_object(Variant(4))->call("Copy", {Variant(ws)});
  EXPECT_EQ(sheet_object(Variant(2))->get("Name"), Variant("Trimestre 1 (4)"));
  EXPECT_EQ(obj(obj(app->get("ActiveWorkbook"))->get("Sheets"))->get("Count"), Variant(5));
  EXPECT_EQ(ws->get("Name"), Variant("Trimestre 1"));
}

TEST_F(SheetCopyTest, LongNamesAreShortenedToMakeRoomForTheNumber) {
  ws->put("Name", std::string(31, 'x'));
  ws->call("Copy", {Variant(ws)});
  EXPECT_EQ(sheet_object(Variant(1))->get("Name"), Variant(std::string(27, 'x') + " (2)"));
}

TEST_F(SheetCopyTest, CopyCarriesCellsFormatsNotesMergesAndLocalNames) {
  ws->call("Copy", {Variant::missing(), Variant(ws)});
  auto copy = sheet_object(Variant(2));
  auto cell = [&](const char* a) { return obj(copy->get("Range", {Variant(a)})); };
  EXPECT_EQ(cell("A2")->get("Formula"), Variant("=A1*2+'Trimestre 1 (2)'!A1+Feuil2!A1"));
  EXPECT_EQ(com::cdbl(cell("A2")->get("Value")), 15.0);
  EXPECT_EQ(obj(cell("A2")->get("Font"))->get("Bold"), Variant(true));
  EXPECT_EQ(cell("B1")->get("NoteText"), Variant("Ne pas supprimer"));
  EXPECT_EQ(cell("C1:D1")->get("MergeCells"), Variant(true));
  // The copy's cells are its own: changing them leaves the source alone.
  cell("A1")->put("Value", 1);
  EXPECT_EQ(com::cdbl(cell("A2")->get("Value")), 3.0);
  EXPECT_EQ(com::cdbl(value("A2")), 15.0);

  const model::Worksheet& copied = book->sheet(1);
  const model::DefinedName* local = book->find_name("Local", copied.id());
  ASSERT_NE(local, nullptr);
  EXPECT_EQ(local->refers_to_text(), "='Trimestre 1 (2)'!$A$1:$A$2");
  // A workbook-level name pointing into the source becomes local to the copy.
  const model::DefinedName* zone = book->find_name("Zone", copied.id());
  ASSERT_NE(zone, nullptr);
  EXPECT_EQ(zone->refers_to_text(), "='Trimestre 1 (2)'!$A$1");
  EXPECT_EQ(book->find_name("Ailleurs", copied.id()), nullptr);
  EXPECT_EQ(book->find_name("Zone")->refers_to_text(), "='Trimestre 1'!$A$1");
}

TEST_F(SheetCopyTest, CopyWithoutDestinationMakesANewActiveWorkbook) {
  auto styles = obj(obj(ws->get("Parent"))->get("Styles"));
  auto titre = obj(styles->call("Add", {Variant("Titre bleu")}));
  obj(titre->get("Font"))->put("ColorIndex", 55);
  range("E5")->put("Style", "Titre bleu");
  ws->call("Copy");
  auto copy_book = obj(app->get("ActiveWorkbook"));
  EXPECT_NE(copy_book->get("Name"), Variant("Thor International.xls"));
  EXPECT_EQ(obj(copy_book->get("Sheets"))->get("Count"), Variant(1));
  auto copy = obj(app->get("ActiveSheet"));
  EXPECT_EQ(copy->get("Name"), Variant("Trimestre 1"));
  auto e5 = obj(copy->get("Range", {Variant("E5")}));
  EXPECT_EQ(com::cstr(e5->get("Style")), "Titre bleu");
  EXPECT_EQ(obj(e5->get("Font"))->get("ColorIndex"), Variant(55));
  EXPECT_EQ(obj(copy->get("Range", {Variant("B1")}))->get("NoteText"), Variant("Ne pas supprimer"));
  EXPECT_EQ(obj(app->get("Workbooks"))->get("Count"), Variant(2));
}

}  // namespace
}  // namespace engine::app::testing
