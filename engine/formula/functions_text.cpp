// CONCATENATE, LEFT, RIGHT, MID, LEN, UPPER, LOWER, TRIM, TEXT, VALUE.
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

Operand len(Arguments& args) { return Value(static_cast<double>(character_count(args.text(0)))); }
Operand upper(Arguments& args) { return Value(to_upper(args.text(0))); }
Operand lower(Arguments& args) { return Value(to_lower(args.text(0))); }

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
    if (auto n = number_from_text(value.text())) value = Value(*n);
  return Value(format_value(value, args.text(1)));
}

Operand value(Arguments& args) {
  const Value v = args.scalar(0);
  if (v.is_error()) return v;
  if (v.is_number()) return v;
  if (v.is_empty()) return Value(0.0);
  if (v.is_boolean()) return Value(CellError::Value);
  if (auto n = number_from_text(v.text())) return Value(*n);
  return Value(CellError::Value);
}

constexpr FunctionSpec table[] = {
    {"CONCATENATE", 1, 30, 336, false, concatenate},
    {"LEFT", 1, 2, 115, false, left},
    {"RIGHT", 1, 2, 116, false, right},
    {"MID", 3, 3, 31, false, mid},
    {"LEN", 1, 1, 32, false, len},
    {"UPPER", 1, 1, 113, false, upper},
    {"LOWER", 1, 1, 112, false, lower},
    {"TRIM", 1, 1, 118, false, trim},
    {"TEXT", 2, 2, 48, false, text},
    {"VALUE", 1, 1, 33, false, value},
};

}  // namespace

std::span<const FunctionSpec> text_functions() { return table; }

}  // namespace engine::formula
