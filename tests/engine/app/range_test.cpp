// Range contents and navigation, late-bound by name and by DISPID as the
// module calls them.
#include "engine/app/range.hpp"

#include "platform/com/convert.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

namespace com = platform::com;
namespace dispid = platform::excel::dispid;
using com::CallKind;
using com::VarType;

using RangeValueTest = SheetTest;

TEST_F(RangeValueTest, ValueGivesEachKindOfCellAsExcelDoes) {
  sheet().set_value(0, 0, 9854895.0);
  sheet().set_value(0, 1, "09854895");
  sheet().set_value(0, 2, true);
  sheet().set_formula(0, 3, "=1/0");
  sheet().enter(0, 4, "1/15/2024");
  EXPECT_EQ(value("F1").type(), VarType::Empty);
  EXPECT_EQ(com::cstr(value("A1")), "9854895");
  EXPECT_EQ(value("B1"), Variant("09854895"));
  EXPECT_EQ(value("C1"), Variant(true));
  EXPECT_EQ(value("E1").type(), VarType::Date);
  const Variant error = value("D1");
  ASSERT_EQ(error.type(), VarType::Error);
  EXPECT_EQ(error, Variant::cell_error(platform::excel::xlErrDiv0));
  // A check that takes an error value as text stops on a type mismatch.
  EXPECT_EQ(error_of([&] { com::cstr(error); }), com::err::TypeMismatch);
}

TEST_F(RangeValueTest, AssigningValueBehavesLikeTyping) {
  range("D1")->put("Value", "'09854895");
  EXPECT_EQ(value("D1"), Variant("09854895"));
  range("D2")->put("Value", "09854895");
  EXPECT_EQ(value("D2"), Variant(9854895.0));
  range("A2")->put("Value", "=AVERAGE(B4:D4)");
  EXPECT_TRUE(sheet().has_formula(1, 0));
  range("E1")->put("NumberFormat", "@");
  range("E1")->put("Value", "01");
  EXPECT_EQ(value("E1"), Variant("01"));
  range("E2")->put("Value", std::int16_t{12});
  EXPECT_EQ(value("E2"), Variant(12.0));
  range("E2")->put("Value", Variant());
  EXPECT_EQ(value("E2").type(), VarType::Empty);
}

TEST_F(RangeValueTest, FormulaGivesTheNormalisedTextOrTheConstant) {
  sheet().set_value(1, 1, 100.0);
  sheet().set_value(1, 2, 134.0);
  range("A2")->put("Formula", "=average(b2:c2)");
  EXPECT_EQ(range("A2")->get("Formula"), Variant("=AVERAGE(B2:C2)"));
  EXPECT_EQ(value("A2"), Variant(117.0));
  EXPECT_EQ(range("B2")->get("Formula"), Variant("100"));
  EXPECT_EQ(range("Z9")->get("Formula"), Variant(""));
  // By DISPID, as the module reads it.
  EXPECT_EQ(range("A2")->invoke(dispid::Formula, CallKind::Get), Variant("=AVERAGE(B2:C2)"));
}

TEST_F(RangeValueTest, MultiCellValueIsAOneBasedArrayAndAnArrayFillsTheRange) {
  com::SafeArray input({com::Bound{0, 2}, com::Bound{0, 2}});
  input.at(0, 0) = "España";
  input.at(0, 1) = 125.0;
  input.at(1, 0) = "01";
  input.at(1, 1) = true;
  range("A1:C3")->put("Value", Variant(input));
  const Variant out = value("A1:C3");
  ASSERT_TRUE(out.is_array());
  const com::SafeArray& a = out.array_value();
  EXPECT_EQ(a.lower_bound(1), 1);
  EXPECT_EQ(a.upper_bound(2), 3);
  EXPECT_EQ(a.at(1, 1), Variant("España"));
  EXPECT_EQ(a.at(1, 2), Variant(125.0));
  EXPECT_EQ(a.at(2, 1), Variant(1.0));  // typed, so numeric text becomes a number
  EXPECT_EQ(a.at(2, 2), Variant(true));
  // Beyond the array, Excel writes #N/A.
  EXPECT_EQ(a.at(3, 3), Variant::cell_error(platform::excel::xlErrNA));
  // A whole sheet's array is refused as Excel refuses it, not built.
  EXPECT_EQ(error_of([&] { obj(ws->get("Cells"))->get("Value"); }), 7);
}

TEST_F(RangeValueTest, BlockCellsAreIndexedRowByRowThroughCellsByDispid) {
  for (int row = 8; row <= 11; ++row) {
    for (int column = 0; column < 5; ++column) sheet().set_value(row, column, row * 10.0 + column);
  }
  auto block = range("A9:E12");
  const auto cell = [&](std::int32_t i) {
    Variant args[] = {Variant(i)};
    return obj(block->invoke(dispid::Cells, CallKind::Get | CallKind::Method, args))->get("Value");
  };
  EXPECT_EQ(cell(1), Variant(80.0));   // A9
  EXPECT_EQ(cell(5), Variant(84.0));   // E9
  EXPECT_EQ(cell(6), Variant(90.0));   // A10
  EXPECT_EQ(cell(20), Variant(114.0)); // E12
  // Indexes past the block carry on below it, as in Excel.
  EXPECT_EQ(obj(block->get("Cells", {21}))->get("Address"), Variant("$A$13"));
  EXPECT_EQ(block->invoke(dispid::Count, CallKind::Get), Variant(20));
}

TEST_F(RangeValueTest, SheetCellsRowsAndColumnsCollections) {
  sheet().set_value(6, 2, 5.0);
  EXPECT_EQ(obj(ws->get("Cells", {7, 3}))->get("Value"), Variant(5.0));
  EXPECT_EQ(obj(ws->get("Cells", {std::int16_t{7}, "C"}))->get("Address"), Variant("$C$7"));
  auto rows = obj(ws->get("Rows", {"9:12"}));
  EXPECT_EQ(rows->get("Count"), Variant(4));
  EXPECT_EQ(rows->get("Address"), Variant("$9:$12"));
  EXPECT_EQ(obj(ws->get("Rows", {5.0}))->get("Address"), Variant("$5:$5"));
  EXPECT_EQ(obj(ws->get("Columns", {"A:C"}))->get("Count"), Variant(3));
  EXPECT_EQ(obj(range("B2:D6")->get("Rows", {2}))->get("Address"), Variant("$B$3:$D$3"));
  EXPECT_EQ(obj(range("B2:D6")->get("Columns"))->get("Count"), Variant(3));
  // Cells(1, 1) = 5 assigns through the default member.
  Variant args[] = {Variant(1), Variant(1), Variant(5.0)};
  ws->invoke(dispid::Cells, CallKind::Put, args);
  EXPECT_EQ(value("A1"), Variant(5.0));
}

TEST_F(RangeValueTest, RangeTextsNamesAndTheirRefusals) {
  book->add_name("Zone", "='Trimestre 1'!$C$4:$C$8");
  book->add_name("Ailleurs", "=Feuil2!$A$1");
  EXPECT_EQ(range("Zone")->get("Address"), Variant("$C$4:$C$8"));
  EXPECT_EQ(range("zone")->get("Count"), Variant(5));
  EXPECT_EQ(range("A:C")->get("Address"), Variant("$A:$C"));
  EXPECT_EQ(range("'Trimestre 1'!B2")->get("Address"), Variant("$B$2"));
  EXPECT_EQ(error_of([&] { range("Ailleurs"); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { range("Feuil2!A1"); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { range("A1:"); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { range("A65537"); }), com::err::ApplicationDefined);
  auto span = obj(ws->get("Range", {ws->get("Cells", {2, 2}), ws->get("Cells", {4, 1})}));
  EXPECT_EQ(span->get("Address"), Variant("$A$2:$B$4"));
}

TEST_F(RangeValueTest, AddressOffsetResizeAndEntireLines) {
  auto r = range("B3:C4");
  EXPECT_EQ(r->get("Address", {false, false}), Variant("B3:C4"));
  EXPECT_EQ(r->get("Address", {true, false}), Variant("B$3:C$4"));
  EXPECT_EQ(r->get("Address", {true, true, std::int32_t{-4150}}), Variant("R3C2:R4C3"));
  EXPECT_EQ(r->get("Address", {Variant::missing(), Variant::missing(), Variant::missing(), true}),
            Variant("'[Thor International.xls]Trimestre 1'!$B$3:$C$4"));
  EXPECT_EQ(obj(r->get("Offset", {1, -1}))->get("Address"), Variant("$A$4:$B$5"));
  EXPECT_EQ(obj(r->get("Resize", {1}))->get("Address"), Variant("$B$3:$C$3"));
  EXPECT_EQ(obj(r->get("EntireRow"))->get("Address"), Variant("$3:$4"));
  EXPECT_EQ(obj(r->get("EntireColumn"))->get("Address"), Variant("$B:$C"));
  EXPECT_EQ(r->get("Row"), Variant(3));
  EXPECT_EQ(r->get("Column"), Variant(2));
  EXPECT_EQ(error_of([&] { r->get("Offset", {-3, 0}); }), com::err::ApplicationDefined);
  EXPECT_EQ(error_of([&] { r->get("Resize", {0}); }), com::err::ApplicationDefined);
}

TEST_F(RangeValueTest, TextShowsTheNumberFormat) {
  range("D1")->put("Value", "'09854895");
  range("D1")->put("NumberFormat", "@\"-52\"");
  EXPECT_EQ(range("D1")->get("Text"), Variant("09854895-52"));
  EXPECT_EQ(value("D1"), Variant("09854895"));
}

TEST_F(RangeValueTest, ProtectedSheetRefusesLockedCellsAndKeepsTheRest) {
  range("B2")->put("Locked", false);
  ws->call("Protect");
  range("B2")->put("Value", 7.0);
  EXPECT_EQ(value("B2"), Variant(7.0));
  EXPECT_EQ(error_of([&] { range("A1")->put("Value", 1.0); }), com::err::ApplicationDefined);
  // A block with one locked cell is refused before any cell changes.
  EXPECT_EQ(error_of([&] { range("B2:B3")->put("Value", 9.0); }), com::err::ApplicationDefined);
  EXPECT_EQ(value("B2"), Variant(7.0));
  EXPECT_EQ(error_of([&] { range("A1")->call("ClearContents"); }), com::err::ApplicationDefined);
}

TEST_F(RangeValueTest, RangesOfAClosedWorkbookOrDeletedSheetAreDetached) {
  auto a1 = range("A1");
  auto sheet2 = make_worksheet(app, book, book->sheet(1).id());
  auto b1 = obj(sheet2->get("Range", {"B1"}));
  book->delete_sheet(book->sheet(1).id());
  EXPECT_EQ(error_of([&] { b1->get("Value"); }), com::err::ObjectRequired);
  app->remove_workbook(book);
  EXPECT_EQ(error_of([&] { a1->get("Value"); }), com::err::ObjectRequired);
  EXPECT_EQ(error_of([&] { ws->get("Name"); }), com::err::ObjectRequired);
}

TEST_F(RangeValueTest, BusyApplicationRejectsRangeCalls) {
  auto a1 = range("A1");
  app->enter_edit_mode("B2");
  EXPECT_EQ(error_of([&] { a1->get("Value"); }), -2147418111);
  EXPECT_EQ(error_of([&] { a1->invoke(dispid::Value, CallKind::Get); }), -2147418111);
}

}  // namespace
}  // namespace engine::app::testing
