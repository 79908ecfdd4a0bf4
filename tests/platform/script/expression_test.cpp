// Expression values as the macro language types them: literals, operator
// precedence and result kinds, Null, comparisons and the runtime functions.
#include <gtest/gtest.h>

#include "platform/com/convert.hpp"
#include "platform/script/script.hpp"

namespace platform::script {
namespace {

using com::Variant;
using com::VarType;

class ExpressionTest : public ::testing::Test {
 protected:
  Variant eval(std::string_view expression) { return session.evaluate(expression); }
  // The runtime error number evaluating `expression` raises, 0 when none.
  int error_of(std::string_view expression) {
    try {
      session.evaluate(expression);
    } catch (const ScriptError& e) {
      return e.runtime_error() ? e.runtime_error()->number() : -1;
    }
    return 0;
  }

  Session session{Variant{}};
};

TEST_F(ExpressionTest, LiteralsTakeTheLanguagesKinds) {
  EXPECT_EQ(eval("32767"), Variant(std::int16_t{32767}));
  EXPECT_EQ(eval("32768"), Variant(std::int32_t{32768}));
  EXPECT_EQ(eval("3000000000"), Variant(3000000000.0));
  EXPECT_EQ(eval("1.5"), Variant(1.5));
  EXPECT_EQ(eval("1E3"), Variant(1000.0));
  EXPECT_EQ(eval("&HFFFF"), Variant(std::int16_t{-1}));
  EXPECT_EQ(eval("&H10000"), Variant(std::int32_t{65536}));
  EXPECT_EQ(eval("\"say \"\"hi\"\"\""), Variant("say \"hi\""));
  EXPECT_EQ(eval("#2003-01-02#"), Variant(com::Date{37623}));
  EXPECT_EQ(eval("#1/2/2003#"), Variant(com::Date{37623}));  // month first, whatever the region
  EXPECT_EQ(eval("#1/2/2003 12:00:00 PM#"), Variant(com::Date{37623.5}));
  EXPECT_TRUE(eval("Nothing").is_object());
  EXPECT_TRUE(eval("Null").is_null());
  EXPECT_TRUE(eval("Empty").is_empty());
  EXPECT_EQ(eval("xlWorkbookNormal"), Variant(std::int32_t{-4143}));
  EXPECT_EQ(eval("vbCrLf"), Variant("\r\n"));
}

TEST_F(ExpressionTest, PrecedenceFollowsTheLanguage) {
  EXPECT_EQ(eval("-2 ^ 2"), Variant(-4.0));
  EXPECT_EQ(eval("2 ^ -1"), Variant(0.5));
  EXPECT_EQ(eval("2 + 3 * 4"), Variant(std::int16_t{14}));
  EXPECT_EQ(eval("7 \\ 2 * 3"), Variant(std::int16_t{1}));  // * binds tighter than \ .
  EXPECT_EQ(eval("10 Mod 4 + 1"), Variant(std::int16_t{3}));  // Mod binds tighter than +
  EXPECT_EQ(eval("1 + 2 & 3"), Variant("33"));
  EXPECT_EQ(eval("Not 1 = 2 And True"), Variant(true));
  EXPECT_EQ(eval("(1 + 2) * 3"), Variant(std::int16_t{9}));
}

TEST_F(ExpressionTest, ArithmeticWidensOnOverflowAndKeepsItsKinds) {
  EXPECT_EQ(eval("32767 + 1"), Variant(std::int32_t{32768}));
  EXPECT_EQ(eval("2147483647 + 1"), Variant(2147483648.0));
  EXPECT_EQ(eval("-(-32768)").type(), VarType::Long);
  EXPECT_EQ(eval("True + True"), Variant(std::int16_t{-2}));
  EXPECT_EQ(eval("7 / 2"), Variant(3.5));
  EXPECT_EQ(eval("7.5 \\ 2"), Variant(std::int32_t{4}));  // 7.5 rounds to 8 first
  EXPECT_EQ(eval("-7 Mod 3"), Variant(std::int16_t{-1}));
  EXPECT_EQ(eval("\"1\" + \"2\""), Variant("12"));
  EXPECT_EQ(eval("\"1\" + 2"), Variant(3.0));
  EXPECT_EQ(eval("#2003-01-02# + 1"), Variant(com::Date{37624}));
  EXPECT_EQ(eval("#2003-01-02# - #2003-01-01#"), Variant(1.0));
  EXPECT_EQ(error_of("1 / 0"), 11);
  EXPECT_EQ(error_of("0 / 0"), 6);
  EXPECT_EQ(error_of("5 Mod 0"), 11);
  EXPECT_EQ(error_of("\"abc\" * 2"), 13);
  EXPECT_EQ(error_of("(-8) ^ 0.5"), 5);
  EXPECT_EQ(error_of("10 ^ 400"), 6);
}

TEST_F(ExpressionTest, NullSpreadsExceptThroughConcatenationAndDecisiveLogic) {
  EXPECT_TRUE(eval("Null + 1").is_null());
  EXPECT_TRUE(eval("Null = Null").is_null());
  EXPECT_TRUE(eval("-Null").is_null());
  EXPECT_EQ(eval("Null & \"a\""), Variant("a"));
  EXPECT_TRUE(eval("Null & Null").is_null());
  EXPECT_EQ(eval("Null And False"), Variant(false));
  EXPECT_EQ(eval("Null Or True"), Variant(true));
  EXPECT_TRUE(eval("Null And True").is_null());
  EXPECT_TRUE(eval("Null Xor False").is_null());
}

TEST_F(ExpressionTest, ComparisonsOfTextNumbersAndEmpty) {
  EXPECT_EQ(eval("\"a\" < \"b\""), Variant(true));
  EXPECT_EQ(eval("\"a\" = \"A\""), Variant(false));  // binary comparison
  EXPECT_EQ(eval("\"10\" = 10"), Variant(true));
  EXPECT_EQ(eval("Empty = \"\""), Variant(true));
  EXPECT_EQ(eval("Empty = 0"), Variant(true));
  EXPECT_EQ(eval("1 <> 1.5"), Variant(true));
  EXPECT_EQ(eval("2 >= 2"), Variant(true));
  EXPECT_EQ(error_of("\"abc\" = 1"), 13);
  EXPECT_EQ(error_of("1 Is Nothing"), 424);
  EXPECT_EQ(eval("Nothing Is Nothing"), Variant(true));
}

TEST_F(ExpressionTest, LogicalOperatorsAreBitwiseOnNumbers) {
  EXPECT_EQ(eval("True And False"), Variant(false));
  EXPECT_EQ(eval("True Xor True"), Variant(false));
  EXPECT_EQ(eval("6 And 3"), Variant(std::int16_t{2}));
  EXPECT_EQ(eval("6 Or 65536"), Variant(std::int32_t{65542}));
  EXPECT_EQ(eval("Not 0"), Variant(std::int16_t{-1}));
  EXPECT_EQ(eval("Not True"), Variant(false));
}

TEST_F(ExpressionTest, RuntimeFunctions) {
  EXPECT_EQ(eval("CStr(116.666666666667 * 1)"), Variant("116.666666666667"));
  EXPECT_EQ(eval("CLng(\"2.5\")"), Variant(std::int32_t{2}));
  EXPECT_EQ(eval("CInt(3.5)"), Variant(std::int16_t{4}));
  EXPECT_EQ(eval("CBool(\"true\")"), Variant(true));
  EXPECT_EQ(eval("CDbl(\"1E2\")"), Variant(100.0));
  EXPECT_EQ(eval("Len(\"D\xC3\xA9tail\")"), Variant(std::int32_t{6}));
  EXPECT_EQ(eval("Left$(\"Thor\", 2) & Right(\"Thor\", 1) & Mid(\"Thor\", 2, 2) & Mid(\"Thor\", 3)"), Variant("Thrhoor"));
  EXPECT_EQ(eval("LCase(\"D\xC3\x89TAIL\") & UCase(\"x\")"), Variant("d\xC3\xA9tailX"));
  EXPECT_EQ(eval("InStr(\"abcabc\", \"c\")"), Variant(std::int32_t{3}));
  EXPECT_EQ(eval("InStr(4, \"abcabc\", \"c\")"), Variant(std::int32_t{6}));
  EXPECT_EQ(eval("Chr(65) & Chr(233) & Chr(128)"), Variant("A\xC3\xA9\xE2\x82\xAC"));  // A, é, € of Windows-1252
  EXPECT_EQ(eval("ChrW(8364)"), Variant("\xE2\x82\xAC"));
  EXPECT_TRUE(eval("Len(Null)").is_null());
  EXPECT_EQ(eval("TypeName(Array(1))"), Variant("Variant()"));
  EXPECT_EQ(eval("UBound(Array(1, 2, 3)) - LBound(Array(1, 2, 3))"), Variant(std::int32_t{2}));
}

TEST_F(ExpressionTest, RuntimeFunctionArgumentErrors) {
  EXPECT_EQ(error_of("Left(\"abc\")"), 449);
  EXPECT_EQ(error_of("Len(\"a\", \"b\")"), 450);
  EXPECT_EQ(error_of("Left(\"abc\", -1)"), 5);
  EXPECT_EQ(error_of("Chr(256)"), 5);
  EXPECT_EQ(error_of("UBound(1)"), 13);
  EXPECT_EQ(error_of("UBound(Array(1), 2)"), 9);
  EXPECT_EQ(error_of("CInt(40000)"), 6);
  EXPECT_EQ(error_of("CStr(Null)"), 94);
  EXPECT_EQ(error_of("Len(Text:=\"a\")"), 448);
  EXPECT_EQ(error_of("MsgBox(\"x\")"), -1);  // refused, not a runtime error
}

}  // namespace
}  // namespace platform::script
