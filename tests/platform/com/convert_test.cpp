#include "platform/com/convert.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <thread>
#include <variant>

namespace platform::com {
namespace {

// Restores the thread's regional settings when a test has changed them.
class RegionalScope {
 public:
  explicit RegionalScope(std::string_view locale) : saved_(regional()) { set_regional(*Regional::named(locale)); }
  ~RegionalScope() { set_regional(saved_); }

 private:
  Regional saved_;
};

// One row: a conversion, its input, and either the result or the error number.
struct Case {
  const char* conversion;
  Variant input;
  std::variant<Variant, int> expected;  // int: the runtime error raised
};

Variant convert(std::string_view conversion, const Variant& v) {
  if (conversion == "CStr") return cstr(v);
  if (conversion == "CDbl") return cdbl(v);
  if (conversion == "CLng") return clng(v);
  if (conversion == "CInt") return cint(v);
  if (conversion == "CBool") return cbool(v);
  return cdate(v);
}

void check_table(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::ostringstream label;
    label << c.conversion << "(";
    PrintTo(c.input, &label);
    label << ")";
    if (const Variant* result = std::get_if<Variant>(&c.expected)) {
      try {
        EXPECT_EQ(convert(c.conversion, c.input), *result) << label.str();
      } catch (const Error& e) {
        ADD_FAILURE() << label.str() << " raised " << e.number();
      }
    } else {
      try {
        const Variant got = convert(c.conversion, c.input);
        ADD_FAILURE() << label.str() << " gave " << testing::PrintToString(got);
      } catch (const Error& e) {
        EXPECT_EQ(e.number(), std::get<int>(c.expected)) << label.str();
      }
    }
  }
}

TEST(Conversions, TextOfValues) {
  check_table({
      {"CStr", 9854895.0, Variant("9854895")},
      {"CStr", 116.66666666666667, Variant("116.666666666667")},
      {"CStr", 0.1 + 0.2, Variant("0.3")},
      {"CStr", 1e15, Variant("1E+15")},
      {"CStr", 999999999999999.0, Variant("999999999999999")},
      {"CStr", 1e-5, Variant("1E-05")},
      {"CStr", 1.5e-5, Variant("1.5E-05")},
      {"CStr", 0.0001, Variant("0.0001")},
      {"CStr", -2.5, Variant("-2.5")},
      {"CStr", 1.23456789012345678e17, Variant("1.23456789012346E+17")},
      {"CStr", 1e100, Variant("1E+100")},
      {"CStr", -0.0, Variant("0")},
      {"CStr", std::int16_t{-32768}, Variant("-32768")},
      {"CStr", std::int32_t{117}, Variant("117")},
      {"CStr", true, Variant("True")},
      {"CStr", false, Variant("False")},
      {"CStr", Variant(), Variant("")},
      {"CStr", "text", Variant("text")},
      {"CStr", Variant::null(), 94},
      {"CStr", Variant::cell_error(cell_error::Div0), 13},
      {"CStr", Variant::cell_error(cell_error::NA), 13},
      {"CStr", Variant::array({1, 2}), 13},
      {"CStr", Variant::nothing(), 91},
      {"CStr", Variant::missing(), 448},
  });
}

TEST(Conversions, NumbersOfValues) {
  check_table({
      {"CDbl", "1.5", Variant(1.5)},
      {"CDbl", "  -1.5e3  ", Variant(-1500.0)},
      {"CDbl", "+.5", Variant(0.5)},
      {"CDbl", "5.", Variant(5.0)},
      {"CDbl", "1D2", Variant(100.0)},
      {"CDbl", "&H10", Variant(16.0)},
      {"CDbl", "&HFFFF", Variant(-1.0)},
      {"CDbl", "&O17", Variant(15.0)},
      {"CDbl", "1,000", 13},
      {"CDbl", "", 13},
      {"CDbl", "   ", 13},
      {"CDbl", "1.5.2", 13},
      {"CDbl", "12abc", 13},
      {"CDbl", "e5", 13},
      {"CDbl", "1e", 13},
      {"CDbl", "1e999", 6},
      {"CDbl", "1e99999999999", 6},
      {"CDbl", "1e-999", Variant(0.0)},
      {"CDbl", "&H1FFFFFFFF", 6},
      {"CDbl", Variant(), Variant(0.0)},
      {"CDbl", true, Variant(-1.0)},
      {"CDbl", Date{45000.5}, Variant(45000.5)},
      {"CDbl", Variant::null(), 94},
      {"CDbl", Variant::cell_error(cell_error::Value), 13},
      {"CLng", 2.5, Variant(std::int32_t{2})},
      {"CLng", 3.5, Variant(std::int32_t{4})},
      {"CLng", -2.5, Variant(std::int32_t{-2})},
      {"CLng", "2.5", Variant(std::int32_t{2})},
      {"CLng", 2147483647.4, Variant(std::int32_t{2147483647})},
      {"CLng", 2147483647.5, 6},
      {"CLng", -2147483648.5, Variant(std::int32_t{-2147483647 - 1})},
      {"CLng", true, Variant(std::int32_t{-1})},
      {"CInt", 32767.0, Variant(std::int16_t{32767})},
      {"CInt", 32768.0, 6},
      {"CInt", std::int32_t{32768}, 6},
      {"CInt", -32768.5, Variant(std::int16_t{-32768})},
      {"CInt", 0.5, Variant(std::int16_t{0})},
      {"CInt", 1.5, Variant(std::int16_t{2})},
      {"CInt", "x", 13},
      {"CBool", "TRUE", Variant(true)},
      {"CBool", " false ", Variant(false)},
      {"CBool", "0", Variant(false)},
      {"CBool", "-2", Variant(true)},
      {"CBool", 0.0, Variant(false)},
      {"CBool", Variant(), Variant(false)},
      {"CBool", "yes", 13},
      {"CBool", Variant::null(), 94},
  });
}

TEST(Conversions, DecimalSeparatorFollowsTheRegionalSettings) {
  RegionalScope french("fr-FR");
  check_table({
      {"CDbl", "1,5", Variant(1.5)},
      {"CDbl", "1.5", 13},
      {"CStr", 1.5, Variant("1,5")},
      {"CStr", 1.5e-7, Variant("1,5E-07")},
      {"CLng", "2,5", Variant(std::int32_t{2})},
  });
}

TEST(Conversions, RegionalSettingsBelongToTheThread) {
  RegionalScope french("fr-FR");
  std::string other_thread;
  std::thread([&] { other_thread = cstr(1.5); }).join();
  EXPECT_EQ(other_thread, "1.5");
  EXPECT_EQ(cstr(1.5), "1,5");
  EXPECT_FALSE(Regional::named("de-DE"));
}

TEST(Conversions, DatesInBothRegionalStyles) {
  check_table({
      {"CStr", Date{45306.0}, Variant("1/15/2024")},
      {"CStr", Date{45306.6423611111}, Variant("1/15/2024 3:25:00 PM")},
      {"CStr", Date{0.5}, Variant("12:00:00 PM")},
      {"CStr", Date{0.0}, Variant("12:00:00 AM")},
      {"CStr", Date{-1.25}, Variant("12/29/1899 6:00:00 AM")},
      {"CDate", "1/15/2024", Variant(Date{45306.0})},
      {"CDate", "2024-01-15 15:25", Variant(Date{45306.0 + (15 * 60 + 25) / 1440.0})},
      {"CDate", "12:00 PM", Variant(Date{0.5})},
      {"CDate", "2/30/2024", 13},
      {"CDate", "13/1/2024", 13},
      {"CDate", "noon", 13},
      {"CDate", 45306.0, Variant(Date{45306.0})},
      {"CDate", 1e10, 6},
  });
  RegionalScope french("fr-FR");
  check_table({
      {"CStr", Date{45306.6423611111}, Variant("15/01/2024 15:25:00")},
      {"CDate", "15/01/2024", Variant(Date{45306.0})},
  });
}

TEST(Conversions, ArbitraryTextEitherConvertsOrRaisesARuntimeError) {
  // Built from the characters the readers look at, so that most inputs get
  // deep into them before being refused.
  const std::string alphabet = "0123456789+-.,eEdD&HhOo/:- \tAPMTrueFals\xC3\xA9\xFF";
  std::mt19937 random(72506);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const auto length = random() % 12;
    for (unsigned i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    using Reader = double (*)(const Variant&);
    for (Reader conversion : {Reader(cdbl), Reader([](const Variant& v) { return cdate(v).serial; })}) {
      try {
        const double d = conversion(text);
        EXPECT_TRUE(std::isfinite(d)) << text;
      } catch (const Error& e) {
        EXPECT_TRUE(e.number() == 13 || e.number() == 6) << text << " raised " << e.number();
      }
    }
  }
}

}  // namespace
}  // namespace platform::com
