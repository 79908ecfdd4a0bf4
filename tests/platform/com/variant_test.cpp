#include "platform/com/variant.hpp"

#include <gtest/gtest.h>

#include "platform/com/dispatch.hpp"
#include "platform/com/members.hpp"
#include "tests/platform/com/raised.hpp"

namespace platform::com {
namespace {

using testing_support::raised;

class Thing : public Dispatch {
 public:
  const MemberTable& members() const override {
    static const MemberTable table = Members<Thing>("Thing");
    return table;
  }
};

TEST(Variant, TakesTheKindOfWhatItHolds) {
  EXPECT_EQ(Variant().type(), VarType::Empty);
  EXPECT_EQ(Variant::null().type(), VarType::Null);
  EXPECT_EQ(Variant(std::int16_t{1}).type(), VarType::Integer);
  EXPECT_EQ(Variant(1).type(), VarType::Long);
  EXPECT_EQ(Variant(1.0).type(), VarType::Double);
  EXPECT_EQ(Variant(Date{1}).type(), VarType::Date);
  EXPECT_EQ(Variant("x").type(), VarType::String);
  EXPECT_EQ(Variant(true).type(), VarType::Boolean);
  EXPECT_EQ(Variant::cell_error(cell_error::NA).type(), VarType::Error);
  EXPECT_EQ(Variant(std::make_shared<Thing>()).type(), VarType::Object);
  EXPECT_EQ(Variant::nothing().type(), VarType::Object);
  EXPECT_EQ(Variant::array({}).type(), VarType::Array);
  EXPECT_STREQ(type_name(VarType::Long), "Long");
}

TEST(Variant, PayloadAccessRefusesOtherKinds) {
  EXPECT_EQ(Variant("x").string_value(), "x");
  EXPECT_EQ(raised([] { Variant(1).string_value(); }), 13);
  EXPECT_EQ(raised([] { Variant(std::int16_t{1}).long_value(); }), 13);
  EXPECT_EQ(raised([] { Variant(1).object(); }), 424);
  EXPECT_EQ(Variant::nothing().object(), nullptr);
}

TEST(Variant, CellErrorsAndTheMissingArgumentAreErrorCodes) {
  EXPECT_EQ(Variant::cell_error(cell_error::Div0).error_value().scode, static_cast<HRESULT>(0x800A07D7));
  EXPECT_EQ(Variant::cell_error(cell_error::NA).error_value().scode, static_cast<HRESULT>(0x800A07FA));
  EXPECT_TRUE(Variant::missing().is_missing());
  EXPECT_EQ(Variant::missing().error_value().scode, DISP_E_PARAMNOTFOUND);
  EXPECT_FALSE(Variant::cell_error(cell_error::Ref).is_missing());
  EXPECT_FALSE(Variant().is_missing());
}

TEST(Variant, EqualityIsKindAndValueAndObjectIdentity) {
  EXPECT_EQ(Variant(1), Variant(1));
  EXPECT_NE(Variant(1), Variant(std::int16_t{1}));  // Long is not Integer
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant(), Variant::null());
  auto a = std::make_shared<Thing>();
  EXPECT_EQ(Variant(a), Variant(a));
  EXPECT_NE(Variant(a), Variant(std::make_shared<Thing>()));
  EXPECT_EQ(Variant::nothing(), Variant::nothing());
}

TEST(SafeArray, ArrayFunctionGivesZeroBasedOneDimension) {
  const Variant v = Variant::array({"a", 2, 3.0});
  const SafeArray& a = v.array_value();
  EXPECT_EQ(a.dimensions(), 1);
  EXPECT_EQ(a.lower_bound(), 0);
  EXPECT_EQ(a.upper_bound(), 2);
  EXPECT_EQ(a.at(0), Variant("a"));
  EXPECT_EQ(a.at(2), Variant(3.0));
  EXPECT_EQ(raised([&] { a.at(3); }), 9);
  EXPECT_EQ(raised([&] { a.at(-1); }), 9);
  EXPECT_EQ(raised([&] { a.upper_bound(2); }), 9);
  EXPECT_EQ(raised([&] { a.at(0, 0); }), 9);  // wrong number of indexes
  EXPECT_EQ(Variant::array({}).array_value().upper_bound(), -1);
}

TEST(SafeArray, RangeValuesAreOneBasedRowsAndColumns) {
  SafeArray block({{1, 2}, {1, 3}});  // two rows, three columns
  EXPECT_EQ(block.size(), 6u);
  block.at(2, 3) = "bottom right";
  block.at(1, 2) = 12;
  EXPECT_EQ(block.elements()[5], Variant("bottom right"));  // row by row
  EXPECT_EQ(block.elements()[1], Variant(12));
  EXPECT_EQ(block.upper_bound(1), 2);
  EXPECT_EQ(block.upper_bound(2), 3);
  EXPECT_EQ(raised([&] { block.at(0, 1); }), 9);
  EXPECT_EQ(raised([&] { block.at(1, 4); }), 9);
  EXPECT_EQ(raised([&] { block.at(1); }), 9);
  EXPECT_EQ(raised([] { SafeArray({{0, 1}, {0, 1}, {0, 1}}); }), 5);
  EXPECT_EQ(raised([] { SafeArray({{0, -1}}); }), 5);
}

TEST(SafeArray, ArraysAreCopiedWithTheirVariant) {
  Variant original = Variant::array({1, 2});
  Variant copy = original;
  copy.array_value().at(0) = "changed";
  EXPECT_EQ(original.array_value().at(0), Variant(1));
  EXPECT_NE(original, copy);
}

}  // namespace
}  // namespace platform::com
