// Custom lists through the Application: numbering, lookup, adding and deleting.
#include <gtest/gtest.h>

#include "app_fixture.hpp"
#include "platform/excel/dispids.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;

using CustomLists = AppTest;

Variant array_from(std::int32_t lower, std::vector<Variant> items) {
  com::SafeArray array({{lower, static_cast<std::int32_t>(items.size())}});
  for (std::size_t i = 0; i < items.size(); ++i) array.at(lower + static_cast<std::int32_t>(i)) = items[i];
  return array;
}

TEST_F(CustomLists, FrenchExcelStartsWithItsFourBuiltInLists) {
  EXPECT_EQ(app->get("CustomListCount"), Variant(4));
  Variant days = app->get("GetCustomListContents", {Variant(1)});
  ASSERT_TRUE(days.is_array());
  EXPECT_EQ(days.array_value().lower_bound(), 1);
  EXPECT_EQ(days.array_value().at(1), Variant("lun"));
  EXPECT_EQ(days.array_value().at(7), Variant("dim"));
  Variant months = app->get("GetCustomListContents", {Variant(3)});
  EXPECT_EQ(months.array_value().at(8), Variant("août"));
  EXPECT_EQ(app->get("GetCustomListNum", {Variant::array({"janvier", "février", "mars", "avril", "mai", "juin",
                                                          "juillet", "août", "septembre", "octobre", "novembre",
                                                          "décembre"})}),
            Variant(4));
}

TEST_F(CustomLists, EnglishExcelHasEnglishLists) {
  ApplicationOptions english_options;
  english_options.language = Language::English;
  auto english = Application::create(english_options);
  EXPECT_EQ(english->get("GetCustomListContents", {Variant(1)}).array_value().at(1), Variant("Sun"));
  EXPECT_EQ(english->get("GetCustomListContents", {Variant(4)}).array_value().at(12), Variant("December"));
}

TEST_F(CustomLists, LookupMatchesWholeListInOrder) {
  app->call("AddCustomList", {array_from(1, {"Nord", "Sud", "Est"})});
  EXPECT_EQ(app->get("GetCustomListNum", {Variant::array({"Nord", "Sud", "Est"})}), Variant(5));
  EXPECT_EQ(app->get("GetCustomListNum", {Variant::array({"Sud", "Nord", "Est"})}), Variant(0));
  EXPECT_EQ(app->get("GetCustomListNum", {Variant::array({"Nord", "Sud"})}), Variant(0));
  EXPECT_EQ(app->get("GetCustomListNum", {Variant::array({"Nord", "Sud", "Est", "Ouest"})}), Variant(0));
}

TEST_F(CustomLists, AddingTheSameListTwiceKeepsOne) {
  app->call("AddCustomList", {array_from(0, {"a", "b"})});
  app->call("AddCustomList", {array_from(1, {"a", "b"})});
  EXPECT_EQ(app->get("CustomListCount"), Variant(5));
}

TEST_F(CustomLists, DeletingRenumbersTheListsAfter) {
  app->call("AddCustomList", {Variant::array({"a", "b"})});
  app->call("AddCustomList", {Variant::array({"c", "d"})});
  app->call("AddCustomList", {Variant::array({"e", "f"})});
  by_id(*app, platform::excel::dispid::DeleteCustomList, com::CallKind::Method, {Variant(5)});
  EXPECT_EQ(app->get("CustomListCount"), Variant(6));
  EXPECT_EQ(app->get("GetCustomListNum", {Variant::array({"c", "d"})}), Variant(5));
  EXPECT_EQ(app->get("GetCustomListNum", {Variant::array({"e", "f"})}), Variant(6));
}

TEST_F(CustomLists, RefusesToDeleteBuiltInsOrMissingLists) {
  for (int number : {0, 1, 4, 5, -1}) {
    EXPECT_EQ(error_of([&] { app->call("DeleteCustomList", {Variant(number)}); }), 1004) << number;
  }
  EXPECT_EQ(app->get("CustomListCount"), Variant(4));
  EXPECT_EQ(error_of([&] { app->get("GetCustomListContents", {Variant(5)}); }), 1004);
}

TEST_F(CustomLists, BlankEntriesAreDroppedAndAnEmptyListRefused) {
  app->call("AddCustomList", {Variant::array({"x", "", "y"})});
  EXPECT_EQ(app->get("GetCustomListNum", {Variant::array({"x", "y"})}), Variant(5));
  EXPECT_EQ(error_of([&] { app->call("AddCustomList", {Variant::array({"", Variant()})}); }), 1004);
  EXPECT_EQ(error_of([&] { app->call("AddCustomList", {Variant("x")}); }), 13);
}

}  // namespace
}  // namespace engine::app::testing
