#include "engine/formula/criteria.hpp"

#include <array>
#include <string_view>

#include "engine/formula/text.hpp"

namespace engine::formula {
namespace {

// The operand part of a criterion text: a number (a date or an amount
// too: "6/2/2003", "$5"), a Boolean, an error or text.
Value operand_from_text(std::string_view text) {
  if (auto n = number_from_any_text(text)) return Value(*n);
  if (equal_ignoring_case(text, "TRUE")) return Value(true);
  if (equal_ignoring_case(text, "FALSE")) return Value(false);
  if (auto e = error_from_text(text)) return Value(*e);
  return Value(std::string(text));
}

bool same_kind(const Value& a, const Value& b) {
  return (a.is_number() && b.is_number()) || (a.is_text() && b.is_text()) ||
         (a.is_boolean() && b.is_boolean()) || (a.is_error() && b.is_error());
}

}  // namespace

Criterion::Criterion(const Value& criterion) {
  if (!criterion.is_text()) {
    operand_ = criterion.is_empty() ? Value(0.0) : criterion;
    return;
  }
  struct Prefix {
    std::string_view text;
    Comparison comparison;
  };
  static constexpr std::array<Prefix, 6> prefixes{{{"<=", Comparison::LessEqual},
                                                    {">=", Comparison::GreaterEqual},
                                                    {"<>", Comparison::NotEqual},
                                                    {"<", Comparison::Less},
                                                    {">", Comparison::Greater},
                                                    {"=", Comparison::Equal}}};
  std::string_view text = criterion.text();
  for (const auto& prefix : prefixes) {
    if (text.starts_with(prefix.text)) {
      comparison_ = prefix.comparison;
      text.remove_prefix(prefix.text.size());
      break;
    }
  }
  // "" and "=" match empty cells, "<>" every non-empty one.
  operand_ = text.empty() ? Value() : operand_from_text(text);
}

bool Criterion::matches(const Value& cell) const {
  if (operand_.is_empty()) {
    const bool blank = cell.is_empty() || (cell.is_text() && cell.text().empty());
    if (comparison_ == Comparison::Equal) return blank;
    if (comparison_ == Comparison::NotEqual) return !cell.is_empty();
    return false;
  }
  // A numeric criterion also matches numbers stored as text (dates and
  // amounts written as text too), as Excel does.
  Value subject = cell;
  if (operand_.is_number() && cell.is_text() && comparison_ == Comparison::Equal)
    if (auto n = number_from_any_text(cell.text())) subject = Value(*n);
  if (!same_kind(subject, operand_)) return comparison_ == Comparison::NotEqual;
  if (operand_.is_text() && (comparison_ == Comparison::Equal || comparison_ == Comparison::NotEqual)) {
    const bool equal = wildcard_match(operand_.text(), subject.text());
    return equal == (comparison_ == Comparison::Equal);
  }
  const int c = subject.is_error() ? (subject.error() == operand_.error() ? 0 : 1) : compare_values(subject, operand_);
  switch (comparison_) {
    case Comparison::Equal: return c == 0;
    case Comparison::NotEqual: return c != 0;
    case Comparison::Less: return c < 0;
    case Comparison::Greater: return c > 0;
    case Comparison::LessEqual: return c <= 0;
    case Comparison::GreaterEqual: return c >= 0;
  }
  return false;
}

}  // namespace engine::formula
