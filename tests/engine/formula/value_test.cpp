#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/formula/grid.hpp"

namespace engine::formula {
namespace {

TEST(Values, NumbersAsExcelWritesThem) {
  struct Case {
    double number;
    const char* text;
  };
  for (const Case& c : std::initializer_list<Case>{{117, "117"},
                                                   {116.66666666666667, "116.666666666667"},
                                                   {0.1 + 0.2, "0.3"},
                                                   {-0.5, "-0.5"},
                                                   {1E15, "1E+15"},
                                                   {123456789012345, "123456789012345"},
                                                   {1.5E-10, "1.5E-10"},
                                                   {9854895, "9854895"},
                                                   {0, "0"}})
    EXPECT_EQ(number_to_text(c.number), c.text);
}

TEST(Values, TextThatConvertsToNumbers) {
  EXPECT_EQ(number_from_text(" 1,234.5 "), 1234.5);
  EXPECT_EQ(number_from_text("5%"), 0.05);
  EXPECT_EQ(number_from_text("-1E3"), -1000.0);
  EXPECT_EQ(number_from_text("09854895"), 9854895.0);
  for (const char* text : {"", " ", "abc", "1E", "1.2.3", ",5", "--1", "1e+"}) EXPECT_FALSE(number_from_text(text)) << text;
}

TEST(Values, ErrorsBothWays) {
  for (CellError e : {CellError::Null, CellError::Div0, CellError::Value, CellError::Ref, CellError::Name,
                      CellError::Num, CellError::NA}) {
    EXPECT_EQ(error_from_text(error_text(e)), e);
    EXPECT_EQ(error_from_code(static_cast<std::uint8_t>(e)), e);
  }
  EXPECT_EQ(error_from_text("#div/0!"), CellError::Div0);
  EXPECT_FALSE(error_from_text("#DIV/0"));
  EXPECT_FALSE(error_from_code(1));
}

// A text value's copies share its characters: each copy reads the same
// text and equals the others, an assigned-over copy lets its old text go,
// and a value moved away reads as empty text rather than failing.
TEST(Values, TextCopiesShareAndOutliveTheOriginal) {
  std::vector<Value> copies;
  {
    const Value original(std::string(100, 'x'));
    copies.assign(3, original);
  }
  copies[1] = Value("autre");
  EXPECT_EQ(copies[0], copies[2]);
  EXPECT_EQ(copies[0].text(), std::string(100, 'x'));
  EXPECT_EQ(copies[1].text(), "autre");
  EXPECT_NE(copies[0], copies[1]);
  EXPECT_EQ(Value("autre"), copies[1]);  // equal texts, made apart
  Value taken = std::move(copies[2]);
  EXPECT_EQ(taken, copies[0]);
  EXPECT_TRUE(copies[2].is_text());
  EXPECT_EQ(copies[2].text(), "");  // NOLINT(bugprone-use-after-move): a moved-from value stays readable
}

TEST(Values, ComparisonOrdersKindsThenContent) {
  EXPECT_LT(compare_values(Value(1e300), Value("")), 0);
  EXPECT_LT(compare_values(Value("zzz"), Value(false)), 0);
  EXPECT_EQ(compare_values(Value("Été"), Value("éTÉ")), 0);
  EXPECT_EQ(compare_values(Value(), Value(0.0)), 0);
  EXPECT_EQ(compare_values(Value(), Value("")), 0);
  EXPECT_LT(compare_values(Value(), Value(true)), 0);
}

TEST(PrecedentAreas, ResolveSheetsAndNames) {
  testing::Grid g({"Trimestre 1", "Feuil2"});
  g.define_name("Zone", "='Trimestre 1'!$C$4:$C$8");
  g.define_name("Twice", "=Zone*2");
  const auto areas = precedent_areas(*parse("=SUM(B4:D4)+Feuil2!A1+Twice+Nowhere!A1"), {0, 0, 0}, g);
  ASSERT_EQ(areas.size(), 3u);
  EXPECT_EQ(areas[0], (Area{0, 3, 1, 3, 3}));
  EXPECT_EQ(areas[1], (Area{1, 0, 0, 0, 0}));
  EXPECT_EQ(areas[2], (Area{0, 3, 2, 7, 2}));
}

TEST(Volatility, TodayAndNowAreVolatileSubtotalIsSeen) {
  EXPECT_TRUE(is_volatile(*parse("=IF(A1,TODAY(),0)")));
  EXPECT_FALSE(is_volatile(*parse("=SUM(A1)")));
  EXPECT_TRUE(calls_subtotal(*parse("=1+subtotal(9,A1:A3)")));
  EXPECT_FALSE(calls_subtotal(*parse("=SUM(A1)")));
}

}  // namespace
}  // namespace engine::formula
