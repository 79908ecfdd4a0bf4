// Array formulas through automation: FormulaArray written as the recorder
// writes Ctrl+Shift+Enter (R1C1) or as a macro writes it (A1), read back
// from any cell of the array; HasArray, CurrentArray, HasFormula; and the
// refusal of an edit of part of an array.
#include <chrono>

#include "platform/com/convert.hpp"
#include "platform/script/budget.hpp"
#include "platform/script/script.hpp"
#include "sheet_fixture.hpp"

namespace engine::app::testing {
namespace {

// "number description" of the error `call` raises.
std::string refusal(const std::function<void()>& call) {
  try {
    call();
  } catch (const platform::com::Error& e) {
    return std::to_string(e.number()) + " " + e.description();
  }
  return {};
}

class ArrayFormulaTest : public SheetTest {
 protected:
  ArrayFormulaTest() {
    ws->call("Activate");
    for (int row = 1; row <= 3; ++row) {
      const std::string number = std::to_string(row);
      range(std::string("A").append(number))->put("Value", Variant(row));
      range(std::string("B").append(number))->put("Value", Variant(row * 10));
    }
  }
};

TEST_F(ArrayFormulaTest, TheRecordersCtrlShiftEnterEntersOneArray) {
  range("D1")->call("Select");
  obj(app->get("Selection"))->put("FormulaArray", Variant("=SUM(R1C1:R3C1*R1C2:R3C2)"));
  EXPECT_EQ(value("D1"), Variant(140.0));
  // R1C1 without brackets is absolute.
  EXPECT_EQ(range("D1")->get("FormulaArray"), Variant("=SUM($A$1:$A$3*$B$1:$B$3)"));
  EXPECT_EQ(range("D1")->get("Formula"), Variant("=SUM($A$1:$A$3*$B$1:$B$3)"));
  EXPECT_EQ(range("D1")->get("HasArray"), Variant(true));

  range("C1:C3")->put("FormulaArray", Variant("=A1:A3*2"));
  EXPECT_EQ(value("C3"), Variant(6.0));
  EXPECT_EQ(range("C2")->get("FormulaArray"), Variant("=A1:A3*2"));
  EXPECT_EQ(range("C3")->get("Formula"), Variant("=A1:A3*2"));
  EXPECT_EQ(range("C1:C3")->get("FormulaArray"), Variant("=A1:A3*2"));
  EXPECT_EQ(obj(range("C2")->get("CurrentArray"))->get("Address"), Variant("$C$1:$C$3"));
  range("A2")->put("Value", Variant(5));
  EXPECT_EQ(value("C2"), Variant(10.0));

  // Cells outside arrays: their own formula, or Null across different cells.
  range("E1")->put("Formula", Variant("=A1+1"));
  EXPECT_EQ(range("E1")->get("FormulaArray"), Variant("=A1+1"));
  EXPECT_EQ(range("E1")->get("HasArray"), Variant(false));
  EXPECT_TRUE(range("C1:E1")->get("FormulaArray").is_null());
  EXPECT_TRUE(range("C1:E1")->get("HasArray").is_null());
  EXPECT_EQ(range("C1:E1")->get("HasFormula"), Variant(true));
  EXPECT_EQ(range("A1:A3")->get("HasFormula"), Variant(false));
  EXPECT_EQ(refusal([&] { range("E1")->get("CurrentArray"); }),
            "1004 Unable to get the CurrentArray property of the Range class");
}

TEST_F(ArrayFormulaTest, PartOfAnArrayCannotChangeButTheWholeCan) {
  range("C1:C3")->put("FormulaArray", Variant("=A1:A3*B1:B3"));
  const std::string part = "1004 You cannot change part of an array.";
  EXPECT_EQ(refusal([&] { range("C2")->put("Value", Variant(1)); }), part);
  EXPECT_EQ(refusal([&] { range("C2:C4")->put("Formula", Variant("=1")); }), part);
  EXPECT_EQ(refusal([&] { range("C3")->call("ClearContents"); }), part);
  EXPECT_EQ(refusal([&] { range("C1:C2")->put("FormulaArray", Variant("=1")); }), part);
  EXPECT_EQ(refusal([&] { range("A2:C2")->call("Delete"); }), part);
  EXPECT_EQ(value("C2"), Variant(40.0));

  range("C1:C3")->put("Value", Variant(7));
  EXPECT_EQ(range("C2")->get("HasArray"), Variant(false));
  EXPECT_EQ(value("C2"), Variant(7.0));
  range("C1:C3")->put("FormulaArray", Variant("=ROW(A1:A3)"));
  range("C1:C3")->call("ClearContents");
  EXPECT_EQ(value("C3"), Variant());
}

TEST_F(ArrayFormulaTest, FormulaArrayRefusesWhatExcelRefuses) {
  const std::string refused = "1004 Unable to set the FormulaArray property of the Range class";
  EXPECT_EQ(refusal([&] { range("C1")->put("FormulaArray", Variant("=SUM(")); }), refused);
  // 255 characters at most, although a formula may be longer.
  const std::string at_limit = "=" + std::string(254, '1');
  EXPECT_EQ(refusal([&] { range("C1")->put("FormulaArray", Variant(at_limit + "1")); }), refused);
  EXPECT_EQ(refusal([&] { range("C1")->put("FormulaArray", Variant(at_limit)); }), "");
  // Excel 2003 computes no array over whole columns.
  range("C1")->put("FormulaArray", Variant("=SUM(D:H*1)"));
  EXPECT_EQ(value("C1"), Variant::cell_error(platform::com::cell_error::Num));
  // Text without "=" is a formula all the same.
  range("C2")->put("FormulaArray", Variant("A1*3"));
  EXPECT_EQ(range("C2")->get("Formula"), Variant("=A1*3"));
  // A cell reference that also reads as R1C1 stays A1 ("R1" is column R).
  range("R1")->put("Value", Variant(4));
  range("C3")->put("FormulaArray", Variant("=R1*2"));
  EXPECT_EQ(value("C3"), Variant(8.0));
}

// A trainee's statement entering a huge array meets the memory budget of
// its run before any cell is made, as a huge Value does.
TEST_F(ArrayFormulaTest, AHugeArrayMeetsTheRunsMemoryBudget) {
  namespace script = platform::script;
  const script::Budget::Scope scope(
      std::make_shared<script::Budget>(script::Limits{std::chrono::seconds(60), std::size_t{1} << 20}));
  EXPECT_THROW(script::run(script::parse("Range(\"F1:I65536\").FormulaArray = \"=1\""), Variant(app)),
               script::ScriptError);
  EXPECT_EQ(range("F1")->get("HasArray"), Variant(false));
  EXPECT_EQ(sheet().cell_count(), 6u);
}

}  // namespace
}  // namespace engine::app::testing
