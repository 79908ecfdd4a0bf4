// Command bars by index and by name, and what Office lets a script change.
#include <gtest/gtest.h>

#include "app_fixture.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
using namespace platform::excel;

class CommandBarsTest : public AppTest {
 protected:
  std::shared_ptr<Dispatch> bar(const Variant& index) {
    return by_id(obj(app->get("CommandBars")), dispid::Item, com::CallKind::Get, {index}).object();
  }
};

TEST_F(CommandBarsTest, Excel2003BarsByIndexAndByNameInAnyCase) {
  auto bars = app->get("CommandBars");
  const std::int32_t count = com::clng(by_id(obj(bars), dispid::Count, com::CallKind::Get));
  EXPECT_GT(count, 18);  // a restore of the first 18 bars must find them all
  EXPECT_EQ(bar(Variant(1))->get("Name"), Variant("Worksheet Menu Bar"));
  EXPECT_EQ(bar(Variant(3))->get("Name"), Variant("Standard"));
  EXPECT_EQ(bar(Variant(4.0))->get("Name"), Variant("Formatting"));
  EXPECT_EQ(bar(Variant(std::int16_t{2}))->get("Name"), Variant("Chart Menu Bar"));
  EXPECT_EQ(bar(Variant("task pane"))->get("Name"), Variant("Task Pane"));
  EXPECT_EQ(bar(Variant("DRAWING"))->get("Position"), Variant(msoBarBottom));
  EXPECT_EQ(bar(Variant("Task Pane"))->get("Position"), Variant(msoBarRight));
  EXPECT_EQ(bar(Variant("Standard"))->get("Visible"), Variant(true));
  EXPECT_EQ(bar(Variant("Drawing"))->get("Visible"), Variant(false));
  // The whole list by index, as a save of every bar's visibility reads it.
  for (std::int32_t i = 1; i <= count; ++i) EXPECT_EQ(error_of([&] { bar(Variant(i))->get("Visible"); }), 0);
  EXPECT_EQ(error_of([&] { bar(Variant(count + 1)); }), 9);
  EXPECT_EQ(error_of([&] { bar(Variant(0)); }), 9);
  EXPECT_EQ(error_of([&] { bar(Variant("Barre inconnue")); }), 9);
}

TEST_F(CommandBarsTest, ChangesStickToTheApplicationWhicheverObjectMadeThem) {
  bar(Variant("standard"))->put("Visible", Variant(false));
  bar(Variant("Standard"))->put("Position", Variant(msoBarBottom));
  bar(Variant("Standard"))->put("Visible", Variant(true));
  EXPECT_EQ(bar(Variant(3))->get("Position"), Variant(msoBarBottom));
  EXPECT_EQ(bar(Variant(3))->get("Visible"), Variant(true));
}

TEST_F(CommandBarsTest, DisabledBarIsHiddenAndCannotBeShown) {
  auto pane = bar(Variant("Task Pane"));
  pane->put("Enabled", Variant(false));
  EXPECT_EQ(pane->get("Visible"), Variant(false));
  EXPECT_EQ(error_of([&] { pane->put("Visible", Variant(true)); }), -2147467259);
  pane->put("Visible", Variant(false));
  pane->put("Enabled", Variant(true));
  pane->put("Visible", Variant(true));
  EXPECT_EQ(pane->get("Visible"), Variant(true));
}

TEST_F(CommandBarsTest, ShortcutMenusAndBadPositionsAreRefused) {
  auto cell = bar(Variant("Cell"));
  EXPECT_EQ(cell->get("Type"), Variant(2));
  EXPECT_EQ(error_of([&] { cell->put("Visible", Variant(true)); }), -2147467259);
  EXPECT_EQ(error_of([&] { bar(Variant("Standard"))->put("Position", Variant(5)); }), -2147467259);
  EXPECT_EQ(error_of([&] { bar(Variant("Standard"))->put("Position", Variant(-1)); }), -2147467259);
  EXPECT_EQ(bar(Variant("Standard"))->get("Position"), Variant(msoBarTop));
}

}  // namespace
}  // namespace engine::app::testing
