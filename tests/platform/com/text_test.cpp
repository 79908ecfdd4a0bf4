#include "platform/com/text.hpp"

#include <gtest/gtest.h>

#include "tests/platform/com/raised.hpp"

namespace platform::com {
namespace {

const std::string kGrinning = "\xF0\x9F\x98\x80";  // U+1F600, two UTF-16 code units

using testing_support::raised;

TEST(Text, CountsUtf16CodeUnits) {
  EXPECT_EQ(len(""), 0);
  EXPECT_EQ(len("Détail"), 6);
  EXPECT_EQ(len("ZEQ Modèles\\"), 12);
  EXPECT_EQ(len(kGrinning), 2);
  EXPECT_EQ(len("a" + kGrinning + "b"), 4);
}

TEST(Text, CutsByCodeUnits) {
  EXPECT_EQ(left("Thor International.xls", 4), "Thor");
  EXPECT_EQ(left("abc", 10), "abc");
  EXPECT_EQ(left("abc", 0), "");
  EXPECT_EQ(right("07250601.xls", 4), ".xls");
  EXPECT_EQ(right("abc", 10), "abc");
  EXPECT_EQ(mid("=AVERAGE(A1)", 2, 7), "AVERAGE");
  EXPECT_EQ(mid("Modèles", 4), "èles");
  EXPECT_EQ(mid("abc", 4), "");
  EXPECT_EQ(mid("abc", 2, 0), "");
  EXPECT_EQ(left(kGrinning + "x", 2), kGrinning);
  EXPECT_EQ(mid("x" + kGrinning + "y", 2, 2), kGrinning);
  // Half a surrogate pair cannot be written as UTF-8: it comes out as U+FFFD.
  EXPECT_EQ(left(kGrinning, 1), "\xEF\xBF\xBD");
  EXPECT_EQ(right(kGrinning, 1), "\xEF\xBF\xBD");
}

TEST(Text, RefusesNegativeCountsAndStartsBelowOne) {
  EXPECT_EQ(raised([] { left("abc", -1); }), 5);
  EXPECT_EQ(raised([] { right("abc", -1); }), 5);
  EXPECT_EQ(raised([] { mid("abc", 0); }), 5);
  EXPECT_EQ(raised([] { mid("abc", 1, -1); }), 5);
  EXPECT_EQ(raised([] { instr(0, "abc", "a"); }), 5);
}

TEST(Text, FindsByCodeUnitPosition) {
  EXPECT_EQ(instr("Thor International.xls", ".xls"), 19);
  EXPECT_EQ(instr("abcabc", "c"), 3);
  EXPECT_EQ(instr(4, "abcabc", "c"), 6);
  EXPECT_EQ(instr(7, "abcabc", "c"), 0);
  EXPECT_EQ(instr("abc", "C"), 0);  // binary comparison
  EXPECT_EQ(instr(kGrinning + "é", "é"), 3);
  EXPECT_EQ(instr(2, "abc", ""), 2);
  EXPECT_EQ(instr("", ""), 0);
  EXPECT_EQ(instr("", "a"), 0);
}

TEST(Text, ChangesCaseAcrossUnicode) {
  EXPECT_EQ(lcase("Détail"), "détail");
  EXPECT_EQ(lcase("ESPAÑA"), "españa");
  EXPECT_EQ(lcase("THOR INTERNATIONAL.XLS"), "thor international.xls");
  EXPECT_EQ(lcase("ÉTÉ ΣΟΦΙΑ Ж"), "été σοφια ж");
  EXPECT_EQ(ucase("Modèles"), "MODÈLES");
  EXPECT_EQ(ucase("straße"), "STRAßE");  // one character for one, as the runtime maps case
  EXPECT_EQ(lcase("12 " + kGrinning), "12 " + kGrinning);
}

TEST(Text, ComparesByCodeUnitOrder) {
  EXPECT_EQ(str_comp("abc", "abc"), 0);
  EXPECT_EQ(str_comp("abc", "abd"), -1);
  EXPECT_EQ(str_comp("b", "a"), 1);
  EXPECT_EQ(str_comp("a", "A"), 1);
  EXPECT_EQ(str_comp("ab", "abc"), -1);
  // A surrogate (0xD83D) sorts before U+FF21, unlike the code points themselves.
  EXPECT_EQ(str_comp(kGrinning, "\xEF\xBC\xA1"), -1);
}

TEST(Text, MalformedUtf8ReadsAsReplacementCharacters) {
  const std::string bad = "a\xFF\xC3";  // a stray byte and a truncated sequence
  EXPECT_EQ(len(bad), 3);
  EXPECT_EQ(to_utf8(to_utf16(bad)), "a\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(lcase("A\xE9"), "a\xEF\xBF\xBD");  // Latin-1 é is not UTF-8
  EXPECT_EQ(mid(bad, 2, 1), "\xEF\xBF\xBD");
  EXPECT_EQ(instr(bad, "\xFF"), 2);
}

}  // namespace
}  // namespace platform::com
