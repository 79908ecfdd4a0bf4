#include "engine/formula/value.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

struct ErrorName {
  CellError error;
  std::string_view text;
};

constexpr std::array<ErrorName, 7> error_names{{
    {CellError::Null, "#NULL!"},
    {CellError::Div0, "#DIV/0!"},
    {CellError::Value, "#VALUE!"},
    {CellError::Ref, "#REF!"},
    {CellError::Name, "#NAME?"},
    {CellError::Num, "#NUM!"},
    {CellError::NA, "#N/A"},
}};

// Removes the zeros after a decimal point, and the point itself when
// nothing is left after it.
std::string trim_fraction(std::string digits) {
  if (digits.find('.') == std::string::npos) return digits;
  while (digits.back() == '0') digits.pop_back();
  if (digits.back() == '.') digits.pop_back();
  return digits;
}

int kind_rank(const Value& value) {
  if (value.is_number()) return 0;
  if (value.is_text()) return 1;
  return 2;  // Boolean
}

// The empty side of a comparison takes the other side's zero value.
Value zero_like(const Value& other) {
  if (other.is_text()) return Value(std::string());
  if (other.is_boolean()) return Value(false);
  return Value(0.0);
}

}  // namespace

const std::string& SharedText::empty() {
  static const std::string none;
  return none;
}

std::string_view error_text(CellError error) {
  for (const auto& entry : error_names)
    if (entry.error == error) return entry.text;
  return "#VALUE!";
}

std::optional<CellError> error_from_text(std::string_view text) {
  for (const auto& entry : error_names)
    if (equal_ignoring_case(entry.text, text)) return entry.error;
  return std::nullopt;
}

std::optional<CellError> error_from_code(std::uint8_t code) {
  for (const auto& entry : error_names)
    if (static_cast<std::uint8_t>(entry.error) == code) return entry.error;
  return std::nullopt;
}

std::string number_to_text(double number) {
  if (number == 0 || !std::isfinite(number)) return "0";
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.14E", number);
  std::string scientific(buffer.data());
  const auto e = scientific.find('E');
  const int exponent = std::atoi(scientific.c_str() + e + 1);
  if (exponent >= 15 || exponent < -9) {
    std::string mantissa = trim_fraction(scientific.substr(0, e));
    std::snprintf(buffer.data(), buffer.size(), "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + buffer.data();
  }
  // 15 significant digits: as many decimals as the exponent leaves.
  std::snprintf(buffer.data(), buffer.size(), "%.*f", 14 - exponent, number);
  std::string plain = trim_fraction(buffer.data());
  return plain == "-0" ? "0" : plain;
}

double to_15_digits(double number) {
  if (number == 0 || !std::isfinite(number)) return number;
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.14E", number);
  return std::strtod(buffer.data(), nullptr);
}

double round_to_digits(double number, int digits, Rounding rounding) {
  const double x = to_15_digits(number);
  if (digits > 15) return x;
  const double scale = std::pow(10.0, std::min(std::abs(digits), 308));
  double scaled = to_15_digits(digits >= 0 ? x * scale : x / scale);
  switch (rounding) {
    case Rounding::Nearest: scaled = std::round(scaled); break;
    case Rounding::Up: scaled = scaled < 0 ? std::floor(scaled) : std::ceil(scaled); break;
    case Rounding::Down: scaled = std::trunc(scaled); break;
  }
  return digits >= 0 ? scaled / scale : scaled * scale;
}

std::optional<double> number_from_text(std::string_view text) {
  std::string_view s = trim_blanks(text);
  if (s.empty()) return std::nullopt;
  bool percent = false;
  if (s.back() == '%') {
    percent = true;
    s = trim_blanks(s.substr(0, s.size() - 1));
  }
  std::string digits;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) digits += s[i++];
  bool any_digit = false, seen_point = false, seen_exponent = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      digits += c;
      any_digit = true;
    } else if (c == ',' && any_digit && !seen_point && !seen_exponent) {
      continue;  // thousands separator
    } else if (c == '.' && !seen_point && !seen_exponent) {
      digits += c;
      seen_point = true;
    } else if ((c == 'e' || c == 'E') && any_digit && !seen_exponent) {
      digits += 'E';
      seen_exponent = true;
      if (i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) digits += s[++i];
      if (i + 1 >= s.size()) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!any_digit) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(digits.c_str(), &end);
  if (end != digits.c_str() + digits.size() || !std::isfinite(value)) return std::nullopt;
  return percent ? value / 100 : value;
}

std::string value_to_text(const Value& value) {
  if (value.is_number()) return number_to_text(value.number());
  if (value.is_text()) return value.text();
  if (value.is_boolean()) return value.boolean() ? "TRUE" : "FALSE";
  if (value.is_error()) return std::string(error_text(value.error()));
  return {};
}

int compare_values(const Value& left, const Value& right) {
  if (left.is_empty() && right.is_empty()) return 0;
  if (left.is_empty()) return compare_values(zero_like(right), right);
  if (right.is_empty()) return compare_values(left, zero_like(left));
  const int rank = kind_rank(left) - kind_rank(right);
  if (rank != 0) return rank < 0 ? -1 : 1;
  if (left.is_number()) return left.number() < right.number() ? -1 : left.number() > right.number() ? 1 : 0;
  if (left.is_text()) return compare_ignoring_case(left.text(), right.text());
  return static_cast<int>(left.boolean()) - static_cast<int>(right.boolean());
}

}  // namespace engine::formula
