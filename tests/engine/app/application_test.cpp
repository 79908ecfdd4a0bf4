// The Application: its defaults, its main window, the busy and dead states
// and how they end, and its registration as Excel.
#include <gtest/gtest.h>

#include "app_fixture.hpp"
#include "engine/app/registration.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"
#include "platform/win32/keystrokes.hpp"
#include "platform/win32/window_calls.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
namespace win32 = platform::win32;
namespace dispid = platform::excel::dispid;

constexpr std::int32_t kRejected = -2147418111;
constexpr std::int32_t kServerUnavailable = -2147023174;

using ApplicationTest = AppTest;

TEST_F(ApplicationTest, StartsWithExcel2003Defaults) {
  EXPECT_EQ(app->get("Name"), Variant("Microsoft Excel"));
  EXPECT_EQ(app->get("Version"), Variant("11.0"));
  EXPECT_EQ(app->get("Visible"), Variant(false));
  EXPECT_EQ(app->get("ShowToolTips"), Variant(true));
  EXPECT_EQ(app->get("ShowStartupDialog"), Variant(true));
  EXPECT_EQ(app->get("DisplayFullScreen"), Variant(false));
  EXPECT_EQ(app->get("DisplayCommentIndicator"), Variant(platform::excel::xlCommentIndicatorOnly));
  EXPECT_EQ(app->get("ActivePrinter"), Variant("Imprimante non définie. Vérifiez le panneau de configuration."));
  EXPECT_EQ(app->get("Workbooks").object()->get("Count"), Variant(0));
  EXPECT_TRUE(app->get("ActiveWorkbook").object() == nullptr);
  EXPECT_TRUE(app->get("ActiveSheet").object() == nullptr);
  EXPECT_EQ(error_of([&] { app->get("Sheets"); }), 1004);
  EXPECT_TRUE(&obj(app->get("Application")) == app.get());
}

TEST_F(ApplicationTest, TemplatesPathEndsWithBackslashAndWorksThroughTheFileCalls) {
  const std::string path = com::cstr(by_id(*app, dispid::TemplatesPath, com::CallKind::Get));
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.back(), '\\');
  EXPECT_EQ(path.rfind(folder + "/data", 0), 0u);
  // The module appends its folder with Windows separators.
  const std::string zeq = path + "ZEQ Modèles\\";
  ASSERT_TRUE(platform::fs::MakeSureDirectoryPathExists(zeq));
  EXPECT_TRUE(std::filesystem::is_directory(folder + "/data/Templates/ZEQ Modèles"));
}

TEST_F(ApplicationTest, ConfiguredPrinterAndRefusedSettings) {
  options.printer = "HP LaserJet sur Ne01:";
  auto other = Application::create(options);
  EXPECT_EQ(other->get("ActivePrinter"), Variant("HP LaserJet sur Ne01:"));
  EXPECT_EQ(error_of([&] { app->put("DisplayCommentIndicator", Variant(7)); }), 1004);
  app->put("DisplayCommentIndicator", Variant(platform::excel::xlNoIndicator));
  EXPECT_EQ(app->get("DisplayCommentIndicator"), Variant(0));
}

TEST_F(ApplicationTest, MainWindowIsHiddenUntilVisibleAndShowsTheActiveWorkbook) {
  const win32::HWND main = win32::FindWindowA("XLMAIN", nullptr);
  ASSERT_EQ(main, app->main_window());
  EXPECT_FALSE(win32::IsWindowVisible(main));
  by_id(*app, dispid::Visible, com::CallKind::Put, {Variant(true)});
  EXPECT_TRUE(win32::IsWindowVisible(main));
  EXPECT_EQ(*win32::current_desktop().title(main), "Microsoft Excel");
  workbooks()->call("Add");
  EXPECT_EQ(*win32::current_desktop().title(main), "Microsoft Excel - Classeur1");
}

TEST_F(ApplicationTest, CellInEditModeRejectsCallsUntilEscapeReachesExcel) {
  app->put("Visible", Variant(true));
  app->enter_edit_mode("B3");
  EXPECT_EQ(error_of([&] { app->get("Windows"); }), kRejected);
  EXPECT_EQ(error_of([&] { obj(app->get("Application")); }), kRejected);
  // A key other than ESC does not leave edit mode.
  win32::SetForegroundWindow(app->main_window());
  win32::SendKeys("x");
  EXPECT_EQ(error_of([&] { app->get("Windows"); }), kRejected);
  win32::SendKeys("{ESC}");
  EXPECT_EQ(error_of([&] { app->get("Windows"); }), 0);
}

TEST_F(ApplicationTest, ObjectsHandedOutBeforeAreRejectedToo) {
  auto bars = app->get("CommandBars");
  app->enter_edit_mode("A1");
  EXPECT_EQ(error_of([&] { obj(bars).get("Count"); }), kRejected);
  EXPECT_EQ(error_of([&] { by_id(obj(bars), dispid::Count, com::CallKind::Get); }), kRejected);
}

TEST_F(ApplicationTest, ModalDialogRejectsCallsUntilClosed) {
  const win32::HWND dialog = app->open_dialog("Format de cellule");
  EXPECT_EQ(win32::GetWindow(app->main_window(), win32::GW_HWNDPREV), dialog);
  EXPECT_EQ(win32::GetParent(dialog), app->main_window());
  EXPECT_TRUE(win32::GetWindowLongA(dialog, win32::GWL_EXSTYLE) & win32::WS_EX_DLGMODALFRAME);
  EXPECT_EQ(error_of([&] { app->get("Visible"); }), kRejected);
  win32::SendMessageA(dialog, win32::WM_CLOSE, 0, 0);
  EXPECT_FALSE(win32::IsWindow(dialog));
  EXPECT_EQ(error_of([&] { app->get("Visible"); }), 0);
}

TEST_F(ApplicationTest, NestedDialogKeepsExcelBusyUntilBothClose) {
  const win32::HWND outer = app->open_dialog("Options");
  const win32::HWND inner = app->open_dialog("Modifier", outer);
  win32::SendMessageA(inner, win32::WM_CLOSE, 0, 0);
  EXPECT_EQ(error_of([&] { app->get("Visible"); }), kRejected);
  win32::SendMessageA(outer, win32::WM_CLOSE, 0, 0);
  EXPECT_EQ(error_of([&] { app->get("Visible"); }), 0);
}

TEST_F(ApplicationTest, BalloonIsATopLevelWindowWithChildrenThatClosesOnRequest) {
  const win32::HWND balloon = app->show_balloon("Bienvenue");
  EXPECT_EQ(win32::FindWindowA("MSOBALLOON", nullptr), balloon);
  EXPECT_NE(win32::FindWindowExA(balloon, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(error_of([&] { app->get("Visible"); }), 0);
  win32::SendMessageA(balloon, win32::WM_CLOSE, 0, 0);
  EXPECT_EQ(win32::FindWindowA("MSOBALLOON", nullptr), 0u);
}

TEST_F(ApplicationTest, QuitKillsTheInstanceForEveryLaterCall) {
  auto books = app->get("Workbooks");
  obj(books).call("Add");
  app->call("Quit");
  EXPECT_FALSE(app->alive());
  EXPECT_EQ(win32::FindWindowA("XLMAIN", nullptr), 0u);
  EXPECT_EQ(error_of([&] { app->get("Visible"); }), kServerUnavailable);
  EXPECT_EQ(error_of([&] { obj(books).get("Count"); }), kServerUnavailable);
}

TEST_F(ApplicationTest, ClosingTheMainWindowQuitsExcelWithoutSaving) {
  app->put("Visible", Variant(true));
  auto book = workbooks()->call("Add");
  obj(obj(book).get("Sheets", {Variant(1)})).get("Range", {Variant("A1")});
  win32::SendMessageA(app->main_window(), win32::WM_CLOSE, 0, 0);
  EXPECT_FALSE(app->alive());
  EXPECT_TRUE(std::filesystem::is_empty(folder + "/docs"));
  EXPECT_EQ(error_of([&] { app->get("Windows"); }), kServerUnavailable);
}

TEST_F(ApplicationTest, RegisteredClassCreatesInstancesAndVisibleOnesAreRunning) {
  register_excel(options);
  auto& apartment = com::Apartment::current();
  auto created = apartment.create_object("excel.APPLICATION.11");
  ASSERT_TRUE(created);
  EXPECT_EQ(created->get("Version"), Variant("11.0"));
  // Hidden, it is not in the running-object table.
  EXPECT_EQ(error_of([&] { apartment.active_object("Excel.application.11"); }), -2147221021);
  created->put("Visible", Variant(true));
  EXPECT_EQ(apartment.active_object("Excel.application.11"), created);
  created->call("Quit");
  EXPECT_EQ(error_of([&] { apartment.active_object("Excel.application.11"); }), -2147221021);
}

}  // namespace
}  // namespace engine::app::testing
