// Windows of the application and of a workbook, by position and caption.
#include <gtest/gtest.h>

#include "app_fixture.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
using namespace platform::excel;

class WindowsTest : public AppTest {
 protected:
  WindowsTest() {
    auto book = workbooks()->call("Add");
    obj(book).call("SaveAs", {Variant(folder + "/docs/Thor International.xls")});
    workbooks()->call("Add");
  }
  std::shared_ptr<Dispatch> window(const Variant& index) { return app->get("Windows", {index}).object(); }
};

TEST_F(WindowsTest, ActiveWindowComesFirstAndCaptionsMatchInAnyCase) {
  EXPECT_EQ(obj(app->get("Windows")).get("Count"), Variant(2));
  EXPECT_EQ(window(Variant(1))->get("Caption"), Variant("Classeur2"));
  EXPECT_EQ(window(Variant("Thor international.xls"))->get("Caption"), Variant("Thor International.xls"));
  EXPECT_EQ(error_of([&] { window(Variant("Thor.xls")); }), 9);
  EXPECT_EQ(error_of([&] { window(Variant(3)); }), 9);
  auto book_windows = obj(workbooks()->get("Item", {Variant(1)})).get("Windows");
  EXPECT_EQ(obj(book_windows).get("Count"), Variant(1));
}

TEST_F(WindowsTest, HidingAWindowKeepsItsWorkbookOpen) {
  auto thor = window(Variant("Thor international.xls"));
  by_id(*thor, dispid::Visible, com::CallKind::Put, {Variant(false)});
  EXPECT_EQ(by_id(*window(Variant("THOR INTERNATIONAL.XLS")), dispid::Visible, com::CallKind::Get), Variant(false));
  EXPECT_EQ(workbooks()->get("Count"), Variant(2));
  EXPECT_EQ(obj(app->get("Windows")).get("Count"), Variant(2));
}

// Hiding the active window hands activity to the window active before it;
// with every window hidden Excel has no active workbook, window or sheet.
TEST_F(WindowsTest, HidingTheActiveWindowActivatesThePreviousOneThenNothing) {
  window(Variant("Thor International.xls"))->call("Activate");
  workbooks()->call("Add");  // Classeur3, active; Thor was active before it
  obj(app->get("ActiveWindow")).put("Visible", Variant(false));
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Thor International.xls"));
  EXPECT_EQ(obj(app->get("ActiveWindow")).get("Caption"), Variant("Thor International.xls"));

  window(Variant("thor international.xls"))->put("Visible", Variant(false));
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Classeur2"));
  window(Variant("Classeur2"))->put("Visible", Variant(false));
  EXPECT_EQ(app->get("ActiveWorkbook").object(), nullptr);
  EXPECT_EQ(app->get("ActiveWindow").object(), nullptr);
  EXPECT_EQ(app->get("ActiveSheet").object(), nullptr);
  EXPECT_EQ(error_of([&] { app->get("Range", {Variant("A1")}); }), 1004);
  // Hidden windows stay listed and keep their workbooks open.
  EXPECT_EQ(obj(app->get("Windows")).get("Count"), Variant(3));
  EXPECT_EQ(workbooks()->get("Count"), Variant(3));

  window(Variant("Thor International.xls"))->put("Visible", Variant(true));
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Thor International.xls"));
}

TEST_F(WindowsTest, ClosingTheActiveWorkbookSkipsHiddenWindows) {
  window(Variant("Thor International.xls"))->put("Visible", Variant(false));
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Classeur2"));
  workbooks()->call("Add");
  obj(app->get("ActiveWorkbook")).call("Close", {Variant(false)});
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Classeur2"));
  obj(app->get("ActiveWorkbook")).call("Close", {Variant(false)});
  EXPECT_EQ(app->get("ActiveWorkbook").object(), nullptr);
  EXPECT_EQ(workbooks()->get("Count"), Variant(1));
}

// A workbook saved with its window hidden (a macro workbook) opens without
// taking the active workbook's place.
TEST_F(WindowsTest, WorkbookSavedHiddenOpensWithoutBecomingActive) {
  auto thor = workbooks()->get("Item", {Variant("Thor International.xls")});
  window(Variant("Thor International.xls"))->put("Visible", Variant(false));
  obj(thor).call("Save");
  obj(thor).call("Close");
  workbooks()->call("Open", {Variant(folder + "/docs/Thor International.xls")});
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Classeur2"));
  EXPECT_EQ(window(Variant("Thor International.xls"))->get("Visible"), Variant(false));
}

TEST_F(WindowsTest, ZoomAndStateByDispatchIdentifier) {
  auto active = app->get("ActiveWindow").object();
  by_id(*active, dispid::Zoom, com::CallKind::Put, {Variant(std::int16_t{110})});
  EXPECT_EQ(by_id(*active, dispid::Zoom, com::CallKind::Get), Variant(110));
  EXPECT_EQ(error_of([&] { active->put("Zoom", Variant(5)); }), 1004);
  EXPECT_EQ(error_of([&] { active->put("Zoom", Variant(401)); }), 1004);
  EXPECT_EQ(active->get("Zoom"), Variant(110));
  by_id(*active, dispid::WindowState, com::CallKind::Put, {Variant(xlMaximized)});
  EXPECT_EQ(active->get("WindowState"), Variant(xlMaximized));
  EXPECT_EQ(error_of([&] { active->put("WindowState", Variant(3)); }), 1004);
}

TEST_F(WindowsTest, ActivatingAWindowActivatesItsWorkbook) {
  window(Variant("Thor International.xls"))->call("Activate");
  EXPECT_EQ(obj(app->get("ActiveWorkbook")).get("Name"), Variant("Thor International.xls"));
  EXPECT_EQ(window(Variant(1))->get("Caption"), Variant("Thor International.xls"));
  EXPECT_EQ(obj(app->get("ActiveWindow")).get("Caption"), Variant("Thor International.xls"));
  EXPECT_EQ(obj(obj(app->get("ActiveWindow")).get("ActiveSheet")).get("Name"), Variant("Feuil1"));
  EXPECT_EQ(obj(obj(app->get("ActiveWindow")).get("SelectedSheets")).get("Count"), Variant(1));
}

TEST_F(WindowsTest, WindowOfAClosedWorkbookIsDetached) {
  auto thor = window(Variant("Thor International.xls"));
  obj(workbooks()->get("Item", {Variant("Thor International.xls")})).call("Close", {Variant(false)});
  EXPECT_EQ(error_of([&] { thor->get("Visible"); }), 424);
  EXPECT_EQ(error_of([&] { window(Variant("Thor International.xls")); }), 9);
}

}  // namespace
}  // namespace engine::app::testing
