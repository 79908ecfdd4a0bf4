#include "engine/model/data_entry.hpp"

#include <cctype>
#include <cmath>
#include <vector>

#include "engine/formula/dates.hpp"
#include "engine/model/number_format.hpp"
#include "engine/model/text.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

struct Parsed {
  double value;
  std::optional<std::string> number_format;
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Digits with optional thousands separators (groups of exactly three after
// each separator); returns the digits or nothing.
std::optional<std::string> integer_part(std::string_view text, char separator, bool& grouped) {
  std::string digits;
  std::size_t group = 0;
  bool seen_separator = false;
  for (char c : text) {
    if (is_digit(c)) {
      digits += c;
      ++group;
    } else if (c == separator && !digits.empty() && (!seen_separator || group == 3)) {
      seen_separator = true;
      group = 0;
    } else {
      return std::nullopt;
    }
  }
  if (seen_separator && group != 3) return std::nullopt;
  grouped = seen_separator;
  return digits;
}

std::optional<Parsed> parse_number(std::string_view text, const EntryLocale& locale) {
  text = trim_blanks(text);
  bool negative = false;
  bool parenthesised = false;
  if (text.size() > 2 && text.front() == '(' && text.back() == ')') {
    parenthesised = true;
    text = text.substr(1, text.size() - 2);
  }
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (parenthesised && negative) return std::nullopt;
  const bool percent = !text.empty() && text.back() == '%';
  if (percent) text.remove_suffix(1);

  std::string_view exponent;
  if (const auto e = text.find_first_of("eE"); e != std::string_view::npos) {
    exponent = text.substr(e + 1);
    text = text.substr(0, e);
    std::string_view digits = exponent;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 3) return std::nullopt;
    for (char c : digits) {
      if (!is_digit(c)) return std::nullopt;
    }
  }
  std::string_view integer = text;
  std::string_view fraction;
  bool has_point = false;
  if (const auto point = text.find(locale.decimal_separator); point != std::string_view::npos) {
    has_point = true;
    integer = text.substr(0, point);
    fraction = text.substr(point + 1);
  }
  bool grouped = false;
  const auto digits = integer_part(integer, locale.thousands_separator, grouped);
  if (!digits) return std::nullopt;
  for (char c : fraction) {
    if (!is_digit(c)) return std::nullopt;
  }
  if (digits->empty() && fraction.empty()) return std::nullopt;

  std::string plain = digits->empty() ? std::string("0") : *digits;
  plain.append(".").append(fraction).append("0");
  if (!exponent.empty()) plain.append("e").append(exponent);
  double value = std::strtod(plain.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  if (negative || parenthesised) value = -value;
  const bool decimals = has_point && !fraction.empty();

  Parsed parsed{percent ? value / 100 : value, std::nullopt};
  if (percent) {
    parsed.number_format = decimals ? "0.00%" : "0%";
  } else if (!exponent.empty()) {
    parsed.number_format = "0.00E+00";
  } else if (grouped) {
    parsed.number_format = decimals ? "#,##0.00" : "#,##0";
  }
  return parsed;
}

std::vector<int> numeric_fields(std::string_view text, char separator) {
  std::vector<int> fields;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto end = std::min(text.find(separator, start), text.size());
    const auto field = text.substr(start, end - start);
    if (field.empty() || field.size() > 4) return {};
    int value = 0;
    for (char c : field) {
      if (!is_digit(c)) return {};
      value = value * 10 + (c - '0');
    }
    fields.push_back(value);
    start = end + 1;
  }
  return fields;
}

formula::DateReading date_reading(const EntryLocale& locale, std::optional<int> current_year) {
  formula::DateReading reading;
  switch (locale.date_order) {
    case EntryLocale::DateOrder::MonthDayYear: reading.order = formula::DateReading::Order::MonthDayYear; break;
    case EntryLocale::DateOrder::DayMonthYear: reading.order = formula::DateReading::Order::DayMonthYear; break;
    case EntryLocale::DateOrder::YearMonthDay: reading.order = formula::DateReading::Order::YearMonthDay; break;
  }
  reading.french_month_names = locale.french_month_names;
  reading.current_year = current_year;
  return reading;
}

// The format Excel gives a General cell for each form of typed date.
int date_format_id(formula::DateShape shape) {
  switch (shape) {
    case formula::DateShape::Numeric: return 14;       // m/d/yyyy
    case formula::DateShape::DayMonth: return 16;      // d-mmm
    case formula::DateShape::DayMonthYear: return 15;  // d-mmm-yy
    case formula::DateShape::MonthYear: return 17;     // mmm-yy
  }
  return 14;
}

// "h:mm" or "h:mm:ss" as a fraction of a day.
std::optional<Parsed> parse_time(std::string_view text) {
  const auto fields = numeric_fields(text, ':');
  if (fields.size() < 2 || fields.size() > 3 || fields[1] > 59 || (fields.size() == 3 && fields[2] > 59)) {
    return std::nullopt;
  }
  const double seconds = fields[0] * 3600.0 + fields[1] * 60.0 + (fields.size() == 3 ? fields[2] : 0);
  return Parsed{seconds / 86400.0, fields.size() == 3 ? "h:mm:ss" : "h:mm"};
}

// A date ("6/2/2003", "2-Jun", "2 juin 2003"), a date and a time after its
// last blank, or a time.
std::optional<Parsed> parse_date_time(std::string_view text, const formula::DateReading& reading) {
  text = trim_blanks(text);
  if (const auto date = formula::date_from_text(text, reading))
    return Parsed{date->serial, std::string(*builtin_number_format(date_format_id(date->shape)))};
  const auto blank = text.rfind(' ');
  if (blank != std::string_view::npos) {
    const auto date = formula::date_from_text(text.substr(0, blank), reading);
    const auto time = parse_time(trim_blanks(text.substr(blank + 1)));
    if (!date || !time) return std::nullopt;
    return Parsed{date->serial + time->value, std::string(*builtin_number_format(22))};
  }
  return parse_time(text);
}

std::optional<bool> parse_boolean(std::string_view text, const EntryLocale& locale) {
  const std::string folded = lower(text);
  if (folded == (locale.french_booleans ? "vrai" : "true")) return true;
  if (folded == (locale.french_booleans ? "faux" : "false")) return false;
  return std::nullopt;
}

Entry constant(formula::Value value, std::optional<std::string> number_format = std::nullopt) {
  Entry entry;
  entry.kind = Entry::Kind::Constant;
  entry.value = std::move(value);
  entry.number_format = std::move(number_format);
  return entry;
}

Entry formula_entry(std::shared_ptr<const formula::Formula> parsed) {
  Entry entry;
  entry.kind = Entry::Kind::Formula;
  entry.formula = std::move(parsed);
  return entry;
}

}  // namespace

std::optional<double> date_serial(int year, int month, int day) {
  return formula::valid_date_serial(year, month, day);
}

Entry interpret_entry(std::string_view typed, std::string_view number_format, const EntryLocale& locale,
                      std::optional<int> current_year) {
  if (typed.empty()) return Entry{};
  if (typed.front() == '\'') {
    Entry entry = constant(formula::Value(std::string(typed.substr(1))));
    entry.quote_prefix = true;
    return entry;
  }
  if (is_text_format(number_format)) return constant(formula::Value(std::string(typed)));
  if (typed.front() == '=') {
    try {
      return formula_entry(formula::parse(typed));
    } catch (const formula::ParseError& e) {
      platform::com::raise(platform::com::err::ApplicationDefined, "Range",
                           "The formula you typed contains an error: " + std::string(e.what()));
    }
  }
  if (const auto number = parse_number(typed, locale)) return constant(formula::Value(number->value), number->number_format);
  if (typed.front() == '+' || typed.front() == '-') {
    // Excel reads a signed expression as a formula; text it cannot parse stays text.
    try {
      return formula_entry(formula::parse(typed));
    } catch (const formula::ParseError&) {
      return constant(formula::Value(std::string(typed)));
    }
  }
  if (const auto when = parse_date_time(typed, date_reading(locale, current_year))) return constant(formula::Value(when->value), when->number_format);
  if (const auto boolean = parse_boolean(typed, locale)) return constant(formula::Value(*boolean));
  if (const auto error = formula::error_from_text(typed)) return constant(formula::Value(*error));
  return constant(formula::Value(std::string(typed)));
}

}  // namespace engine::model
