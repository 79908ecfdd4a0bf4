// Data, Filter, AutoFilter through the members a recorded macro calls: the
// rows each kind of criterion hides, SUBTOTAL over them, the sheet's modes,
// and what Excel refuses.
#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
namespace xl = platform::excel;

// A list A1:B8 (towns and amounts, Nice without one) and a total below it.
class AutoFilterTest : public SheetTest {
 protected:
  AutoFilterTest() {
    ws->call("Activate");
    const char* rows[][2] = {{"Ville", "Montant"}, {"Paris", "5"},     {"Lyon", "12"},
                             {"Parisiens", "20"},  {"Nice", ""},       {"Lyon", "8"},
                             {"Marseille", "30"},  {"Bordeaux", "15"}};
    for (int r = 0; r < 8; ++r) {
      for (int c = 0; c < 2; ++c) {
        if (*rows[r][c] != '\0') sheet().enter(r, c, rows[r][c]);
      }
    }
    sheet().enter(9, 1, "=SUBTOTAL(9,B2:B8)");
  }

  // Range(cell).AutoFilter with the arguments given, the others missing.
  void filter(const std::string& cell, std::vector<Variant> args = {}) {
    args.resize(5, Variant::missing());
    range(cell)->invoke("AutoFilter", com::CallKind::Method, args);
  }
  // The rows of the list hidden now, 1-based.
  std::vector<int> hidden_rows() {
    std::vector<int> hidden;
    for (int row = 2; row <= 8; ++row) {
      if (range(std::to_string(row) + ":" + std::to_string(row))->get("Hidden") == Variant(true)) hidden.push_back(row);
    }
    return hidden;
  }
  Variant total() { return value("B10"); }
  std::shared_ptr<Dispatch> column_filter(int field) {
    return obj(obj(obj(ws->get("AutoFilter"))->get("Filters"))->get("Item", {Variant(field)}));
  }
};

TEST_F(AutoFilterTest, ComparisonsHideTheRowsThatFailAndSubtotalSkipsThem) {
  filter("A1", {Variant(2), Variant(">10")});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 5, 6}));
  EXPECT_EQ(total(), Variant(77.0));
  EXPECT_EQ(ws->get("AutoFilterMode"), Variant(true));
  EXPECT_EQ(ws->get("FilterMode"), Variant(true));
  EXPECT_EQ(column_filter(2)->get("On"), Variant(true));
  EXPECT_EQ(column_filter(2)->get("Criteria1"), Variant(">10"));
  EXPECT_EQ(column_filter(1)->get("On"), Variant(false));
  EXPECT_EQ(error_of([&] { column_filter(1)->get("Criteria1"); }), 1004);
  EXPECT_EQ(obj(obj(ws->get("AutoFilter"))->get("Range"))->get("Address"), Variant("$A$1:$B$8"));
  // A field without criteria shows its column whole again; the total follows.
  filter("A1", {Variant(2)});
  EXPECT_EQ(hidden_rows(), std::vector<int>{});
  EXPECT_EQ(total(), Variant(90.0));
  EXPECT_EQ(ws->get("FilterMode"), Variant(false));
  EXPECT_EQ(ws->get("AutoFilterMode"), Variant(true));
}

TEST_F(AutoFilterTest, TextCriteriaIgnoreCaseTakeWildcardsAndCombineWithOr) {
  filter("A1", {Variant(1), Variant("=paris"), Variant(xl::xlOr), Variant("=Lyon")});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{4, 5, 7, 8}));
  EXPECT_EQ(column_filter(1)->get("Operator"), Variant(xl::xlOr));
  EXPECT_EQ(column_filter(1)->get("Criteria2"), Variant("=Lyon"));
  filter("A1", {Variant(1), Variant("=*ar*")});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{3, 5, 6, 8}));
  filter("A1", {Variant(1), Variant("=?yon")});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 4, 5, 7, 8}));
  // Both columns filter at once: a row shows when it passes both.
  filter("A1", {Variant(2), Variant("<10")});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 3, 4, 5, 7, 8}));
  filter("A1", {Variant(1), Variant("<>Paris"), Variant(xl::xlAnd), Variant("<>Lyon")});
  filter("A1", {Variant(2)});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 3, 6}));
}

TEST_F(AutoFilterTest, BlanksNonBlanksAndNumbersAsText) {
  filter("A1", {Variant(2), Variant("=")});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 3, 4, 6, 7, 8}));
  EXPECT_EQ(total(), Variant(0.0));
  filter("A1", {Variant(2), Variant("<>")});
  EXPECT_EQ(hidden_rows(), std::vector<int>{5});
  // A number given as a criterion compares as a number.
  filter("A1", {Variant(2), Variant(12)});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 4, 5, 6, 7, 8}));
}

TEST_F(AutoFilterTest, TopAndBottomCountItemsOrPercentOverTheWholeColumn) {
  filter("A1", {Variant(2), Variant("2"), Variant(xl::xlTop10Items)});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 3, 5, 6, 8}));
  EXPECT_EQ(total(), Variant(50.0));
  filter("A1", {Variant(2), Variant("2"), Variant(xl::xlBottom10Items)});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{3, 4, 5, 7, 8}));
  // Half of six amounts: three.
  filter("A1", {Variant(2), Variant("50"), Variant(xl::xlTop10Percent)});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 3, 5, 6}));
  filter("A1", {Variant(2), Variant("10"), Variant(xl::xlBottom10Percent)});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{3, 4, 5, 6, 7, 8}));
  for (const char* refused : {"0", "501", "2.5", "many"}) {
    EXPECT_EQ(error_of([&] { filter("A1", {Variant(2), Variant(refused), Variant(xl::xlTop10Items)}); }), 1004) << refused;
  }
  EXPECT_EQ(error_of([&] { filter("A1", {Variant(2), Variant("101"), Variant(xl::xlTop10Percent)}); }), 1004);
  EXPECT_EQ(error_of([&] { filter("A1", {Variant(2), Variant("3"), Variant(7)}); }), 1004);
  EXPECT_EQ(error_of([&] { filter("A1", {Variant(1), Variant("=" + std::string(255, 'x'))}); }), 1004);
  EXPECT_EQ(error_of([&] { filter("A1", {Variant(1), Variant("=a"), Variant(xl::xlOr), Variant(std::string(256, '*'))}); }), 1004);
  // A refused filter leaves the last one in place.
  EXPECT_EQ(hidden_rows(), (std::vector<int>{3, 4, 5, 6, 7, 8}));
}

// Each function number, with and without 100, gives over the filtered
// list what it gives over the figures left visible.
TEST_F(AutoFilterTest, EverySubtotalFunctionSkipsFilteredRows) {
  for (int r = 0; r < 4; ++r) book->sheet(1).enter(r, 0, std::to_string(std::vector<int>{12, 20, 30, 15}[r]));
  filter("A1", {Variant(2), Variant(">10")});
  for (int function = 1; function <= 11; ++function) {
    for (int code : {function, function + 100}) {
      const std::string n = std::to_string(code);
      sheet().enter(11, 1, "=SUBTOTAL(" + n + ",B2:B8)");
      sheet().enter(11, 2, "=SUBTOTAL(" + n + ",Feuil2!A1:A4)");
      EXPECT_EQ(value("B12"), value("C12")) << "SUBTOTAL " << code;
    }
  }
}

TEST_F(AutoFilterTest, ShowAllDataShowsOnlyTheRowsTheFilterHid) {
  range("8:8")->put("Hidden", Variant(true));
  filter("A1", {Variant(2), Variant(">10")});
  EXPECT_EQ(hidden_rows(), (std::vector<int>{2, 5, 6, 8}));
  // Hidden by hand, Bordeaux passes the filter: SUBTOTAL 9 counts it, 109 not.
  EXPECT_EQ(total(), Variant(77.0));
  sheet().enter(10, 1, "=SUBTOTAL(109,B2:B8)");
  EXPECT_EQ(value("B11"), Variant(62.0));
  ws->call("ShowAllData");
  EXPECT_EQ(hidden_rows(), std::vector<int>{8});
  EXPECT_EQ(total(), Variant(90.0));
  EXPECT_EQ(ws->get("FilterMode"), Variant(false));
  EXPECT_EQ(ws->get("AutoFilterMode"), Variant(true));
  // Nothing left to show.
  EXPECT_EQ(error_of([&] { ws->call("ShowAllData"); }), 1004);
}

TEST_F(AutoFilterTest, AutoFilterAloneTogglesAndModeFalseRemovesIt) {
  filter("B3");
  EXPECT_EQ(ws->get("AutoFilterMode"), Variant(true));
  EXPECT_EQ(ws->get("FilterMode"), Variant(false));
  EXPECT_EQ(obj(obj(ws->get("AutoFilter"))->get("Range"))->get("Address"), Variant("$A$1:$B$8"));
  EXPECT_EQ(obj(obj(ws->get("AutoFilter"))->get("Filters"))->get("Count"), Variant(std::int32_t{2}));
  filter("B3");
  EXPECT_EQ(ws->get("AutoFilterMode"), Variant(false));
  EXPECT_EQ(ws->get("AutoFilter").object(), nullptr);
  filter("A1", {Variant(2), Variant(">10")});
  const auto kept = obj(ws->get("AutoFilter"));
  ws->put("AutoFilterMode", Variant(false));
  EXPECT_EQ(hidden_rows(), std::vector<int>{});
  EXPECT_EQ(total(), Variant(90.0));
  // The object read before the filter went no longer answers.
  EXPECT_EQ(error_of([&] { kept->get("Range"); }), 424);
  EXPECT_EQ(error_of([&] { ws->put("AutoFilterMode", Variant(true)); }), 1004);
}

TEST_F(AutoFilterTest, RefusesFieldsOutsideTheListListsWithoutDataAndProtectedSheets) {
  EXPECT_EQ(error_of([&] { filter("A1", {Variant(3), Variant(">1")}); }), 1004);
  EXPECT_EQ(error_of([&] { filter("A1", {Variant(0), Variant(">1")}); }), 1004);
  EXPECT_EQ(error_of([&] { filter("A1", {Variant::missing(), Variant(">1")}); }), 1004);
  EXPECT_EQ(error_of([&] { filter("H20"); }), 1004);
  ws->put("AutoFilterMode", Variant(false));
  ws->call("Protect");
  EXPECT_EQ(error_of([&] { filter("A1", {Variant(2), Variant(">10")}); }), 1004);
  EXPECT_EQ(ws->get("AutoFilterMode"), Variant(false));
}

TEST_F(AutoFilterTest, TheListFollowsInsertedAndDeletedLines) {
  filter("A1", {Variant(2), Variant(">10")});
  range("1:1")->call("Insert");
  EXPECT_EQ(obj(obj(ws->get("AutoFilter"))->get("Range"))->get("Address"), Variant("$A$2:$B$9"));
  EXPECT_EQ(range("3:3")->get("Hidden"), Variant(true));  // Paris moved down
  range("1:1")->call("Delete");
  // Deleting the filtered column takes its criteria: every row shows.
  range("B:B")->call("Delete");
  EXPECT_EQ(hidden_rows(), std::vector<int>{});
  EXPECT_EQ(obj(obj(ws->get("AutoFilter"))->get("Range"))->get("Address"), Variant("$A$1:$A$8"));
  range("A:A")->call("Delete");
  EXPECT_EQ(ws->get("AutoFilterMode"), Variant(false));
}

}  // namespace
}  // namespace engine::app::testing
