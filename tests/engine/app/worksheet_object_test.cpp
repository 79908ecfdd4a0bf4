// The sheet object: name rules, position, selection, protection, page setup
// and notes.
#include "engine/app/worksheet_object.hpp"

#include "engine/app/workbook.hpp"

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

using WorksheetTest = SheetTest;

TEST_F(WorksheetTest, NameFollowsExcelsRules) {
  EXPECT_EQ(ws->get("Name"), Variant("Trimestre 1"));
  EXPECT_EQ(error_of([&] { ws->put("Name", "feuil2"); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { ws->put("Name", "a/b"); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { ws->put("Name", std::string(32, 'x')); }), com::err::ApplicationDefined);
  EXPECT_EQ(ws->get("Name"), Variant("Trimestre 1"));
  ws->put("Name", "Détail");
  EXPECT_EQ(book->sheet(0).name(), "Détail");
}

TEST_F(WorksheetTest, IndexAndMoveWithinTheWorkbook) {
  book->add_sheet("Feuil3");
  auto third = make_worksheet(app, book, book->sheet(2).id());
  EXPECT_EQ(ws->get("Index"), Variant(1));
  ws->call("Move", {Variant::missing(), Variant(third)});
  EXPECT_EQ(ws->get("Index"), Variant(3));
  ws->call("Move", {Variant(third)});
  EXPECT_EQ(ws->get("Index"), Variant(2));
  EXPECT_EQ(third->get("Index"), Variant(3));
  EXPECT_EQ(error_of([&] { ws->call("Move"); }), com::err::ApplicationDefined);
  auto other = std::make_shared<model::Workbook>("Autre.xls");
  other->add_sheet("Feuil1");
  app->add_workbook(other);
  EXPECT_EQ(error_of([&] { ws->call("Move", {Variant(make_worksheet(app, other, other->sheet(0).id()))}); }),
            com::err::ApplicationDefined);
}

TEST_F(WorksheetTest, SelectNeedsTheActiveWorkbookAndActivateBringsIt) {
  auto second = make_worksheet(app, book, book->sheet(1).id());
  second->call("Select");
  EXPECT_EQ(book->active_sheet().name(), "Feuil2");
  auto other = std::make_shared<model::Workbook>("Autre.xls");
  other->add_sheet("Feuil1");
  app->add_workbook(other);
  EXPECT_EQ(error_of([&] { ws->invoke(dispid::Select, CallKind::Method); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { range("B2")->call("Select"); }), com::err::ApplicationDefined);
  ws->call("Activate");
  EXPECT_EQ(app->active_workbook(), book);
  EXPECT_EQ(book->active_sheet().name(), "Trimestre 1");
  range("B2:C3")->call("Select");
  range("C3")->call("Activate");
  EXPECT_EQ(sheet().selection(), (model::CellRange{1, 1, 2, 2}));
  EXPECT_EQ(sheet().active_cell(), (std::pair{2, 2}));
  EXPECT_EQ(obj(app->get("Selection"))->get("Address"), Variant("$B$2:$C$3"));
}

TEST_F(WorksheetTest, VisibilityHidesSheetsButNeverTheLastVisibleOne) {
  auto workbook = make_workbook(app, book);
  auto sheets = [&](const Variant& index) { return obj(workbook->get("Sheets", {index})); };
  sheets("feuil2")->put("Visible", xl::xlSheetVeryHidden);
  EXPECT_EQ(sheets("Feuil2")->get("Visible"), Variant(xl::xlSheetVeryHidden));
  EXPECT_EQ(book->sheet(1).visibility(), model::xl::SheetVeryHidden);
  EXPECT_EQ(error_of([&] { sheets(1)->put("Visible", xl::xlSheetHidden); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { sheets(1)->put("Visible", false); }), com::err::ApplicationDefined);
  EXPECT_EQ(sheets(1)->get("Visible"), Variant(xl::xlSheetVisible));
  EXPECT_EQ(error_of([&] { sheets(2)->call("Select"); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { sheets(2)->call("Activate"); }), com::err::ApplicationDefined);
  // True and False stand for visible and hidden; other numbers are refused.
  sheets(2)->put("Visible", true);
  EXPECT_EQ(sheets(2)->get("Visible"), Variant(xl::xlSheetVisible));
  EXPECT_EQ(error_of([&] { sheets(2)->put("Visible", 1); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { sheets(2)->put("Visible", "caché"); }), com::err::TypeMismatch);
  // Hiding the active sheet makes the next visible one active.
  ws->put("Visible", false);
  EXPECT_EQ(ws->get("Visible"), Variant(xl::xlSheetHidden));
  EXPECT_EQ(obj(workbook->get("ActiveSheet"))->get("Name"), Variant("Feuil2"));
}

TEST_F(WorksheetTest, ProtectionWithAndWithoutPassword) {
  ws->call("Protect");
  EXPECT_EQ(ws->get("ProtectContents"), Variant(true));
  ws->call("Unprotect");
  EXPECT_EQ(ws->get("ProtectContents"), Variant(false));
  ws->call("Protect", {"secret", false, true});
  EXPECT_EQ(ws->get("ProtectDrawingObjects"), Variant(false));
  EXPECT_EQ(error_of([&] { ws->invoke(dispid::Unprotect, CallKind::Method); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { ws->call("Unprotect", {"Secret"}); }), com::err::ApplicationDefined);
  ws->call("Unprotect", {"secret"});
  EXPECT_EQ(ws->get("ProtectContents"), Variant(false));
}

TEST_F(WorksheetTest, PageSetupByDispidAndItsRefusals) {
  auto setup = obj(ws->invoke(dispid::PageSetup, CallKind::Get));
  Variant landscape[] = {Variant(xl::xlLandscape)};
  setup->invoke(dispid::Orientation, CallKind::Put, landscape);
  EXPECT_EQ(setup->get("Orientation"), Variant(xl::xlLandscape));
  setup->put("CenterHorizontally", true);
  EXPECT_EQ(setup->invoke(dispid::CenterHorizontally, CallKind::Get), Variant(true));
  setup->put("LeftMargin", 36.0);
  EXPECT_EQ(sheet().page_setup().left_margin, 36.0);
  EXPECT_EQ(error_of([&] { setup->put("Orientation", 3); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { setup->put("Zoom", 5); }), com::err::ApplicationDefined);
  EXPECT_EQ(setup->get("Orientation"), Variant(xl::xlLandscape));
  ws->call("Protect");
  EXPECT_EQ(error_of([&] { setup->put("CenterVertically", true); }), com::err::ApplicationDefined);
}

TEST_F(WorksheetTest, NotesReadSetAndCleared) {
  const std::string marker = "Ne pas supprimer ce commentaire. Merci !";
  auto f13 = range("F13");
  EXPECT_EQ(f13->invoke(dispid::NoteText, CallKind::Method | CallKind::Get), Variant(""));
  EXPECT_TRUE(f13->get("Comment").object() == nullptr);
  f13->call("AddComment", {marker});
  EXPECT_EQ(f13->get("NoteText"), Variant(marker));
  EXPECT_EQ(f13->get("NoteText", {Variant::missing(), 8, 9}), Variant("supprimer"));
  EXPECT_EQ(error_of([&] { f13->call("AddComment", {"x"}); }), com::err::ApplicationDefined);
  f13->call("NoteText", {"Merci.", 34});
  EXPECT_EQ(f13->get("NoteText"), Variant("Ne pas supprimer ce commentaire. Merci."));
  EXPECT_EQ(obj(f13->get("Comment"))->call("Text"), Variant("Ne pas supprimer ce commentaire. Merci."));
  range("A1")->call("NoteText", {"autre"});
  EXPECT_EQ(obj(ws->get("Shapes"))->get("Count"), Variant(2));
  range("A1:F13")->call("ClearComments");
  EXPECT_EQ(f13->get("NoteText"), Variant(""));
  EXPECT_EQ(obj(ws->get("Shapes"))->get("Count"), Variant(0));
}

TEST_F(WorksheetTest, UsedRangeCoversTheFilledCells) {
  EXPECT_EQ(obj(ws->get("UsedRange"))->get("Address"), Variant("$A$1"));
  sheet().set_value(3, 1, 1.0);
  sheet().set_value(8, 4, 1.0);
  EXPECT_EQ(obj(ws->get("UsedRange"))->get("Address"), Variant("$B$4:$E$9"));
}

}  // namespace
}  // namespace engine::app::testing
