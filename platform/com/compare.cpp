#include "platform/com/compare.hpp"

#include "platform/com/convert.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/text.hpp"

namespace platform::com {

namespace {

int three_way(double a, double b) { return a < b ? -1 : a > b ? 1 : 0; }

}  // namespace

Comparison compare_as_text(const Variant& value, std::string_view literal) {
  const Variant v = value_of(value);
  if (v.is_null()) return std::nullopt;
  const std::string text = cstr(v);
  if (text == literal) return 0;
  // Malformed bytes all read as U+FFFD; texts that differ only there still differ.
  const int order = str_comp(text, literal);
  return order != 0 ? order : (text < literal ? -1 : 1);
}

Comparison compare_as_number(const Variant& value, double constant) {
  const Variant v = value_of(value);
  if (v.is_null()) return std::nullopt;
  return three_way(cdbl(v), constant);
}

Comparison compare_as_boolean(const Variant& value, bool constant) {
  return compare_as_number(value, constant ? -1.0 : 0.0);
}

}  // namespace platform::com
