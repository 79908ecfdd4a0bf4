// Formats, texts and patterns a trainee may type are untrusted: every one
// gives a result, in bounded time and size, whatever it holds. The inputs
// are drawn from the characters that mean something to each reader, with a
// fixed seed so that a failure repeats.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/formula/number_format.hpp"
#include "engine/formula/text.hpp"
#include "engine/formula/value.hpp"

namespace engine::formula {
namespace {

std::string random_text(std::mt19937& random, std::string_view alphabet, std::size_t longest) {
  std::uniform_int_distribution<std::size_t> length(0, longest), pick(0, alphabet.size() - 1);
  std::string out;
  for (std::size_t n = length(random); n > 0; --n) out += alphabet[pick(random)];
  return out;
}

TEST(HostileInput, AnyNumberFormatGivesABoundedText) {
  std::mt19937 random(20031);
  const double numbers[] = {0, -0.5, 1234.5678, 1e300, -1e-300, 37774.75, 2958465.9999999, 5e-324, 0.999999999};
  for (int i = 0; i < 2000; ++i) {
    const std::string format = random_text(random, "0#?.,%E+-/@;[]<>=\"\\_*hmsdyAMP/ General$0123", 24);
    for (double n : numbers) {
      const std::string text = format_value(Value(n), format);
      EXPECT_LT(text.size(), 2000u) << format;
    }
    EXPECT_LT(format_value(Value("abc"), format).size(), 2000u) << format;
  }
}

TEST(HostileInput, AFormatAsLongAsACellHoldsIsReadInOnePass) {
  std::string format;
  while (format.size() < 32760) format += "\\x_)*-,0\"é\"";
  const std::string text = format_value(Value(1234.5), format);
  EXPECT_FALSE(text.empty());
  EXPECT_LT(text.size(), 2 * format.size());
  EXPECT_EQ(format_value(Value(0.5), "?/99999999999999999999999"), "500000000/999999999");
}

TEST(HostileInput, AnyTextReadsAsANumberOrNot) {
  std::mt19937 random(1900);
  for (int i = 0; i < 50000; ++i) {
    const std::string text = random_text(random, "0123456789 /-:.,$()%EeAPMJunJan", 20);
    const auto number = number_from_any_text(text);
    if (number) {
      EXPECT_TRUE(std::isfinite(*number)) << text;
    }
  }
  EXPECT_EQ(number_from_any_text("99999:99999:99999"), std::nullopt);
  EXPECT_EQ(number_from_any_text(std::string(100000, '9') + "/1/1"), std::nullopt);
}

TEST(HostileInput, SearchPatternsStayLinear) {
  // A pattern of many stars and a long text that almost matches each time:
  // the leftmost-runs search answers at once where backtracking would not.
  const std::string text(32767, 'a');
  const std::string pattern = std::string(100, '*') + std::string(50, 'a') + "*b";
  EXPECT_EQ(wildcard_find(pattern, text, 0), std::nullopt);
  EXPECT_EQ(wildcard_find("a*a?a", text, 32760), std::optional<std::size_t>(32760));
  std::mt19937 random(7);
  for (int i = 0; i < 5000; ++i) {
    const std::string p = random_text(random, "ab*?~", 12), t = random_text(random, "ab*?~", 30);
    const auto at = wildcard_find(p, t, 0);
    if (at) {
      EXPECT_LE(*at, t.size());
    }
  }
}

}  // namespace
}  // namespace engine::formula
