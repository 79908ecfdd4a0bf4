#include "platform/script/operators.hpp"

#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/com/convert.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/text.hpp"
#include "platform/script/budget.hpp"

namespace platform::script {

namespace {

using com::Variant;
using com::VarType;

constexpr std::int32_t kDivisionByZero = 11;

// The numeric kinds an arithmetic result may take, narrowest first.
enum class Width { Integer, Long, Double };

struct Number {
  double value = 0;
  Width width = Width::Integer;
  bool date = false;
};

// An operand as arithmetic sees it: Empty and Booleans count as Integers
// (True is -1), text is read as a Double, a Date as its serial.
Number number_of(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return {0, Width::Integer};
    case VarType::Boolean: return {v.bool_value() ? -1.0 : 0.0, Width::Integer};
    case VarType::Integer: return {static_cast<double>(v.integer_value()), Width::Integer};
    case VarType::Long: return {static_cast<double>(v.long_value()), Width::Long};
    case VarType::Date: return {v.date_value().serial, Width::Double, true};
    default: return {com::cdbl(v), Width::Double};
  }
}

Width widest(Width a, Width b) { return a > b ? a : b; }

// The narrowest kind at least `width` wide that holds `value`: an Integer
// sum that overflows becomes a Long, a Long one a Double.
Variant fit(double value, Width width) {
  if (!std::isfinite(value)) com::raise(com::err::Overflow);
  if (width == Width::Integer && value >= INT16_MIN && value <= INT16_MAX) return static_cast<std::int16_t>(value);
  if (width != Width::Double && value >= INT32_MIN && value <= INT32_MAX) return static_cast<std::int32_t>(value);
  return value;
}

Variant date_result(double serial) { return com::cdate(Variant(serial)); }

bool either_null(const Variant& a, const Variant& b) { return a.is_null() || b.is_null(); }

// A value's text, without a copy when it is text already (Null: none).
std::string_view text_of(const Variant& v, std::string& converted) {
  if (v.type() == VarType::String) return v.string_value();
  if (!v.is_null()) converted = com::cstr(v);
  return converted;
}

// Text grows only here: the run's budget sees the length before any of the
// new text is made, and no operand is copied on the way.
std::string joined(const Variant& a, const Variant& b) {
  std::string a_text;
  std::string b_text;
  const std::string_view x = text_of(a, a_text);
  const std::string_view y = text_of(b, b_text);
  check_new_value(x.size() + y.size());
  std::string result;
  result.reserve(x.size() + y.size());
  return result.append(x).append(y);
}

Variant add_or_subtract(bool subtract, const Variant& a, const Variant& b) {
  const bool text_a = a.type() == VarType::String;
  const bool text_b = b.type() == VarType::String;
  if (!subtract && (text_a || text_b) && (text_a || a.is_empty()) && (text_b || b.is_empty()))
    return joined(a, b);
  const Number x = number_of(a);
  const Number y = number_of(b);
  const double value = subtract ? x.value - y.value : x.value + y.value;
  if (subtract && x.date && y.date) return value;
  if (x.date || y.date) return date_result(value);
  return fit(value, widest(x.width, y.width));
}

Variant multiply(const Variant& a, const Variant& b) {
  const Number x = number_of(a);
  const Number y = number_of(b);
  return fit(x.value * y.value, widest(x.width, y.width));
}

Variant divide(const Variant& a, const Variant& b) {
  const double x = number_of(a).value;
  const double y = number_of(b).value;
  if (y == 0) com::raise(x == 0 ? com::err::Overflow : kDivisionByZero, {}, x == 0 ? "" : "Division by zero");
  return fit(x / y, Width::Double);
}

Variant power(const Variant& a, const Variant& b) {
  const double x = number_of(a).value;
  const double y = number_of(b).value;
  if ((x < 0 && y != std::floor(y)) || (x == 0 && y < 0)) com::raise(com::err::InvalidCall);
  return fit(std::pow(x, y), Width::Double);
}

// "\" and Mod work on whole numbers: each operand is rounded as CLng rounds it.
Variant whole_division(bool modulo, const Variant& a, const Variant& b) {
  const Width width = widest(number_of(a).width, number_of(b).width) == Width::Integer ? Width::Integer : Width::Long;
  const std::int64_t x = com::clng(a);
  const std::int64_t y = com::clng(b);
  if (y == 0) com::raise(kDivisionByZero, {}, "Division by zero");
  return fit(static_cast<double>(modulo ? x % y : x / y), width);
}

Variant concatenate(const Variant& a, const Variant& b) {
  if (a.is_null() && b.is_null()) return Variant::null();
  return joined(a, b);
}

// Text with text compares code unit by code unit, Empty counting as "";
// anything else compares as numbers (text that is no number raises 13).
std::optional<int> compare(const Variant& a, const Variant& b) {
  if (either_null(a, b)) return std::nullopt;
  const bool text_a = a.type() == VarType::String;
  const bool text_b = b.type() == VarType::String;
  if ((text_a && (text_b || b.is_empty())) || (text_b && a.is_empty())) return com::str_comp(com::cstr(a), com::cstr(b));
  const double x = com::cdbl(a);
  const double y = com::cdbl(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

Variant comparison(BinaryOp op, const Variant& a, const Variant& b) {
  const std::optional<int> c = compare(a, b);
  if (!c) return Variant::null();
  switch (op) {
    case BinaryOp::Equal: return *c == 0;
    case BinaryOp::NotEqual: return *c != 0;
    case BinaryOp::Less: return *c < 0;
    case BinaryOp::Greater: return *c > 0;
    case BinaryOp::LessEqual: return *c <= 0;
    default: return *c >= 0;
  }
}

Variant same_object(const Variant& a, const Variant& b) {
  if (!a.is_object() || !b.is_object()) com::raise(com::err::ObjectRequired);
  return a.object() == b.object();
}

bool is_whole_width(const Variant& v) { return number_of(v).width == Width::Integer; }

std::int64_t bits(BinaryOp op, std::int64_t x, std::int64_t y) {
  switch (op) {
    case BinaryOp::And: return x & y;
    case BinaryOp::Or: return x | y;
    default: return x ^ y;
  }
}

// Null And 0 is 0 and Null Or -1 is -1: the only cases a Null cannot change.
Variant logical_with_null(BinaryOp op, const Variant& other) {
  if (op == BinaryOp::Xor || other.is_null()) return Variant::null();
  const std::int32_t decisive = op == BinaryOp::And ? 0 : -1;
  if (com::clng(other) != decisive) return Variant::null();
  return other.is_empty() ? Variant(std::int16_t{0}) : other;
}

Variant logical(BinaryOp op, const Variant& a, const Variant& b) {
  if (a.is_null()) return logical_with_null(op, b);
  if (b.is_null()) return logical_with_null(op, a);
  if (a.type() == VarType::Boolean && b.type() == VarType::Boolean)
    return bits(op, a.bool_value() ? -1 : 0, b.bool_value() ? -1 : 0) != 0;
  const Width width = is_whole_width(a) && is_whole_width(b) ? Width::Integer : Width::Long;
  return fit(static_cast<double>(bits(op, com::clng(a), com::clng(b))), width);
}

Variant negate(const Variant& v) {
  if (v.is_null()) return v;
  const Number n = number_of(v);
  if (n.date) return date_result(-n.value);
  return fit(-n.value, n.width);
}

Variant logical_not(const Variant& v) {
  if (v.is_null()) return v;
  if (v.type() == VarType::Boolean) return !v.bool_value();
  return fit(static_cast<double>(~static_cast<std::int64_t>(com::clng(v))), is_whole_width(v) ? Width::Integer : Width::Long);
}

}  // namespace

Variant apply(UnaryOp op, const Variant& operand) {
  const Variant v = com::value_of(operand);
  return op == UnaryOp::Negate ? negate(v) : logical_not(v);
}

Variant apply(BinaryOp op, const Variant& left, const Variant& right) {
  if (op == BinaryOp::Is) return same_object(left, right);
  // Operands that are values already are used in place: a long text is not
  // copied to be read.
  Variant left_value;
  Variant right_value;
  const Variant& a = left.is_object() ? (left_value = com::value_of(left)) : left;
  const Variant& b = right.is_object() ? (right_value = com::value_of(right)) : right;
  switch (op) {
    case BinaryOp::Concatenate: return concatenate(a, b);
    case BinaryOp::Equal:
    case BinaryOp::NotEqual:
    case BinaryOp::Less:
    case BinaryOp::Greater:
    case BinaryOp::LessEqual:
    case BinaryOp::GreaterEqual: return comparison(op, a, b);
    case BinaryOp::And:
    case BinaryOp::Or:
    case BinaryOp::Xor: return logical(op, a, b);
    default: break;
  }
  if (either_null(a, b)) return Variant::null();
  switch (op) {
    case BinaryOp::Add: return add_or_subtract(false, a, b);
    case BinaryOp::Subtract: return add_or_subtract(true, a, b);
    case BinaryOp::Multiply: return multiply(a, b);
    case BinaryOp::Divide: return divide(a, b);
    case BinaryOp::Power: return power(a, b);
    case BinaryOp::IntegerDivide: return whole_division(false, a, b);
    default: return whole_division(true, a, b);
  }
}

}  // namespace platform::script
