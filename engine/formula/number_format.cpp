#include "engine/formula/number_format.hpp"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/formula/dates.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// One piece of a format section: a placeholder or operator character, or
// literal text ("..." quoted, \-escaped, or a plain symbol).
struct Piece {
  char code;  // '0' '#' '?' '.' ',' '%' or 0 for literal text
  std::string literal;
};

std::vector<std::string> split_sections(std::string_view format) {
  std::vector<std::string> sections(1);
  bool quoted = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '"') quoted = !quoted;
    if (c == '\\' && i + 1 < format.size()) {
      sections.back() += format.substr(i++, 2);
      continue;
    }
    if (c == ';' && !quoted) {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

std::vector<Piece> pieces_of(std::string_view section) {
  std::vector<Piece> pieces;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    if (c == '"') {
      const auto end = section.find('"', i + 1);
      pieces.push_back({0, std::string(section.substr(i + 1, end - i - 1))});
      if (end == std::string_view::npos) break;
      i = end;
    } else if (c == '\\' && i + 1 < section.size()) {
      pieces.push_back({0, std::string(1, section[++i])});
    } else if (c == '[') {  // colours and conditions do not change the text
      const auto end = section.find(']', i);
      if (end == std::string_view::npos) break;
      i = end;
    } else if (std::string_view("0#?.,%").find(c) != std::string_view::npos) {
      pieces.push_back({c, {}});
    } else if (c != '_' && c != '*') {
      pieces.push_back({0, std::string(1, c)});
    } else {
      ++i;  // "_x" pads and "*x" fills: no text of their own here
    }
  }
  return pieces;
}

bool is_date_format(std::string_view section) {
  bool quoted = false;
  for (std::size_t i = 0; i < section.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(section[i])));
    if (section[i] == '"') quoted = !quoted;
    if (section[i] == '\\') ++i;
    else if (!quoted && std::string_view("dmyhs").find(c) != std::string_view::npos) return true;
  }
  return false;
}

std::string group_thousands(const std::string& digits) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string format_numeric(double value, std::string_view section) {
  const std::vector<Piece> pieces = pieces_of(section);
  int integer_zeros = 0, decimals = 0, percents = 0;
  bool in_decimals = false, grouping = false, any_placeholder = false;
  std::string decimal_codes;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const char c = pieces[i].code;
    if (c == '%') ++percents;
    if (c == '.') in_decimals = true;
    if (c == ',' && any_placeholder && !in_decimals) {
      const bool between_digits = i + 1 < pieces.size() && std::string_view("0#?").find(pieces[i + 1].code) != std::string_view::npos && pieces[i + 1].code != 0;
      if (between_digits) grouping = true;
      else value /= 1000;  // a trailing comma scales by a thousand
    }
    if (c == '0' || c == '#' || c == '?') {
      any_placeholder = true;
      if (in_decimals) {
        ++decimals;
        decimal_codes += c;
      } else if (c == '0') {
        ++integer_zeros;
      }
    }
  }
  value *= std::pow(100.0, percents);
  std::array<char, 400> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, std::fabs(value));
  std::string number = buffer.data();
  const auto point = number.find('.');
  std::string integer = number.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : number.substr(point + 1);
  if (integer == "0" && integer_zeros == 0) integer.clear();
  while (static_cast<int>(integer.size()) < integer_zeros) integer.insert(integer.begin(), '0');
  if (grouping) integer = group_thousands(integer);
  // Optional decimals ("#") drop their trailing zeros.
  while (!fraction.empty() && decimal_codes[fraction.size() - 1] == '#' && fraction.back() == '0') fraction.pop_back();

  std::string out;
  bool integer_done = false, point_done = false;
  for (const Piece& piece : pieces) {
    if (piece.code == 0) out += piece.literal;
    else if (piece.code == '%') out += '%';
    else if (piece.code == '.' && !point_done) {
      point_done = true;
      if (!integer_done) out += integer, integer_done = true;
      if (!fraction.empty() || decimal_codes.find('0') != std::string::npos) out += '.' + fraction;
    } else if ((piece.code == '0' || piece.code == '#' || piece.code == '?') && !integer_done && !point_done) {
      out += integer;
      integer_done = true;
    }
  }
  if (!integer_done && !point_done && any_placeholder) out += integer;
  return out;
}

constexpr std::array<const char*, 12> month_names{"January", "February", "March",     "April",   "May",      "June",
                                                  "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> day_names{"Saturday", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};

std::string two_digits(int n) {
  std::array<char, 16> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%02d", n);
  return buffer.data();
}

std::string format_date(double serial, std::string_view section) {
  if (serial < 0 || serial > max_serial + 1) return std::string(error_text(CellError::Value));
  const CivilDate date = date_from_serial(serial);
  const long seconds = std::lround((serial - std::floor(serial)) * 86400);
  const int hour = static_cast<int>(seconds / 3600), minute = static_cast<int>(seconds / 60 % 60),
            second = static_cast<int>(seconds % 60);
  const int weekday = static_cast<int>(static_cast<long>(std::floor(serial)) % 7);
  std::string out;
  bool after_hour = false;
  for (std::size_t i = 0; i < section.size();) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(section[i])));
    std::size_t run = 1;
    while (i + run < section.size() && std::tolower(static_cast<unsigned char>(section[i + run])) == c) ++run;
    const auto next_letter = section.find_first_of("dmyhsDMYHS", i + run);
    const bool minutes_follow_hour = after_hour || (next_letter != std::string_view::npos &&
                                                    std::tolower(static_cast<unsigned char>(section[next_letter])) == 's');
    if (c == 'y') out += run <= 2 ? two_digits(date.year % 100) : std::to_string(date.year);
    else if (c == 'm' && run <= 2 && minutes_follow_hour) out += run == 2 ? two_digits(minute) : std::to_string(minute);
    else if (c == 'm') out += run == 1 ? std::to_string(date.month) : run == 2 ? two_digits(date.month)
                          : run == 3 ? std::string(month_names[static_cast<std::size_t>(date.month - 1)]).substr(0, 3)
                                     : month_names[static_cast<std::size_t>(date.month - 1)];
    else if (c == 'd') out += run == 1 ? std::to_string(date.day) : run == 2 ? two_digits(date.day)
                          : run == 3 ? std::string(day_names[static_cast<std::size_t>(weekday)]).substr(0, 3)
                                     : day_names[static_cast<std::size_t>(weekday)];
    else if (c == 'h') out += run == 1 ? std::to_string(hour) : two_digits(hour);
    else if (c == 's') out += run == 1 ? std::to_string(second) : two_digits(second);
    else if (section[i] == '"') {
      const auto end = section.find('"', i + 1);
      out += section.substr(i + 1, end - i - 1);
      i = end == std::string_view::npos ? section.size() : end + 1;
      continue;
    } else if (section[i] == '\\' && i + 1 < section.size()) {
      out += section[i + 1];
      i += 2;
      continue;
    } else {
      out += section.substr(i, run);
    }
    if (c == 'h') after_hour = true;
    else if (c != 'm' && std::isalpha(static_cast<unsigned char>(c))) after_hour = false;
    i += run;
  }
  return out;
}

}  // namespace

std::string format_value(const Value& value, std::string_view format) {
  if (!value.is_number()) {
    // Text goes through the text section ("@"), or is left as it is.
    const std::string text = value_to_text(value);
    const auto sections = split_sections(format);
    if (sections.size() < 4 && format.find('@') == std::string_view::npos) return text;
    std::string out;
    for (const Piece& piece : pieces_of(sections.size() >= 4 ? sections[3] : std::string(format)))
      out += piece.literal == "@" ? text : piece.literal;
    return out;
  }
  double number = value.number();
  const auto sections = split_sections(format);
  std::string_view section = sections[0];
  bool add_sign = number < 0;
  if (number < 0 && sections.size() >= 2) {
    section = sections[1];
    add_sign = false;
    number = -number;
  } else if (number == 0 && sections.size() >= 3) {
    section = sections[2];
  }
  if (section.empty() || equal_ignoring_case(section, "General")) return number_to_text(value.number());
  if (is_date_format(section)) return format_date(number, section);
  const std::string body = format_numeric(number, section);
  // A negative number rounded to zero shows no sign.
  const bool nonzero = body.find_first_of("123456789") != std::string::npos;
  return (add_sign && nonzero ? "-" : "") + body;
}

}  // namespace engine::formula
