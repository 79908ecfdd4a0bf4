// CONCATENATE, LEFT, RIGHT, MID, LEN, UPPER, LOWER, PROPER, TRIM, EXACT,
// FIND, SEARCH, SUBSTITUTE, REPLACE, REPT, TEXT, FIXED, DOLLAR, VALUE, T.
#include <cmath>

#include "engine/formula/evaluator.hpp"
#include "engine/formula/functions.hpp"
#include "engine/formula/number_format.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// A character count argument: negative is #VALUE!.
std::size_t count_argument(Arguments& args, std::size_t i, double fallback) {
  const double n = args.number_or(i, fallback);
  if (n < 0) fail_with(CellError::Value);
  return static_cast<std::size_t>(std::min(n, 32767.0));
}

Operand concatenate(Arguments& args) {
  std::string out;
  for (std::size_t i = 0; i < args.size(); ++i) out += args.text(i);
  return Value(out);
}

Operand left(Arguments& args) {
  const std::string text = args.text(0);
  return Value(character_substring(text, 0, count_argument(args, 1, 1)));
}

Operand right(Arguments& args) {
  const std::string text = args.text(0);
  const std::size_t count = count_argument(args, 1, 1), length = character_count(text);
  return Value(count >= length ? text : character_substring(text, length - count, count));
}

Operand mid(Arguments& args) {
  const std::string text = args.text(0);
  const double start = args.number(1);
  if (start < 1) fail_with(CellError::Value);
  const std::size_t count = count_argument(args, 2, 0);
  return Value(character_substring(text, static_cast<std::size_t>(std::min(start, 32768.0)) - 1, count));
}

// Texts longer than a cell can hold are #VALUE!.
constexpr std::size_t max_text_length = 32767;

Value checked_text(std::string text) {
  if (character_count(text) > max_text_length) return Value(CellError::Value);
  return Value(std::move(text));
}

// A 1-based character position argument, as a 0-based index.
std::size_t position_argument(Arguments& args, std::size_t i) {
  const double n = args.number_or(i, 1);
  if (n < 1 || n > static_cast<double>(max_text_length) + 1) fail_with(CellError::Value);
  return static_cast<std::size_t>(n) - 1;
}

Operand len(Arguments& args) { return Value(static_cast<double>(character_count(args.text(0)))); }
Operand upper(Arguments& args) { return Value(to_upper(args.text(0))); }
Operand lower(Arguments& args) { return Value(to_lower(args.text(0))); }
Operand proper(Arguments& args) { return Value(to_proper(args.text(0))); }
Operand exact(Arguments& args) { return Value(args.text(0) == args.text(1)); }

// FIND keeps letter case and has no wildcards; SEARCH ignores case and
// takes "*", "?" and "~". An empty text to find is found where the search
// starts.
Operand find_with(Arguments& args, bool search) {
  const std::string wanted = args.text(0), within = args.text(1);
  const std::size_t start = position_argument(args, 2);
  if (start > character_count(within)) return Value(CellError::Value);
  const auto at = search ? wildcard_find(wanted, within, start) : character_find(wanted, within, start);
  if (!at) return Value(CellError::Value);
  return Value(static_cast<double>(*at) + 1);
}
Operand find(Arguments& args) { return find_with(args, false); }
Operand search(Arguments& args) { return find_with(args, true); }

// Every occurrence of the old text, or only the n-th.
Operand substitute(Arguments& args) {
  const std::string text = args.text(0), old_text = args.text(1), new_text = args.text(2);
  int instance = 0;
  if (args.size() > 3) {
    instance = to_index(args.number(3));
    if (instance < 1) return Value(CellError::Value);
  }
  if (old_text.empty()) return Value(text);
  std::string out;
  std::size_t from = 0;
  int seen = 0;
  for (auto at = text.find(old_text); at != std::string::npos; at = text.find(old_text, at + old_text.size())) {
    ++seen;
    if (instance != 0 && seen != instance) continue;
    out.append(text, from, at - from).append(new_text);
    from = at + old_text.size();
    if (instance != 0) break;
  }
  out.append(text, from);
  return checked_text(std::move(out));
}

Operand replace(Arguments& args) {
  const std::string text = args.text(0);
  const std::size_t start = position_argument(args, 1);
  const double count = args.number(2);
  if (count < 0) return Value(CellError::Value);
  const std::string new_text = args.text(3);
  const std::size_t length = character_count(text);
  const std::size_t cut = std::min(static_cast<std::size_t>(std::min(count, 32767.0)), length - std::min(start, length));
  return checked_text(character_substring(text, 0, start) + new_text +
                      character_substring(text, start + cut, length));
}

Operand rept(Arguments& args) {
  const std::string text = args.text(0);
  const double times = args.number(1);
  if (times < 0) return Value(CellError::Value);
  if (text.empty()) return Value(std::string());  // any count of nothing is nothing, at once
  const double length = static_cast<double>(character_count(text)) * std::floor(times);
  if (length > static_cast<double>(max_text_length)) return Value(CellError::Value);
  std::string out;
  for (int i = 0; i < static_cast<int>(times); ++i) out += text;
  return Value(out);
}

// Spaces at either end go, runs of spaces inside shrink to one.
Operand trim(Arguments& args) {
  const std::string text = args.text(0);
  std::string out;
  for (char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return Value(out);
}

Operand text(Arguments& args) {
  Value value = args.scalar(0);
  if (value.is_error()) return value;
  if (value.is_empty()) value = Value(0.0);
  // Numeric text is formatted as the number it holds.
  if (value.is_text())
    if (auto n = number_from_any_text(value.text())) value = Value(*n);
  return Value(format_value(value, args.text(1)));
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// The number rounded to `decimals` places (tens, hundreds... when
// negative) and shown with that many decimals in `format`, whose "0.00"
// the decimals replace.
Value rounded_text(double number, double decimals_argument, std::string_view format) {
  const int decimals = to_index(decimals_argument);
  if (decimals > 127) return Value(CellError::Value);
  const double rounded = round_to_digits(number, decimals, Rounding::Nearest);
  const std::string places = decimals > 0 ? "." + std::string(static_cast<std::size_t>(decimals), '0') : "";
  std::string pattern(format);
  for (auto at = pattern.find("0.00"); at != std::string::npos; at = pattern.find("0.00", at + 1 + places.size()))
    pattern.replace(at, 4, "0" + places);
  return Value(format_value(Value(rounded), pattern));
}
#pragma GCC diagnostic pop

Operand fixed(Arguments& args) {
  const double number = args.number(0);
  const double decimals = args.number_or(1, 2);
  const bool no_commas = args.size() > 2 && args.boolean(2);
  return rounded_text(number, decimals, no_commas ? "0.00" : "#,##0.00");
}

Operand dollar(Arguments& args) {
  const double number = args.number(0);
  return rounded_text(number, args.number_or(1, 2), "$#,##0.00;($#,##0.00)");
}

// Text as formulas convert it: currency, percentages, dates and times too.
Operand value(Arguments& args) {
  const Value v = args.scalar(0);
  if (v.is_error()) return v;
  if (v.is_number()) return v;
  if (v.is_empty()) return Value(0.0);
  if (v.is_boolean()) return Value(CellError::Value);
  if (auto n = number_from_any_text(v.text(), reading_for(args))) return Value(*n);
  return Value(CellError::Value);
}

// A text stays, anything else gives "": a cell's or an argument's.
Operand t(Arguments& args) {
  const Value v = args.scalar(0);
  if (v.is_error()) return v;
  return v.is_text() ? v : Value(std::string());
}

constexpr FunctionSpec table[] = {
    {"CONCATENATE", 1, 30, 336, false, concatenate},
    {"LEFT", 1, 2, 115, false, left, true},
    {"RIGHT", 1, 2, 116, false, right, true},
    {"MID", 3, 3, 31, false, mid, true},
    {"LEN", 1, 1, 32, false, len, true},
    {"UPPER", 1, 1, 113, false, upper, true},
    {"LOWER", 1, 1, 112, false, lower, true},
    {"PROPER", 1, 1, 114, false, proper, true},
    {"TRIM", 1, 1, 118, false, trim, true},
    {"EXACT", 2, 2, 117, false, exact, true},
    {"FIND", 2, 3, 124, false, find, true},
    {"SEARCH", 2, 3, 82, false, search, true},
    {"SUBSTITUTE", 3, 4, 120, false, substitute, true},
    {"REPLACE", 4, 4, 119, false, replace, true},
    {"REPT", 2, 2, 30, false, rept, true},
    {"TEXT", 2, 2, 48, false, text, true},
    {"FIXED", 1, 3, 14, false, fixed, true},
    {"DOLLAR", 1, 2, 13, false, dollar, true},
    {"VALUE", 1, 1, 33, false, value, true},
    {"T", 1, 1, 130, false, t},
};

}  // namespace

std::span<const FunctionSpec> text_functions() { return table; }

}  // namespace engine::formula
