#include "platform/com/convert.hpp"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <algorithm>
#include <limits>
#include <span>
#include <vector>

#include "platform/com/dispatch.hpp"

namespace platform::com {

namespace {

// The user's settings belong to the thread the apartment runs on.
thread_local Regional tl_regional;

// The OLE date range: 1 January 100 to 31 December 9999.
constexpr double kFirstDate = -657434.0;
constexpr double kLastDate = 2958465.99999999;

// A value a conversion can work on: objects are replaced by their default
// value, and the kinds no conversion accepts raise their error.
Variant scalar(const Variant& v) {
  Variant s = value_of(v);
  switch (s.type()) {
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Error: raise(s.is_missing() ? err::NamedArgumentNotFound : err::TypeMismatch);
    case VarType::Array:
    case VarType::Object: raise(err::TypeMismatch);
    default: return s;
  }
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

// &H and &O literals: up to 16 bits they are Integers (so &HFFFF is -1), up
// to 32 bits Longs, beyond that an overflow.
std::optional<double> parse_radix_literal(std::string_view s) {
  if (s.size() < 3 || s[0] != '&') return std::nullopt;
  const char marker = ascii_lower(s[1]);
  const int base = marker == 'h' ? 16 : marker == 'o' ? 8 : 0;
  if (base == 0) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(s.data() + 2, s.data() + s.size(), value, base);
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && value > 0xFFFFFFFFu)) raise(err::Overflow);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (value <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(value));
  return static_cast<double>(static_cast<std::int32_t>(value));
}

// [sign] digits [separator digits] [E|D [sign] digits], at least one digit
// in the mantissa; rewritten for from_chars with "." and "e".
std::optional<std::string> normalise_decimal(std::string_view s, char separator) {
  std::string out;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') out += '-';
    ++i;
  }
  std::size_t digits = 0;
  for (; i < s.size() && is_digit(s[i]); ++i, ++digits) out += s[i];
  if (i < s.size() && s[i] == separator) {
    out += '.';
    for (++i; i < s.size() && is_digit(s[i]); ++i, ++digits) out += s[i];
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (ascii_lower(s[i]) == 'e' || ascii_lower(s[i]) == 'd')) {
    out += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
    std::size_t exponent_digits = 0;
    for (; i < s.size() && is_digit(s[i]); ++i, ++exponent_digits) out += s[i];
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  return out;
}

// Roughly log10 of a normalised number that from_chars found out of range:
// positive for a huge one, negative for a tiny one.
double decimal_magnitude(const std::string& normal) {
  const std::size_t e = normal.find('e');
  double mantissa = 0;
  std::from_chars(normal.data(), normal.data() + std::min(e, normal.size()), mantissa);
  int exponent = 0;
  if (e != std::string::npos) {
    const char* first = normal.data() + e + 1;
    if (*first == '+') ++first;
    if (std::from_chars(first, normal.data() + normal.size(), exponent).ec != std::errc())
      exponent = *first == '-' ? -100000 : 100000;
  }
  return std::log10(std::abs(mantissa)) + exponent;
}

std::optional<double> parse_number(std::string_view text) {
  const std::string_view s = trim_blanks(text);
  if (auto radix = parse_radix_literal(s)) return radix;
  const auto normal = normalise_decimal(s, tl_regional.decimal_separator);
  if (!normal) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(normal->data(), normal->data() + normal->size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too large overflows; too small reads as zero, as the runtime reads it.
    if (decimal_magnitude(*normal) > 0) raise(err::Overflow);
    return 0.0;
  }
  return value;
}

double parse_number_or_raise(const std::string& text) {
  const auto value = parse_number(text);
  if (!value) raise(err::TypeMismatch);
  return *value;
}

std::string format_double(double d) {
  if (d == 0) return "0";  // no "-0"
  // The runtime prints 15 significant digits as %G does: plain decimals for
  // exponents -4..14, otherwise E notation with at least two exponent digits.
  std::array<char, 40> buf{};
  const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), d, std::chars_format::general, 15);
  std::string s(buf.data(), result.ptr);
  for (char& c : s) {
    if (c == '.') c = tl_regional.decimal_separator;
    if (c == 'e') c = 'E';
  }
  return s;
}

// Days since 1 March of year 0 in the proleptic Gregorian calendar
// (H. Hinnant's civil-date algorithms), and back.
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
  std::int64_t year;
  unsigned month, day;
};

CivilDate civil_from_days(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

const std::int64_t kOleEpoch = days_from_civil(1899, 12, 30);

// A serial as a day and the seconds of its time; the time of a negative
// serial counts forward from its day, as OLE dates do.
struct SplitDate {
  std::int64_t day;
  std::int64_t seconds;
};

SplitDate split_date(double serial) {
  auto day = static_cast<std::int64_t>(std::trunc(serial));
  auto seconds = static_cast<std::int64_t>(std::llround(std::abs(serial - static_cast<double>(day)) * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    day += serial < 0 ? -1 : 1;
  }
  return {day, seconds};
}

std::string two_digits(std::int64_t n) {
  std::string s = std::to_string(n);
  return n < 10 ? "0" + s : s;
}

std::string format_day(const CivilDate& c) {
  if (tl_regional.date_style == DateStyle::France)
    return two_digits(c.day) + "/" + two_digits(c.month) + "/" + std::to_string(c.year);
  return std::to_string(c.month) + "/" + std::to_string(c.day) + "/" + std::to_string(c.year);
}

std::string format_time(std::int64_t seconds) {
  const std::int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  if (tl_regional.date_style == DateStyle::France) return two_digits(h) + ":" + two_digits(m) + ":" + two_digits(s);
  const std::int64_t h12 = h % 12 == 0 ? 12 : h % 12;
  return std::to_string(h12) + ":" + two_digits(m) + ":" + two_digits(s) + (h < 12 ? " AM" : " PM");
}

// A date without its day is a time alone, and a midnight is a day alone.
std::string format_date(Date date) {
  const SplitDate split = split_date(date.serial);
  if (split.day == 0) return format_time(split.seconds);
  const std::string day = format_day(civil_from_days(split.day + kOleEpoch));
  return split.seconds == 0 ? day : day + " " + format_time(split.seconds);
}

// Reading dates: the text is cut into numbers and words, then matched
// against the forms CDate accepts.
struct DateToken {
  std::string text;
  bool number;
};

std::vector<DateToken> date_tokens(std::string_view s, std::string& separators) {
  std::vector<DateToken> tokens;
  for (std::size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (is_blank(c)) {
      ++i;
    } else if (is_digit(c) || std::isalpha(static_cast<unsigned char>(c))) {
      const bool number = is_digit(c);
      std::size_t j = i;
      while (j < s.size() && (number ? is_digit(s[j]) : std::isalpha(static_cast<unsigned char>(s[j])) != 0)) ++j;
      tokens.push_back({std::string(s.substr(i, j - i)), number});
      i = j;
    } else {
      separators += c;
      ++i;
    }
  }
  return tokens;
}

int token_number(const DateToken& t) {
  if (!t.number || t.text.size() > 4) raise(err::TypeMismatch);
  return std::stoi(t.text);
}

double serial_of_day(int year, int month, int day) {
  if (year < 100) year += year < 30 ? 2000 : 1900;
  if (month < 1 || month > 12 || day < 1) raise(err::TypeMismatch);
  const std::int64_t days = days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  if (civil_from_days(days).month != static_cast<unsigned>(month)) raise(err::TypeMismatch);  // 31/02
  const double serial = static_cast<double>(days - kOleEpoch);
  if (serial < kFirstDate || serial > kLastDate) raise(err::Overflow);
  return serial;
}

// h:mm[:ss] [AM|PM] as a fraction of a day.
double time_fraction(std::span<const DateToken> t) {
  std::size_t numbers = t.size();
  bool pm = false, meridian = false;
  if (!t.empty() && !t.back().number) {
    meridian = true;
    pm = equals_ignoring_case(t.back().text, "PM");
    if (!pm && !equals_ignoring_case(t.back().text, "AM")) raise(err::TypeMismatch);
    --numbers;
  }
  if (numbers < 2 || numbers > 3) raise(err::TypeMismatch);
  int h = token_number(t[0]);
  const int m = token_number(t[1]);
  const int s = numbers == 3 ? token_number(t[2]) : 0;
  if (meridian) {
    if (h < 1 || h > 12) raise(err::TypeMismatch);
    h = h % 12 + (pm ? 12 : 0);
  }
  if (h > 23 || m > 59 || s > 59) raise(err::TypeMismatch);
  return (h * 3600 + m * 60 + s) / 86400.0;
}

double parse_date(std::string_view text) {
  std::string separators;
  const auto tokens = date_tokens(trim_blanks(text), separators);
  // A time alone: its separators are all colons.
  if (!separators.empty() && separators.find_first_not_of(':') == std::string::npos)
    return time_fraction(tokens);
  if (tokens.size() < 3 || separators.size() < 2 || separators[0] != separators[1] ||
      (separators[0] != '/' && separators[0] != '-'))
    raise(err::TypeMismatch);
  const int a = token_number(tokens[0]), b = token_number(tokens[1]), c = token_number(tokens[2]);
  double serial = 0;
  if (tokens[0].text.size() == 4) serial = serial_of_day(a, b, c);  // ISO: year first
  else if (tl_regional.date_style == DateStyle::France) serial = serial_of_day(c, b, a);
  else serial = serial_of_day(c, a, b);
  if (tokens.size() == 3) return serial;
  if (separators.find_first_not_of(':', 2) != std::string::npos) raise(err::TypeMismatch);
  return serial + time_fraction(std::span(tokens).subspan(3));
}

double round_half_even(double d) {
  // nearbyint rounds in the current mode, which the runtime leaves at nearest-even.
  return std::nearbyint(d);
}

template <class Int>
Int to_integer(const Variant& v) {
  const double rounded = round_half_even(cdbl(v));
  if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
    raise(err::Overflow);
  return static_cast<Int>(rounded);
}

}  // namespace

std::optional<Regional> Regional::named(std::string_view locale) {
  if (equals_ignoring_case(locale, "en-US")) return Regional{};
  if (equals_ignoring_case(locale, "fr-FR")) return Regional{',', DateStyle::France};
  return std::nullopt;
}

const Regional& regional() { return tl_regional; }
void set_regional(const Regional& settings) { tl_regional = settings; }

std::string cstr(const Variant& v) {
  const Variant s = scalar(v);
  switch (s.type()) {
    case VarType::Empty: return {};
    case VarType::Integer: return std::to_string(s.integer_value());
    case VarType::Long: return std::to_string(s.long_value());
    case VarType::Double: return format_double(s.double_value());
    case VarType::Date: return format_date(s.date_value());
    case VarType::String: return s.string_value();
    case VarType::Boolean: return s.bool_value() ? "True" : "False";
    default: raise(err::TypeMismatch);
  }
}

double cdbl(const Variant& v) {
  const Variant s = scalar(v);
  switch (s.type()) {
    case VarType::Empty: return 0;
    case VarType::Integer: return s.integer_value();
    case VarType::Long: return s.long_value();
    case VarType::Double: return s.double_value();
    case VarType::Date: return s.date_value().serial;
    case VarType::String: return parse_number_or_raise(s.string_value());
    case VarType::Boolean: return s.bool_value() ? -1 : 0;
    default: raise(err::TypeMismatch);
  }
}

std::int32_t clng(const Variant& v) { return to_integer<std::int32_t>(v); }
std::int16_t cint(const Variant& v) { return to_integer<std::int16_t>(v); }

bool cbool(const Variant& v) {
  const Variant s = scalar(v);
  if (s.type() == VarType::Boolean) return s.bool_value();
  if (s.type() == VarType::String) {
    const std::string_view text = trim_blanks(s.string_value());
    if (equals_ignoring_case(text, "True")) return true;
    if (equals_ignoring_case(text, "False")) return false;
  }
  return cdbl(s) != 0;
}

Date cdate(const Variant& v) {
  const Variant s = scalar(v);
  if (s.type() == VarType::Date) return s.date_value();
  const double serial = s.type() == VarType::String ? parse_date(s.string_value()) : cdbl(s);
  if (!(serial >= kFirstDate && serial <= kLastDate)) raise(err::Overflow);
  return Date{serial};
}

}  // namespace platform::com
