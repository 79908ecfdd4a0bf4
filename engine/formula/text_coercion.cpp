// Text read as a number the way formulas read it (English, United States,
// unless a DateReading says otherwise): plain numbers, currency amounts,
// dates and times. Typing into a cell (engine/model's data entry) reads
// its dates here too, in the user's order and language, and decides the
// cell's format from the form the date had.
#include <array>
#include <cmath>

#include "engine/formula/context.hpp"
#include "engine/formula/dates.hpp"
#include "engine/formula/text.hpp"
#include "engine/formula/value.hpp"

namespace engine::formula {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames{"january", "february", "march",     "april",   "may",      "june",
                                                       "july",    "august",   "september", "october", "november", "december"};
constexpr std::array<std::string_view, 12> kFrenchMonthNames{"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                                             "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
// The abbreviations French dates are written with ("2-févr", "déc-03").
constexpr std::array<std::string_view, 12> kFrenchAbbreviations{"janv", "févr", "mars", "avr", "mai", "juin",
                                                                "juil", "août", "sept", "oct", "nov", "déc"};

bool is_digit(char c) { return c >= '0' && c <= '9'; }
// Letters of month names: ASCII ones and the bytes of accented ones ("é").
bool is_letter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

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

  // A month by its English name or its first three letters ("Jun",
  // "june"), or by its French name or abbreviation ("juin", "févr").
  std::optional<int> month_name(bool french) {
    const std::size_t start = pos_;
    while (!at_end() && is_letter(s_[pos_])) ++pos_;
    const std::string word = to_lower(s_.substr(start, pos_ - start));
    for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
      const bool named = french ? word == kFrenchMonthNames[m] || word == kFrenchAbbreviations[m]
                                : word == kMonthNames[m] || (word.size() == 3 && kMonthNames[m].starts_with(word));
      if (named) return static_cast<int>(m) + 1;
    }
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


// The year of a date written without one.
int this_year(const DateReading& reading) {
  if (reading.current_year) return *reading.current_year;
  return year_of_serial(current_serial_time());
}

// "6/2/2003", "2003-06-02", "2003/6/2", "2-Jun-2003", "2 June 2003",
// "June 2, 2003", "Jun-03" (the first of the month); without a year,
// "6/2", "2-Jun", "2 June" and "June 2" (this year). Day and month come in
// the reading's order in numeric dates, month names in its language.
std::optional<TextDate> date_part(Scanner& in, const DateReading& reading) {
  const std::size_t start = in.position();
  auto fail = [&]() -> std::optional<TextDate> {
    in.reset(start);
    return std::nullopt;
  };
  auto finish = [&](std::optional<double> serial, DateShape shape) -> std::optional<TextDate> {
    if (!serial) return fail();
    return TextDate{*serial, shape};
  };
  const bool french = reading.french_month_names;
  if (auto month = in.month_name(french)) {  // June 2, 2003 / Jun-03 / Jun 2003 / June 2
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
    if (auto year = in.digits(4))
      return finish(valid_date_serial(full_year(*year, in.last_digit_count(year_at)), *month, *first), DateShape::DayMonthYear);
    in.reset(mark);
    if (first_digits <= 2 && !dash && *first <= 31)
      return finish(valid_date_serial(this_year(reading), *month, *first), DateShape::DayMonth);
    return finish(valid_date_serial(full_year(*first, first_digits), *month, 1), DateShape::MonthYear);
  }
  const std::size_t first_at = in.position();
  const auto first = in.digits(4);
  if (!first) return fail();
  const std::size_t first_digits = in.last_digit_count(first_at);
  const char separator = in.peek();
  if (separator == '/' || separator == '-') {
    in.accept(separator);
    if (auto month = in.month_name(french)) {  // 2-Jun-2003 / 2-Jun
      if (first_digits > 2) return fail();
      if (!in.accept(separator)) return finish(valid_date_serial(this_year(reading), *month, *first), DateShape::DayMonth);
      const std::size_t year_at = in.position();
      const auto year = in.digits(4);
      if (!year) return fail();
      return finish(valid_date_serial(full_year(*year, in.last_digit_count(year_at)), *month, *first), DateShape::DayMonthYear);
    }
    const auto second = in.digits(2);
    if (!second) return fail();
    if (!in.accept(separator)) {  // 6/2: month and day (day and month) of this year
      if (first_digits > 2 || reading.order == DateReading::Order::YearMonthDay) return fail();
      const bool month_first = reading.order == DateReading::Order::MonthDayYear;
      return finish(valid_date_serial(this_year(reading), month_first ? *first : *second, month_first ? *second : *first),
                    DateShape::DayMonth);
    }
    const std::size_t third_at = in.position();
    const auto third = in.digits(4);
    if (!third) return fail();
    if (first_digits == 4 || reading.order == DateReading::Order::YearMonthDay)
      return finish(valid_date_serial(full_year(*first, first_digits), *second, *third), DateShape::Numeric);
    const int year = full_year(*third, in.last_digit_count(third_at));
    if (reading.order == DateReading::Order::DayMonthYear)
      return finish(valid_date_serial(year, *second, *first), DateShape::Numeric);
    return finish(valid_date_serial(year, *first, *second), DateShape::Numeric);
  }
  if (separator == ' ') {  // 2 June 2003 / 2 June
    in.skip_blanks();
    const auto month = in.month_name(french);
    if (!month) return fail();
    const std::size_t mark = in.position();
    in.skip_blanks();
    const std::size_t year_at = in.position();
    const auto year = in.digits(4);
    if (!year) {
      in.reset(mark);
      return finish(valid_date_serial(this_year(reading), *month, *first), DateShape::DayMonth);
    }
    return finish(valid_date_serial(full_year(*year, in.last_digit_count(year_at)), *month, *first), DateShape::DayMonthYear);
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

std::optional<TextDate> date_from_text(std::string_view text, const DateReading& reading) {
  Scanner in(trim_blanks(text));
  const auto date = date_part(in, reading);
  in.skip_blanks();
  if (!date || !in.at_end()) return std::nullopt;
  return date;
}

std::optional<double> date_time_from_text(std::string_view text, const DateReading& reading) {
  Scanner in(trim_blanks(text));
  if (in.at_end()) return std::nullopt;
  double serial = 0;
  bool any = false;
  if (auto date = date_part(in, reading)) {
    serial = date->serial;
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

std::optional<double> number_from_any_text(std::string_view text, const DateReading& reading) {
  if (auto n = number_from_text(text)) return n;
  const std::string_view trimmed = trim_blanks(text);
  if (auto amount = currency(trimmed)) return amount;
  return date_time_from_text(trimmed, reading);
}

}  // namespace engine::formula
