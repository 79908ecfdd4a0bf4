// Sheets, names, windows and custom views of a workbook.
#include <gtest/gtest.h>

#include "engine/model/workbook.hpp"
#include "tests/platform/com/raised.hpp"

namespace engine::model {
namespace {

using platform::com::testing_support::raised;

TEST(Sheets, NamesFollowExcelsRulesAndAreUniqueInAnyCase) {
  Workbook book("Classeur1");
  book.add_sheet("Détail");
  EXPECT_EQ(book.find_sheet("DÉTAIL"), &book.sheet(0));
  EXPECT_EQ(raised([&] { book.add_sheet("détail"); }), platform::com::err::ApplicationDefined);
  for (const char* bad : {"", "a:b", "a\\b", "a/b", "a?", "a*", "[a]", "'quoted'",
                          "a name that is far too long for excel"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(raised([&] { book.add_sheet(bad); }), platform::com::err::ApplicationDefined);
  }
  book.add_sheet(std::string(31, 'x'));
  EXPECT_EQ(book.sheet_count(), 2u);
  EXPECT_EQ(raised([&] { book.sheet(2); }), platform::com::err::SubscriptOutOfRange);
}

TEST(Sheets, RenamingAndDeletingKeepFormulasHonest) {
  Workbook book("Classeur1");
  Worksheet& data = book.add_sheet("Trimestre 1");
  Worksheet& summary = book.add_sheet("Synthèse");
  data.enter(0, 0, "5");
  summary.enter(0, 0, "='Trimestre 1'!A1*2");
  EXPECT_EQ(summary.value(0, 0), formula::Value(10.0));
  book.rename_sheet(data.id(), "Ventes");
  EXPECT_EQ(summary.formula_text(0, 0), "=Ventes!A1*2");
  data.enter(0, 0, "6");
  EXPECT_EQ(summary.value(0, 0), formula::Value(12.0));
  book.delete_sheet(data.id());
  EXPECT_EQ(summary.value(0, 0), formula::Value(formula::CellError::Ref));
  EXPECT_EQ(raised([&] { book.delete_sheet(summary.id()); }), platform::com::err::ApplicationDefined);
}

TEST(Sheets, TheLastVisibleSheetCannotBeHidden) {
  Workbook book("Classeur1");
  Worksheet& first = book.add_sheet("Feuil1");
  Worksheet& second = book.add_sheet("Feuil2");
  book.set_sheet_visibility(first.id(), xl::SheetHidden);
  EXPECT_EQ(&book.active_sheet(), &second);
  EXPECT_EQ(raised([&] { book.set_sheet_visibility(second.id(), xl::SheetVeryHidden); }),
            platform::com::err::ApplicationDefined);
  EXPECT_EQ(second.visibility(), xl::SheetVisible);
}

TEST(Names, AreCaseInsensitiveScopedAndValidated) {
  Workbook book("Thor International.xls");
  Worksheet& sheet = book.add_sheet("Trimestre 1");
  const DefinedName& zone = book.add_name("Zone", "='Trimestre 1'!$C$4:$C$8");
  EXPECT_EQ(zone.refers_to_text(), "='Trimestre 1'!$C$4:$C$8");
  book.add_name("ZONE", "='Trimestre 1'!$C$4:$C$7");
  EXPECT_EQ(book.names().size(), 1u);
  EXPECT_EQ(book.find_name("zone")->refers_to_text(), "='Trimestre 1'!$C$4:$C$7");
  book.add_name("Zone", "='Trimestre 1'!$A$1", sheet.id());
  EXPECT_EQ(book.names().size(), 2u);
  for (const char* bad : {"A1", "iv65536", "R1C1", "r", "C", "1abc", "with space", ""}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(raised([&] { book.add_name(bad, "=1"); }), platform::com::err::ApplicationDefined);
  }
  EXPECT_EQ(raised([&] { book.add_name("Bad", "=SUM("); }), platform::com::err::ApplicationDefined);
  EXPECT_EQ(raised([&] { book.delete_name("Missing"); }), platform::com::err::SubscriptOutOfRange);
}

TEST(Names, FormulasReadThroughNamesAndFollowRedefinition) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.enter(0, 0, "2");
  sheet.enter(1, 0, "3");
  book.add_name("Zone", "=Feuil1!$A$1");
  sheet.enter(0, 1, "=SUM(Zone)");
  EXPECT_EQ(sheet.value(0, 1), formula::Value(2.0));
  book.add_name("Zone", "=Feuil1!$A$1:$A$2");
  EXPECT_EQ(sheet.value(0, 1), formula::Value(5.0));
  sheet.enter(1, 0, "10");
  EXPECT_EQ(sheet.value(0, 1), formula::Value(12.0));
}

TEST(Windows, CaptionsFollowTheWorkbookName) {
  Workbook book("Thor International.xls");
  book.add_sheet("Trimestre 1");
  EXPECT_EQ(book.window_caption(0), "Thor International.xls");
  book.new_window();
  EXPECT_EQ(book.window_caption(0), "Thor International.xls:1");
  EXPECT_EQ(book.window_caption(1), "Thor International.xls:2");
  book.window(0).caption = "Thor international.xls";
  EXPECT_EQ(book.window_caption(0), "Thor international.xls");
}

class CustomViewTest : public ::testing::Test {
 protected:
  CustomViewTest() {
    book.window(0).zoom = 110;
    PageSetup setup;
    setup.orientation = xl::Portrait;
    setup.center_horizontally = true;
    sheet.set_page_setup(setup);
  }

  // What the check of the chapter does before showing the view.
  void disturb() {
    book.window(book.active_window()).zoom = 100;
    sheet.set_rows_hidden(3, 4, true);
    PageSetup setup = sheet.page_setup();
    setup.orientation = xl::Landscape;
    setup.center_horizontally = false;
    sheet.set_page_setup(setup);
  }

  Workbook book{"Thor International.xls"};
  Worksheet& sheet = book.add_sheet("Trimestre 1");
};

TEST_F(CustomViewTest, ShowRestoresZoomRowsAndPrintSettings) {
  book.add_custom_view("123", true, true);
  disturb();
  book.show_custom_view("123");
  EXPECT_EQ(book.window(0).zoom, 110);
  EXPECT_FALSE(sheet.rows().hidden(3) || sheet.rows().hidden(4));
  EXPECT_EQ(sheet.page_setup().orientation, xl::Portrait);
  EXPECT_TRUE(sheet.page_setup().center_horizontally);
}

TEST_F(CustomViewTest, ViewWithoutPrintSettingsLeavesThemAsTheyAre) {
  book.add_custom_view("123", false, true);
  disturb();
  book.show_custom_view("123");
  EXPECT_EQ(book.window(0).zoom, 110);
  EXPECT_FALSE(sheet.rows().hidden(3));
  EXPECT_EQ(sheet.page_setup().orientation, xl::Landscape);
  EXPECT_FALSE(sheet.page_setup().center_horizontally);
}

TEST_F(CustomViewTest, ViewWithoutRowSettingsLeavesHiddenRows) {
  sheet.set_rows_hidden(9, 9, true);
  book.add_custom_view("Sans lignes", true, false);
  disturb();
  book.show_custom_view("sans LIGNES");
  EXPECT_TRUE(sheet.rows().hidden(3));
  EXPECT_EQ(sheet.page_setup().orientation, xl::Portrait);
  EXPECT_EQ(raised([&] { book.show_custom_view("124"); }), platform::com::err::SubscriptOutOfRange);
}

TEST(Workbook, EditsClearTheSavedState) {
  Workbook book("Thor1");
  EXPECT_TRUE(book.saved());
  Worksheet& sheet = book.add_sheet("Feuil1");
  book.set_saved(true);
  sheet.enter(0, 0, "1");
  EXPECT_FALSE(book.saved());
}

}  // namespace
}  // namespace engine::model
