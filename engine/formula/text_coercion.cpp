// Text read as a number the way formulas read it (English, United States):
// plain numbers, currency amounts, dates and times. Typed entries have
// their own reader in engine/model (it also decides the cell's format);
// this one only needs the number.
#include <array>
#include <cmath>

#include "engine/formula/dates.hpp"
#include "engine/formula/text.hpp"
#include "engine/formula/value.hpp"

namespace engine::formula {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames{"january", "february", "march",     "april",   "may",      "june",
                                                       "july",    "august",   "september", "october", "november", "december"};

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A small cursor over the text, each reader consuming what it recognises.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : s_(text) {}

  bool at_end() const { return pos_ >= s_.size(); }
  char peek() const { return at_end() ? '\0' : s_[pos_]; }
  std::size_t position() const { return pos_; }
  void reset(std::size_t position) { pos_ = position; }
  void skip_blanks() {
    while (!at_end() && s_[pos_] == ' ') ++pos_;
  }
  bool accept(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }

  // Up to `most` digits; nullopt when there are none.
  std::optional<int> digits(std::size_t most = 5) {
    const std::size_t start = pos_;
    int value = 0;
    while (!at_end() && is_digit(s_[pos_]) && pos_ - start < most) value = value * 10 + (s_[pos_++] - '0');
    if (pos_ == start || (!at_end() && is_digit(s_[pos_]))) {
      pos_ = start;
      return std::nullopt;
    }
    return value;
  }
  std::size_t last_digit_count(std::size_t start) const { return pos_ - start; }

  // A month by its English name or its first three letters ("Jun", "june").
  std::optional<int> month_name() {
    const std::size_t start = pos_;
    while (!at_end() && is_letter(s_[pos_])) ++pos_;
    const std::string word = to_lower(s_.substr(start, pos_ - start));
    for (std::size_t m = 0; m < kMonthNames.size(); ++m)
      if (word == kMonthNames[m] || (word.size() == 3 && kMonthNames[m].starts_with(word)))
        return static_cast<int>(m) + 1;
    pos_ = start;
    return std::nullopt;
  }

  // Fraction digits after a point, as a value below 1.
  double fraction() {
    double value = 0, scale = 0.1;
    while (!at_end() && is_digit(s_[pos_])) {
      value += (s_[pos_++] - '0') * scale;
      scale /= 10;
    }
    return value;
  }

  // "AM" / "PM" (or "A" / "P"), any case.
  std::optional<bool> meridiem() {
    const std::size_t start = pos_;
    const char c = static_cast<char>(peek() | 0x20);
    if (c != 'a' && c != 'p') return std::nullopt;
    ++pos_;
    if ((peek() | 0x20) == 'm') ++pos_;
    if (!at_end() && is_letter(peek())) {
      pos_ = start;
      return std::nullopt;
    }
    return c == 'p';
  }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
};

// Two-digit years: 00-29 are this century's, 30-99 the last one's.
int full_year(int year, std::size_t digit_count) {
  if (digit_count > 2) return year;
  return year < 30 ? 2000 + year : 1900 + year;
}

std::optional<double> valid_date(int year, int month, int day) {
  if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
  const double serial = serial_from_date(year, month, day);
  // A day beyond the month's end lands in the next month: not a date.
  const CivilDate back = date_from_serial(serial);
  if (back.month != month || back.day != day) return std::nullopt;
  return serial;
}

// "6/2/2003", "2003-06-02", "2003/6/2", "2-Jun-2003", "2 June 2003",
// "June 2, 2003", "Jun-03" (the first of the month).
std::optional<double> date_part(Scanner& in) {
  const std::size_t start = in.position();
  auto fail = [&]() -> std::optional<double> {
    in.reset(start);
    return std::nullopt;
  };
  if (auto month = in.month_name()) {  // June 2, 2003 / Jun-03 / Jun 2003
    const bool dash = in.accept('-');
    if (!dash) in.skip_blanks();
    const std::size_t first_at = in.position();
    const auto first = in.digits(4);
    if (!first) return fail();
    const std::size_t first_digits = in.last_digit_count(first_at);
    const std::size_t mark = in.position();
    in.accept(',');
    in.skip_blanks();
    const std::size_t year_at = in.position();
    if (auto year = in.digits(4)) return valid_date(full_year(*year, in.last_digit_count(year_at)), *month, *first);
    in.reset(mark);
    if (first_digits <= 2 && !dash && *first <= 31) return fail();  // "June 2" needs this year: not read here
    return valid_date(full_year(*first, first_digits), *month, 1);
  }
  const std::size_t first_at = in.position();
  const auto first = in.digits(4);
  if (!first) return fail();
  const std::size_t first_digits = in.last_digit_count(first_at);
  const char separator = in.peek();
  if (separator == '/' || separator == '-') {
    in.accept(separator);
    if (auto month = in.month_name()) {  // 2-Jun-2003
      if (!in.accept(separator)) return fail();
      const std::size_t year_at = in.position();
      const auto year = in.digits(4);
      if (!year) return fail();
      return valid_date(full_year(*year, in.last_digit_count(year_at)), *month, *first);
    }
    const auto second = in.digits(2);
    if (!second || !in.accept(separator)) return fail();
    const std::size_t third_at = in.position();
    const auto third = in.digits(4);
    if (!third) return fail();
    if (first_digits == 4) return valid_date(*first, *second, *third);  // year first
    return valid_date(full_year(*third, in.last_digit_count(third_at)), *first, *second);
  }
  if (separator == ' ') {  // 2 June 2003
    in.skip_blanks();
    const auto month = in.month_name();
    if (!month) return fail();
    in.skip_blanks();
    const std::size_t year_at = in.position();
    const auto year = in.digits(4);
    if (!year) return fail();
    return valid_date(full_year(*year, in.last_digit_count(year_at)), *month, *first);
  }
  return fail();
}

// "14:30", "14:30:15", "2:30:15.5 PM", "2 PM". Minutes past 59 are taken
// as they come ("0:90" is 1:30) unless seconds follow them.
std::optional<double> time_part(Scanner& in) {
  const std::size_t start = in.position();
  auto fail = [&]() -> std::optional<double> {
    in.reset(start);
    return std::nullopt;
  };
  const auto hours = in.digits(5);
  if (!hours) return fail();
  double seconds = 0;
  int minutes = 0;
  bool has_minutes = false;
  if (in.accept(':')) {
    const auto m = in.digits(5);
    if (!m) return fail();
    minutes = *m;
    has_minutes = true;
    if (in.accept(':')) {
      const auto s = in.digits(5);
      if (!s) return fail();
      seconds = *s;
      if (in.accept('.')) seconds += in.fraction();
      if (minutes > 59 || seconds >= 60) return fail();
    }
  }
  in.skip_blanks();
  int hour = *hours;
  if (auto pm = in.meridiem()) {
    if (hour > 12 || (hour == 0 && !has_minutes)) return fail();
    hour = hour % 12 + (*pm ? 12 : 0);
  } else if (!has_minutes) {
    return fail();
  }
  if (hour > 9999) return fail();
  return (hour * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
}

// "$1,234.50", "-$5", "($5)", "$-5".
std::optional<double> currency(std::string_view text) {
  bool negative = false;
  if (text.size() > 2 && text.front() == '(' && text.back() == ')') {
    negative = true;
    text = trim_blanks(text.substr(1, text.size() - 2));
  }
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    if (negative) return std::nullopt;
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (!text.starts_with('$')) return std::nullopt;
  text.remove_prefix(1);
  if (text.empty() || text.front() == '$') return std::nullopt;
  const auto amount = number_from_text(text);
  if (!amount || (negative && *amount < 0)) return std::nullopt;
  return negative ? -*amount : *amount;
}

}  // namespace

std::optional<double> date_time_from_text(std::string_view text) {
  Scanner in(trim_blanks(text));
  if (in.at_end()) return std::nullopt;
  double serial = 0;
  bool any = false;
  if (auto date = date_part(in)) {
    serial = *date;
    any = true;
    in.skip_blanks();
  }
  if (auto time = time_part(in)) {
    serial += *time;
    any = true;
  }
  in.skip_blanks();
  if (!any || !in.at_end()) return std::nullopt;
  return serial;
}

std::optional<double> number_from_any_text(std::string_view text) {
  if (auto n = number_from_text(text)) return n;
  const std::string_view trimmed = trim_blanks(text);
  if (auto amount = currency(trimmed)) return amount;
  return date_time_from_text(trimmed);
}

}  // namespace engine::formula
