#include "platform/com/compare.hpp"

#include <gtest/gtest.h>

#include "tests/platform/com/raised.hpp"

namespace platform::com {
namespace {

using testing_support::raised;

TEST(Comparison, TextLiteralComparesTheTextForm) {
  EXPECT_TRUE(equal(compare_as_text("09854895", "09854895")));
  EXPECT_TRUE(equal(compare_as_text(9854895.0, "9854895")));
  EXPECT_TRUE(differs(compare_as_text(1.0, "01")));
  EXPECT_TRUE(equal(compare_as_text(Variant(), "")));
  EXPECT_TRUE(equal(compare_as_text(std::int32_t{125}, "125")));
  EXPECT_TRUE(differs(compare_as_text("Total", "total")));  // case-sensitive
  EXPECT_TRUE(differs(compare_as_text("total ", "total")));  // no trimming
  EXPECT_TRUE(equal(compare_as_text(true, "True")));
  EXPECT_EQ(raised([] { compare_as_text(Variant::cell_error(cell_error::Div0), "x"); }), 13);
  // Malformed bytes differ from each other even though both read as U+FFFD.
  EXPECT_TRUE(differs(compare_as_text("a\xFF", "a\xFE")));
}

TEST(Comparison, NumericConstantsCompareNumerically) {
  EXPECT_TRUE(equal(compare_as_number(117.0, 117)));
  EXPECT_TRUE(equal(compare_as_number("117", 117)));
  EXPECT_TRUE(equal(compare_as_number(std::int16_t{2}, 2)));
  EXPECT_EQ(compare_as_number(116.5, 117), -1);
  EXPECT_EQ(compare_as_number(Variant(), 0), 0);
  EXPECT_TRUE(equal(compare_as_boolean(true, true)));
  EXPECT_TRUE(equal(compare_as_boolean(std::int32_t{-1}, true)));
  EXPECT_TRUE(differs(compare_as_boolean(std::int32_t{1}, true)));
  EXPECT_TRUE(equal(compare_as_boolean(Variant(), false)));
  EXPECT_EQ(raised([] { compare_as_number("abc", 1); }), 13);
  EXPECT_EQ(raised([] { compare_as_boolean(Variant::cell_error(cell_error::NA), true); }), 13);
}

TEST(Comparison, NullIsNeitherEqualNorDifferent) {
  for (const Comparison c : {compare_as_text(Variant::null(), "x"), compare_as_number(Variant::null(), 1),
                             compare_as_boolean(Variant::null(), true)}) {
    EXPECT_FALSE(c.has_value());
    EXPECT_FALSE(equal(c));
    EXPECT_FALSE(differs(c));
  }
}

}  // namespace
}  // namespace platform::com
