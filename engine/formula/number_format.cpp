#include "engine/formula/number_format.hpp"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "engine/formula/dates.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// ---------------------------------------------------------------------------
// Sections and their tokens.

enum class TokenKind {
  Digit,     // 0 # ?
  Point,     // .
  Comma,     // , (grouping between digits, else a thousand's scaling)
  Percent,   // %
  Exponent,  // E+ E- e+ e-
  Slash,     // / between digits: a fraction
  Literal,   // quoted, escaped or plain text
  TextValue, // @
  General,   // General
  DatePart,  // y m d h s, AM/PM, A/P, [h] [m] [s], and the decimals of seconds
};

struct Token {
  TokenKind kind;
  std::string text;  // the code as written ("0", "E+", "yyyy", "AM/PM", "[h]") or the literal
};

struct Condition {
  enum class Op { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual } op;
  double number;
  bool holds(double x) const {
    switch (op) {
      case Op::Less: return x < number;
      case Op::LessEqual: return x <= number;
      case Op::Greater: return x > number;
      case Op::GreaterEqual: return x >= number;
      case Op::Equal: return x == number;
      case Op::NotEqual: return x != number;
    }
    return false;
  }
};

struct Section {
  std::vector<Token> tokens;
  std::optional<Condition> condition;
  bool is_date = false;
  bool empty = true;  // nothing at all was written: the value is hidden
};

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equal_ignoring_case(text.substr(0, prefix.size()), prefix);
}

std::vector<std::string> split_sections(std::string_view format) {
  std::vector<std::string> sections(1);
  bool quoted = false, bracketed = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '"' && !bracketed) quoted = !quoted;
    if (c == '[' && !quoted) bracketed = true;
    if (c == ']' && !quoted) bracketed = false;
    if (c == '\\' && i + 1 < format.size() && !quoted) {
      sections.back() += format.substr(i++, 2);
      continue;
    }
    if (c == ';' && !quoted && !bracketed) {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

std::optional<Condition> parse_condition(std::string_view inside) {
  static constexpr std::pair<std::string_view, Condition::Op> ops[] = {
      {"<=", Condition::Op::LessEqual}, {">=", Condition::Op::GreaterEqual}, {"<>", Condition::Op::NotEqual},
      {"<", Condition::Op::Less},       {">", Condition::Op::Greater},       {"=", Condition::Op::Equal}};
  for (const auto& [text, op] : ops) {
    if (!inside.starts_with(text)) continue;
    if (auto n = number_from_text(inside.substr(text.size()))) return Condition{op, *n};
    return std::nullopt;
  }
  return std::nullopt;
}

// "[Red]" and "[Color12]" change the colour only; "[<100]" is a condition;
// "[h]", "[mm]", "[ss]" are elapsed time; "[$€-40C]" writes its symbol.
void read_bracket(std::string_view inside, Section& section) {
  const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(inside.empty() ? ' ' : inside[0])));
  if (first == '<' || first == '>' || first == '=') {
    section.condition = parse_condition(inside);
  } else if ((first == 'h' || first == 'm' || first == 's') &&
             inside.find_first_not_of(inside.substr(0, 1)) == std::string_view::npos) {
    section.tokens.push_back({TokenKind::DatePart, "[" + to_lower(inside) + "]"});
    section.is_date = true;
  } else if (first == '$') {
    const auto dash = inside.find('-');
    section.tokens.push_back({TokenKind::Literal, std::string(inside.substr(1, dash == std::string_view::npos ? dash : dash - 1))});
  }
}

// The bytes of the UTF-8 character starting at `i` (1 for a stray byte),
// without decoding the rest of the text.
std::size_t character_bytes(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return std::min(length, text.size() - i);
}

bool is_date_letter(char c) {
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 's';
}

Section parse_section(std::string_view text) {
  Section section;
  section.empty = text.empty();
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto literal = [&](std::string value, std::size_t used) {
      section.tokens.push_back({TokenKind::Literal, std::move(value)});
      i += used;
    };
    if (c == '"') {
      const auto end = text.find('"', i + 1);
      literal(std::string(text.substr(i + 1, end == std::string_view::npos ? end : end - i - 1)),
              end == std::string_view::npos ? text.size() - i : end - i + 1);
    } else if (c == '\\' && i + 1 < text.size()) {
      const std::size_t length = character_bytes(text, i + 1);
      literal(std::string(text.substr(i + 1, length)), length + 1);
    } else if (c == '_' && i + 1 < text.size()) {
      literal(" ", 1 + character_bytes(text, i + 1));  // the width of a character
    } else if (c == '*' && i + 1 < text.size()) {
      i += 1 + character_bytes(text, i + 1);  // a fill has no width in text
    } else if (c == '[') {
      const auto end = text.find(']', i);
      if (end == std::string_view::npos) {
        literal(std::string(text.substr(i)), text.size() - i);
        continue;
      }
      read_bracket(text.substr(i + 1, end - i - 1), section);
      i = end + 1;
    } else if (starts_with_ignoring_case(text.substr(i), "General")) {
      section.tokens.push_back({TokenKind::General, "General"});
      i += 7;
    } else if (starts_with_ignoring_case(text.substr(i), "AM/PM") || starts_with_ignoring_case(text.substr(i), "A/P")) {
      const std::size_t length = starts_with_ignoring_case(text.substr(i), "AM/PM") ? 5 : 3;
      section.tokens.push_back({TokenKind::DatePart, std::string(text.substr(i, length))});
      section.is_date = true;
      i += length;
    } else if (is_date_letter(c)) {
      std::size_t run = 1;
      while (i + run < text.size() && std::tolower(static_cast<unsigned char>(text[i + run])) == lower) ++run;
      section.tokens.push_back({TokenKind::DatePart, std::string(run, lower)});
      section.is_date = true;
      i += run;
    } else if ((c == 'E' || c == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
      section.tokens.push_back({TokenKind::Exponent, std::string(text.substr(i, 2))});
      i += 2;
    } else if (c == '0' || c == '#' || c == '?') {
      section.tokens.push_back({TokenKind::Digit, std::string(1, c)});
      ++i;
    } else if (c == '.' || c == ',' || c == '%' || c == '/' || c == '@') {
      static constexpr std::pair<char, TokenKind> kinds[] = {{'.', TokenKind::Point},   {',', TokenKind::Comma},
                                                             {'%', TokenKind::Percent}, {'/', TokenKind::Slash},
                                                             {'@', TokenKind::TextValue}};
      for (auto [code, kind] : kinds)
        if (code == c) section.tokens.push_back({kind, std::string(1, c)});
      ++i;
    } else {
      const std::size_t length = character_bytes(text, i);
      literal(std::string(text.substr(i, length)), length);
    }
  }
  return section;
}

// ---------------------------------------------------------------------------
// Digits, rounded as Excel rounds what it shows: on the 15 significant
// digits it keeps, halves away from zero (2.675 with two decimals is 2.68).

struct Digits {
  std::string integer;   // without leading zeros; "" for zero
  std::string fraction;  // exactly the decimals asked for
};

Digits decimal_digits(double value, int decimals) {
  Digits out{"", std::string(static_cast<std::size_t>(decimals), '0')};
  if (value == 0 || !std::isfinite(value)) return out;
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.14e", std::fabs(value));
  std::string digits;
  for (const char* p = buffer.data(); *p && *p != 'e'; ++p)
    if (*p != '.') digits += *p;
  int point = std::atoi(std::strchr(buffer.data(), 'e') + 1) + 1;  // digits before the decimal point
  const int keep = point + decimals;
  if (keep < 0) return out;
  if (keep < static_cast<int>(digits.size())) {
    const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    for (int i = keep - 1; up && i >= -1; --i) {
      if (i == -1) {
        digits.insert(digits.begin(), '1');
        ++point;
        break;
      }
      char& d = digits[static_cast<std::size_t>(i)];
      if (d == '9') {
        d = '0';
      } else {
        ++d;
        break;
      }
    }
  }
  if (point <= 0) digits.insert(0, static_cast<std::size_t>(-point + 1), '0'), point = 1;
  digits.resize(std::max<std::size_t>(digits.size(), static_cast<std::size_t>(point + decimals)), '0');
  out.integer = digits.substr(0, static_cast<std::size_t>(point));
  out.fraction = digits.substr(static_cast<std::size_t>(point), static_cast<std::size_t>(decimals));
  const auto first = out.integer.find_first_not_of('0');
  out.integer = first == std::string::npos ? "" : out.integer.substr(first);
  return out;
}

// ---------------------------------------------------------------------------
// Numbers.

bool is_digit_token(const Token& t) { return t.kind == TokenKind::Digit; }

// What a placeholder shows where the number has no digit for it.
std::string filler(const Token& placeholder) {
  if (placeholder.text == "0") return "0";
  if (placeholder.text == "?") return " ";
  return "";
}

// Tokens [first, last) holding integer placeholders, filled from the right
// with `digits`; the leftmost placeholder takes every digit left over.
// Grouping puts a comma before every third digit from the right.
std::string fill_integer(const std::vector<Token>& tokens, std::size_t first, std::size_t last,
                         const std::string& digits, bool grouping) {
  std::size_t leftmost = last;
  for (std::size_t i = first; i < last; ++i)
    if (is_digit_token(tokens[i])) {
      leftmost = i;
      break;
    }
  std::vector<std::string> pieces;  // right to left
  std::size_t used = 0, shown = 0;
  auto put_digit = [&](char d) {
    if (grouping && shown > 0 && shown % 3 == 0) pieces.emplace_back(",");
    pieces.emplace_back(1, d);
    ++shown;
  };
  for (std::size_t i = last; i-- > first;) {
    const Token& t = tokens[i];
    if (!is_digit_token(t)) {
      if (t.kind == TokenKind::Literal) pieces.push_back(t.text);
      else if (t.kind == TokenKind::Percent) pieces.emplace_back("%");
      continue;
    }
    if (i == leftmost) {
      const bool none_left = used == digits.size();
      while (used < digits.size()) put_digit(digits[digits.size() - 1 - used++]);
      if (none_left && t.text == "0") put_digit('0');
      else if (none_left) pieces.push_back(filler(t));
    } else if (used < digits.size()) {
      put_digit(digits[digits.size() - 1 - used++]);
    } else if (t.text == "0") {
      put_digit('0');
    } else {
      pieces.push_back(filler(t));
    }
  }
  std::string out;
  for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) out += *it;
  return out;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// The decimal placeholders of [first, last) filled from the left; trailing
// zeros of "#" go, those of "?" become blanks.
std::string fill_fraction(const std::vector<Token>& tokens, std::size_t first, std::size_t last,
                          const std::string& fraction) {
  std::vector<std::size_t> places;
  for (std::size_t i = first; i < last; ++i)
    if (is_digit_token(tokens[i])) places.push_back(i);
  std::vector<std::string> shown(places.size());
  bool trailing = true;
  for (std::size_t k = places.size(); k-- > 0;) {
    const char d = fraction[k];
    const std::string& code = tokens[places[k]].text;
    if (trailing && d == '0' && code != "0") shown[k] = code == "?" ? " " : "";
    else shown[k] = std::string(1, d), trailing = false;
  }
  std::string out;
  std::size_t k = 0;
  for (std::size_t i = first; i < last; ++i) {
    if (is_digit_token(tokens[i])) out += shown[k++];
    else if (tokens[i].kind == TokenKind::Literal) out += tokens[i].text;
    else if (tokens[i].kind == TokenKind::Percent) out += '%';
  }
  return out;
}
#pragma GCC diagnostic pop

// The literal text of tokens [first, last) around the digits.
std::string literals(const std::vector<Token>& tokens, std::size_t first, std::size_t last) {
  std::string out;
  for (std::size_t i = first; i < last; ++i) {
    if (tokens[i].kind == TokenKind::Literal) out += tokens[i].text;
    else if (tokens[i].kind == TokenKind::Percent) out += '%';
    else if (tokens[i].kind == TokenKind::Comma || tokens[i].kind == TokenKind::Point) out += tokens[i].text;
  }
  return out;
}

std::size_t find_kind(const std::vector<Token>& tokens, TokenKind kind, std::size_t from = 0) {
  for (std::size_t i = from; i < tokens.size(); ++i)
    if (tokens[i].kind == kind) return i;
  return tokens.size();
}

int count_digits(const std::vector<Token>& tokens, std::size_t first, std::size_t last) {
  int n = 0;
  for (std::size_t i = first; i < last; ++i) n += is_digit_token(tokens[i]) ? 1 : 0;
  return n;
}

// A section's integer part: its commas either group (between two
// placeholders) or divide by a thousand each (after the last one).
struct IntegerLayout {
  bool grouping = false;
  int thousands = 0;
};

IntegerLayout integer_layout(const std::vector<Token>& tokens, std::size_t first, std::size_t last) {
  IntegerLayout layout;
  std::size_t first_digit = last, last_digit = last;
  for (std::size_t i = first; i < last; ++i) {
    if (!is_digit_token(tokens[i])) continue;
    if (first_digit == last) first_digit = i;
    last_digit = i;
  }
  for (std::size_t i = first; i < last; ++i) {
    if (tokens[i].kind != TokenKind::Comma || first_digit == last || i < first_digit) continue;
    if (i < last_digit) layout.grouping = true;
    else ++layout.thousands;
  }
  return layout;
}

// "0.00", "#,##0", "000-0000", "0.0,,": placeholders with literals
// between them, one decimal point at most.
std::string format_plain(double value, const std::vector<Token>& tokens, std::size_t first, std::size_t last) {
  const std::size_t point = std::min(find_kind(tokens, TokenKind::Point, first), last);
  const IntegerLayout layout = integer_layout(tokens, first, point);
  value /= std::pow(1000.0, layout.thousands);
  const int decimals = count_digits(tokens, std::min(point + 1, last), last);
  const Digits digits = decimal_digits(value, decimals);
  std::string out = fill_integer(tokens, first, point, digits.integer, layout.grouping);
  if (point < last) out += '.' + fill_fraction(tokens, point + 1, last, digits.fraction);
  return out;
}

// "0.00E+00", "##0.0E+0": the exponent is a multiple of the integer
// placeholders' count when one of them is "#", else it leaves as many
// integer digits as there are placeholders.
std::string format_scientific(double value, const std::vector<Token>& tokens, std::size_t first, std::size_t last,
                              std::size_t exponent_at) {
  const std::size_t point = std::min(find_kind(tokens, TokenKind::Point, first), exponent_at);
  const int integer_places = std::max(1, count_digits(tokens, first, point));
  bool engineering = false;
  for (std::size_t i = first; i < point; ++i) engineering |= tokens[i].text == "#";
  const int decimals = count_digits(tokens, std::min(point + 1, exponent_at), exponent_at);
  int exponent = 0;
  if (value != 0) {
    const int magnitude = static_cast<int>(std::floor(std::log10(to_15_digits(value))));
    exponent = engineering ? static_cast<int>(std::floor(static_cast<double>(magnitude) / integer_places)) * integer_places
                           : magnitude - (integer_places - 1);
  }
  Digits digits = decimal_digits(value / std::pow(10.0, exponent), decimals);
  // Rounding may carry into one more integer digit than the layout allows.
  if (static_cast<int>(digits.integer.size()) > integer_places) {
    exponent += engineering ? integer_places : 1;
    digits = decimal_digits(value / std::pow(10.0, exponent), decimals);
  }
  std::string out = fill_integer(tokens, first, point, digits.integer, false);
  if (point < exponent_at) out += '.' + fill_fraction(tokens, point + 1, exponent_at, digits.fraction);
  const bool always_sign = tokens[exponent_at].text[1] == '+';
  out += tokens[exponent_at].text[0];
  if (exponent < 0) out += '-';
  else if (always_sign) out += '+';
  const int exponent_places = std::max(1, count_digits(tokens, exponent_at + 1, last));
  std::string exponent_digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(exponent_digits.size()) < exponent_places)
    exponent_digits.insert(0, static_cast<std::size_t>(exponent_places) - exponent_digits.size(), '0');
  return out + exponent_digits + literals(tokens, exponent_at + 1, last);
}

// The closest fraction whose denominator has at most `places` digits (or
// is the fixed one); the smallest denominator among equally close ones.
std::pair<long, long> closest_fraction(double x, int places, long fixed_denominator) {
  if (fixed_denominator > 0) return {std::lround(x * static_cast<double>(fixed_denominator)), fixed_denominator};
  const long largest = static_cast<long>(std::pow(10.0, std::min(places, 4))) - 1;
  long best_n = 0, best_d = 1;
  double best_error = std::fabs(x);
  for (long d = 1; d <= largest && best_error > 0; ++d) {
    const long n = std::lround(x * static_cast<double>(d));
    const double error = std::fabs(x - static_cast<double>(n) / static_cast<double>(d));
    if (error < best_error - 1e-15) best_error = error, best_n = n, best_d = d;
  }
  return {best_n, best_d};
}

// "# ?/?", "?/8", "# ??/???": an optional whole part, then the numerator's
// placeholders, "/", and the denominator's placeholders or digits.
std::string format_fraction(double value, const std::vector<Token>& tokens, std::size_t first, std::size_t last,
                            std::size_t slash) {
  // The numerator is the run of placeholders just before the slash.
  std::size_t numerator_first = slash;
  while (numerator_first > first && is_digit_token(tokens[numerator_first - 1])) --numerator_first;
  const bool has_whole = count_digits(tokens, first, numerator_first) > 0;
  std::size_t denominator_last = slash + 1;
  std::string fixed;
  while (denominator_last < last && (is_digit_token(tokens[denominator_last]) ||
                                     (tokens[denominator_last].kind == TokenKind::Literal &&
                                      std::isdigit(static_cast<unsigned char>(tokens[denominator_last].text[0]))))) {
    if (!is_digit_token(tokens[denominator_last])) fixed += tokens[denominator_last].text;
    ++denominator_last;
  }
  const int places = count_digits(tokens, slash + 1, denominator_last);
  // A denominator of more than nine digits is kept to nine: no fraction
  // shown in a cell needs more, and the numerator must fit a long.
  const long fixed_denominator = fixed.empty() ? 0 : std::atol(fixed.substr(0, 9).c_str());

  double whole = has_whole ? std::floor(value) : 0;
  auto [numerator, denominator] = closest_fraction(value - whole, places, fixed_denominator);
  if (has_whole && numerator == denominator) whole += 1, numerator = 0;

  std::string out = has_whole ? fill_integer(tokens, first, numerator_first, whole == 0 ? "" : decimal_digits(whole, 0).integer, false)
                              : literals(tokens, first, numerator_first);
  std::string fraction_text = fill_integer(tokens, numerator_first, slash, std::to_string(numerator), false) + "/";
  std::string denominator_text = std::to_string(denominator);
  while (static_cast<int>(character_count(denominator_text)) < places) denominator_text += ' ';
  fraction_text += denominator_text;
  if (has_whole && numerator == 0) {
    // A whole number shows blanks where the fraction would stand.
    if (whole == 0) out = fill_integer(tokens, first, numerator_first, "0", false);
    fraction_text = std::string(character_count(fraction_text), ' ');
  }
  return out + fraction_text + literals(tokens, denominator_last, last);
}

std::string format_number(double value, const Section& section) {
  const std::vector<Token>& tokens = section.tokens;
  for (const Token& t : tokens)
    if (t.kind == TokenKind::Percent) value *= 100;
  // "General", or "@" alone for a number: the number as General shows it.
  std::size_t general = find_kind(tokens, TokenKind::General);
  if (general == tokens.size() && find_kind(tokens, TokenKind::Digit) == tokens.size())
    general = find_kind(tokens, TokenKind::TextValue);
  if (general < tokens.size())
    return literals(tokens, 0, general) + number_to_text(value) + literals(tokens, general + 1, tokens.size());
  std::size_t first = 0, last = tokens.size();
  while (first < last && !is_digit_token(tokens[first]) && tokens[first].kind != TokenKind::Point) ++first;
  if (first == last) return literals(tokens, 0, tokens.size());  // no placeholder: the literals alone
  while (last > first && !is_digit_token(tokens[last - 1])) --last;
  // A fixed denominator is written as digits after the slash ("# ?/8").
  if (last < tokens.size() && tokens[last].kind == TokenKind::Slash) {
    std::size_t end = last + 1;
    while (end < tokens.size() && tokens[end].kind == TokenKind::Literal &&
           std::isdigit(static_cast<unsigned char>(tokens[end].text[0])))
      ++end;
    if (end > last + 1) last = end;
  }
  // Commas right after the last placeholder divide by a thousand each ("0.0,,").
  std::size_t after = last;
  while (after < tokens.size() && tokens[after].kind == TokenKind::Comma) value /= 1000, ++after;
  const std::string prefix = literals(tokens, 0, first);
  const std::string suffix = literals(tokens, after, tokens.size());
  if (const std::size_t e = find_kind(tokens, TokenKind::Exponent, first); e < last)
    return prefix + format_scientific(value, tokens, first, last, e) + suffix;
  if (const std::size_t slash = find_kind(tokens, TokenKind::Slash, first); slash < last && slash > first)
    return prefix + format_fraction(value, tokens, first, last, slash) + suffix;
  return prefix + format_plain(value, tokens, first, last) + suffix;
}

// ---------------------------------------------------------------------------
// Dates and times.

constexpr std::array<const char*, 12> month_names{"January", "February", "March",     "April",   "May",      "June",
                                                  "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> day_names{"Saturday", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};

std::string padded(long n, std::size_t width) {
  std::string digits = std::to_string(n);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

struct Moment {
  long total_seconds;  // since serial 0, whole
  double fraction;     // of the second, rounded to the decimals shown
  CivilDate date;
  int hour, minute, second;
};

// Whether the "m" at `index` means minutes: after an hour or before seconds.
bool means_minutes(const std::vector<Token>& tokens, std::size_t index) {
  for (std::size_t i = index; i-- > 0;) {
    if (tokens[i].kind != TokenKind::DatePart) continue;
    const char c = tokens[i].text[0] == '[' ? tokens[i].text[1] : tokens[i].text[0];
    if (c == 'h') return true;
    if (c != '.' && std::isalpha(static_cast<unsigned char>(c))) break;
  }
  for (std::size_t i = index + 1; i < tokens.size(); ++i) {
    if (tokens[i].kind != TokenKind::DatePart) continue;
    const char c = tokens[i].text[0] == '[' ? tokens[i].text[1] : tokens[i].text[0];
    if (c == 's') return true;
    if (std::isalpha(static_cast<unsigned char>(c))) break;
  }
  return false;
}

// Decimals of seconds: "ss.00" writes the point and zeros after the seconds.
int second_decimals(const std::vector<Token>& tokens) {
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i].kind != TokenKind::DatePart || tokens[i].text.find('s') == std::string::npos) continue;
    if (tokens[i + 1].kind != TokenKind::Point) continue;
    int n = 0;
    for (std::size_t k = i + 2; k < tokens.size() && tokens[k].text == "0"; ++k) ++n;
    return n;
  }
  return 0;
}

std::string format_date(double serial, const Section& section) {
  if (serial < 0 || serial > max_serial + 1) return std::string(error_text(CellError::Value));
  const std::vector<Token>& tokens = section.tokens;
  const int decimals = std::min(second_decimals(tokens), 3);
  const double scale = std::pow(10.0, decimals);
  const double units = std::round(serial * 86400 * scale);  // whole units of the smallest part shown
  const long total_seconds = static_cast<long>(std::floor(units / scale));
  Moment m{total_seconds, (units - static_cast<double>(total_seconds) * scale) / scale,
           date_from_serial(std::floor(static_cast<double>(total_seconds) / 86400)),
           static_cast<int>(total_seconds % 86400 / 3600), static_cast<int>(total_seconds % 3600 / 60),
           static_cast<int>(total_seconds % 60)};
  bool twelve_hours = false;
  for (const Token& t : tokens) twelve_hours |= t.kind == TokenKind::DatePart && (t.text[0] == 'A' || t.text[0] == 'a');
  const long weekday = static_cast<long>(std::floor(static_cast<double>(total_seconds) / 86400)) % 7;

  std::string out;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    const std::size_t run = t.text.size();
    if (t.kind == TokenKind::Literal) {
      out += t.text;
    } else if (t.kind == TokenKind::Point && i > 0 && tokens[i - 1].text.find('s') != std::string::npos && decimals > 0) {
      const std::string fraction = decimal_digits(m.fraction, decimals).fraction;
      out += '.' + fraction;
      while (i + 1 < tokens.size() && tokens[i + 1].text == "0") ++i;
    } else if (t.kind != TokenKind::DatePart) {
      out += t.text;
    } else if (t.text == "[h]" || t.text == "[hh]") {
      out += padded(m.total_seconds / 3600, run - 2);
    } else if (t.text[0] == '[' && t.text[1] == 'm') {
      out += padded(m.total_seconds / 60, run - 2);
    } else if (t.text[0] == '[') {
      out += padded(m.total_seconds, run - 2);
    } else if (t.text[0] == 'A' || t.text[0] == 'a') {
      const bool pm = m.hour >= 12;
      if (run == 5) out += pm ? (t.text[0] == 'a' ? "pm" : "PM") : (t.text[0] == 'a' ? "am" : "AM");
      else out += pm ? (t.text[2] == 'p' ? "p" : "P") : (t.text[0] == 'a' ? "a" : "A");
    } else if (t.text[0] == 'y') {
      out += run <= 2 ? padded(m.date.year % 100, 2) : padded(m.date.year, 4);
    } else if (t.text[0] == 'm' && run <= 2 && means_minutes(tokens, i)) {
      out += padded(m.minute, run);
    } else if (t.text[0] == 'm') {
      const std::string name = month_names[static_cast<std::size_t>(m.date.month - 1)];
      out += run <= 2 ? padded(m.date.month, run) : run == 3 ? name.substr(0, 3) : run == 5 ? name.substr(0, 1) : name;
    } else if (t.text[0] == 'd') {
      const std::string name = day_names[static_cast<std::size_t>(weekday)];
      out += run <= 2 ? padded(m.date.day, run) : run == 3 ? name.substr(0, 3) : name;
    } else if (t.text[0] == 'h') {
      const int hour = twelve_hours ? (m.hour % 12 == 0 ? 12 : m.hour % 12) : m.hour;
      out += padded(hour, std::min<std::size_t>(run, 2));
    } else if (t.text[0] == 's') {
      out += padded(m.second, std::min<std::size_t>(run, 2));
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Choosing the section.

struct Choice {
  const Section* section;
  bool show_sign;  // the section does not write the sign itself
};

Choice choose_section(const std::vector<Section>& sections, double number) {
  const bool conditional = sections[0].condition || (sections.size() > 1 && sections[1].condition);
  if (conditional) {
    // Each condition picks its section; the section after the conditions
    // takes every other number.
    if (sections[0].condition && sections[0].condition->holds(number)) return {&sections[0], true};
    if (sections.size() > 1) {
      if (!sections[1].condition || sections[1].condition->holds(number))
        return {&sections[1], sections[1].condition.has_value()};
      if (sections.size() > 2) return {&sections[2], true};
    }
    return {&sections[0], true};
  }
  if (number < 0 && sections.size() >= 2) return {&sections[1], false};
  if (number == 0 && sections.size() >= 3) return {&sections[2], true};
  return {&sections[0], true};
}

std::string format_text(const std::string& text, const std::vector<Section>& sections) {
  const Section* section = sections.size() >= 4 ? &sections[3] : nullptr;
  if (!section && find_kind(sections[0].tokens, TokenKind::TextValue) < sections[0].tokens.size())
    section = &sections[0];
  if (!section) return text;
  std::string out;
  for (const Token& t : section->tokens) out += t.kind == TokenKind::TextValue ? text : t.text;
  return out;
}

}  // namespace

std::string format_value(const Value& value, std::string_view format) {
  std::vector<Section> sections;
  for (const std::string& text : split_sections(format)) sections.push_back(parse_section(text));
  if (!value.is_number()) return format_text(value_to_text(value), sections);
  const double number = value.number();
  const Choice choice = choose_section(sections, number);
  const Section& section = *choice.section;
  if (section.empty) return sections.size() == 1 ? number_to_text(number) : std::string();
  if (section.is_date) return format_date(number, section);
  const bool negative = number < 0 && choice.show_sign;
  const std::string body = format_number(std::fabs(number), section);
  // A negative number rounded to zero shows no sign.
  const bool nonzero = body.find_first_of("123456789") != std::string::npos;
  return (negative && nonzero ? "-" : "") + body;
}

}  // namespace engine::formula
