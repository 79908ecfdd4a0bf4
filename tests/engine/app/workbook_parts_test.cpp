// What hangs off a workbook: names, styles, custom views, protection.
#include <gtest/gtest.h>

#include "app_fixture.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;

class WorkbookParts : public AppTest {
 protected:
  WorkbookParts() {
    book = workbooks()->call("Add").object();
    obj(book->get("Sheets", {Variant(1)})).put("Name", Variant("Trimestre 1"));
  }
  std::shared_ptr<Dispatch> book;
};

TEST_F(WorkbookParts, NamesPrintRefersToAsExcelDoes) {
  auto names = book->get("Names");
  obj(names).call("Add", {Variant("Ventes"), Variant("='Trimestre 1'!$C$4:$C$8")});
  obj(names).call("Add", {Variant("Total"), Variant("=Feuil2!$A$1")});
  EXPECT_EQ(obj(names).get("Count"), Variant(2));
  auto ventes = obj(names).get("Item", {Variant("VENTES")});
  EXPECT_EQ(by_id(obj(ventes), dispid::RefersTo, com::CallKind::Get), Variant("='Trimestre 1'!$C$4:$C$8"));
  EXPECT_EQ(obj(ventes).get("Name"), Variant("Ventes"));
  // Excel lists names alphabetically.
  EXPECT_EQ(obj(obj(names).get("Item", {Variant(1)})).get("Name"), Variant("Total"));
  EXPECT_EQ(obj(obj(app->get("Names")).get("Item", {Variant(2)})).get("Name"), Variant("Ventes"));
}

TEST_F(WorkbookParts, NameFromARangeRedefinitionAndDeletion) {
  auto names = book->get("Names");
  auto range = obj(book->get("Sheets", {Variant(1)})).get("Range", {Variant("B2:C3")});
  obj(names).call("Add", {Variant("Zone"), range});
  auto zone = obj(names).get("Item", {Variant("zone")});
  EXPECT_EQ(obj(zone).get("RefersTo"), Variant("='Trimestre 1'!$B$2:$C$3"));
  obj(zone).put("RefersTo", Variant("=Feuil2!$A$1:$A$5"));
  EXPECT_EQ(obj(zone).get("RefersTo"), Variant("=Feuil2!$A$1:$A$5"));
  obj(zone).call("Delete");
  EXPECT_EQ(obj(names).get("Count"), Variant(0));
  EXPECT_EQ(error_of([&] { obj(zone).get("RefersTo"); }), 424);
  EXPECT_EQ(error_of([&] { obj(names).get("Item", {Variant("Zone")}); }), 9);
  EXPECT_EQ(error_of([&] { obj(names).call("Add", {Variant("A1"), Variant("=Feuil2!$A$1")}); }), 1004);
}

TEST_F(WorkbookParts, UserStyleStartsFromNormalAndItsFontChanges) {
  auto styles = book->get("Styles");
  const auto before = com::clng(obj(styles).get("Count"));
  auto titre = obj(styles).call("Add", {Variant("Titre bleu")});
  EXPECT_EQ(obj(styles).get("Count"), Variant(before + 1));
  auto found = obj(styles).get("Item", {Variant("titre BLEU")});
  EXPECT_EQ(obj(found).get("Name"), Variant("Titre bleu"));
  EXPECT_EQ(obj(found).get("BuiltIn"), Variant(false));
  auto font = obj(titre).get("Font");
  EXPECT_EQ(obj(font).get("Bold"), Variant(false));
  EXPECT_EQ(obj(font).get("Name"), Variant("Arial"));
  obj(font).put("Bold", Variant(true));
  obj(font).put("ColorIndex", Variant(5));
  auto again = obj(obj(book->get("Styles")).get("Item", {Variant("Titre bleu")})).get("Font");
  EXPECT_EQ(by_id(obj(again), dispid::Bold, com::CallKind::Get), Variant(true));
  EXPECT_EQ(by_id(obj(again), dispid::ColorIndex, com::CallKind::Get), Variant(5));
  // Normal is left as it was.
  EXPECT_EQ(obj(obj(obj(styles).get("Item", {Variant("Normal")})).get("Font")).get("Bold"), Variant(false));
  EXPECT_EQ(error_of([&] { obj(styles).call("Add", {Variant("titre bleu")}); }), 1004);
  EXPECT_EQ(error_of([&] { obj(styles).get("Item", {Variant("Titre rouge")}); }), 9);
}

TEST_F(WorkbookParts, CustomViewShowRestoresTheWindowZoom) {
  auto window = app->get("ActiveWindow");
  obj(window).put("Zoom", Variant(110));
  auto views = book->get("CustomViews");
  obj(views).call("Add", {Variant("123"), Variant(true), Variant(true)});
  obj(window).put("Zoom", Variant(100));
  auto view = obj(views).get("Item", {Variant("123")});
  by_id(obj(view), dispid::Show, com::CallKind::Method);
  EXPECT_EQ(obj(app->get("ActiveWindow")).get("Zoom"), Variant(110));
  EXPECT_EQ(obj(view).get("Name"), Variant("123"));
  obj(view).call("Delete");
  EXPECT_EQ(obj(views).get("Count"), Variant(0));
  EXPECT_EQ(error_of([&] { obj(view).call("Show"); }), 424);
  EXPECT_EQ(error_of([&] { obj(views).get("Item", {Variant("123")}); }), 9);
}

TEST_F(WorkbookParts, ProtectedStructureRefusesNewSheetsUntilUnprotected) {
  book->call("Protect", {Variant("secret")});
  EXPECT_EQ(book->get("ProtectStructure"), Variant(true));
  EXPECT_EQ(error_of([&] { obj(book->get("Sheets")).call("Add"); }), 1004);
  EXPECT_EQ(error_of([&] { book->call("Unprotect", {Variant("autre")}); }), 1004);
  book->call("Unprotect", {Variant("secret")});
  obj(book->get("Sheets")).call("Add");
  EXPECT_EQ(obj(book->get("Sheets")).get("Count"), Variant(4));
}

}  // namespace
}  // namespace engine::app::testing
