#include "engine/ods/data_styles.hpp"

#include <algorithm>
#include <array>
#include <cassert>
#include <utility>

#include "engine/ods/odf_namespaces.hpp"
#include "engine/package/xml_part.hpp"

namespace engine::ods {

namespace {

namespace pkg = engine::package;

// Excel keeps at most 30 decimals, and nothing wider than that in a
// section; larger counts in a file are clamped rather than spelt out.
constexpr int kMaxDigits = 30;
// A data style's sections point to other data styles; LibreOffice nests them
// one level deep, and a chain longer than this is a loop.
constexpr int kMaxMapDepth = 4;

// Colours a section of an Excel code can name, by the RGB OpenDocument gives.
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kSectionColors{{
    {"#000000", "[Black]"}, {"#0000ff", "[Blue]"}, {"#00ffff", "[Cyan]"}, {"#00ff00", "[Green]"},
    {"#ff00ff", "[Magenta]"}, {"#ff0000", "[Red]"}, {"#ffffff", "[White]"}, {"#ffff00", "[Yellow]"},
}};

// Windows locale identifiers of the currency symbols' languages, as Excel writes them in "[$€-40C]".
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kLocaleIds{{
    {"de-DE", "407"}, {"en-GB", "809"}, {"en-US", "409"}, {"es-ES", "C0A"}, {"fr-BE", "80C"},
    {"fr-CA", "C0C"}, {"fr-CH", "100C"}, {"fr-FR", "40C"}, {"it-IT", "410"},
}};

std::string attr(const xmlNode& element, const char* ns, const char* name) {
  return pkg::attribute(element, ns, name).value_or("");
}

int count_attr(const xmlNode& element, const char* name, int fallback) {
  const auto text = pkg::attribute(element, ns::number, name);
  if (!text || text->empty() || !std::all_of(text->begin(), text->end(), ::isdigit)) return fallback;
  return text->size() > 6 ? kMaxDigits : std::min(std::stoi(*text), kMaxDigits);
}

bool is_long(const xmlNode& element) { return attr(element, ns::number, "style") == "long"; }

// Literal text as a code shows it: characters Excel prints as they are stay
// bare; anything else goes in quotes ("-52" would otherwise be digits),
// with the spaces around it left outside, as Excel writes `#,##0 "€"`.
std::string literal(std::string_view text, std::string_view also_bare) {
  constexpr std::string_view kBare = " -+/():$!^&'~{}<>=";
  const bool bare = std::all_of(text.begin(), text.end(), [&](char c) {
    return kBare.find(c) != std::string_view::npos || also_bare.find(c) != std::string_view::npos;
  });
  if (bare) return std::string(text);
  const std::size_t first = text.find_first_not_of(' ');
  const std::size_t last = text.find_last_not_of(' ');
  std::string out(text.substr(0, first));
  out += '"';
  for (char c : text.substr(first, last - first + 1)) out += c == '"' ? std::string("\\\"") : std::string(1, c);
  return out + '"' + std::string(text.substr(last + 1));
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
std::string decimals(const xmlNode& element) {
  const int places = count_attr(element, "decimal-places", 0);
  const int required = std::min(count_attr(element, "min-decimal-places", places), places);
  if (places == 0) return {};
  return "." + std::string(static_cast<std::size_t>(required), '0') + std::string(static_cast<std::size_t>(places - required), '#');
}
#pragma GCC diagnostic pop

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
std::string integer_digits(const xmlNode& element) {
  std::string digits(static_cast<std::size_t>(count_attr(element, "min-integer-digits", 0)), '0');
  if (attr(element, ns::number, "grouping") == "true") {
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '#');
    digits.insert(digits.size() - 3, ",");
  }
  return digits.empty() ? "#" : digits;
}
#pragma GCC diagnostic pop

// number:number: "General" when no decimal count is given, as LibreOffice
// writes its standard format.
std::string number(const xmlNode& element, bool general_allowed) {
  if (general_allowed && !pkg::attribute(element, ns::number, "decimal-places")) return "General";
  return integer_digits(element) + decimals(element);
}

std::string scientific(const xmlNode& element) {
  const int exponent = std::max(count_attr(element, "min-exponent-digits", 2), 1);
  return integer_digits(element) + decimals(element) + "E+" + std::string(static_cast<std::size_t>(exponent), '0');
}

std::string fraction(const xmlNode& element) {
  const int numerator = std::max(count_attr(element, "min-numerator-digits", 1), 1);
  const auto denominator_value = pkg::attribute(element, ns::number, "denominator-value");
  const std::string denominator = denominator_value && count_attr(element, "denominator-value", 0) > 0
                                      ? std::to_string(count_attr(element, "denominator-value", 1))
                                      : std::string(static_cast<std::size_t>(std::max(count_attr(element, "min-denominator-digits", 1), 1)), '?');
  const std::string whole = pkg::attribute(element, ns::number, "min-integer-digits") ? "# " : "";
  return whole + std::string(static_cast<std::size_t>(numerator), '?') + "/" + denominator;
}

std::string currency_symbol(const xmlNode& element) {
  const std::string symbol = pkg::text_of(element);
  const std::string locale = attr(element, ns::number, "language") + "-" + attr(element, ns::number, "country");
  for (const auto& [name, id] : kLocaleIds)
    if (name == locale) return "[$" + symbol + "-" + std::string(id) + "]";
  return "[$" + symbol + "]";
}

// The code of one part of a date or time style.
std::string date_part(const xmlNode& part, std::string_view name) {
  const bool long_form = is_long(part);
  if (name == "day") return long_form ? "dd" : "d";
  if (name == "month") {
    if (attr(part, ns::number, "textual") == "true") return long_form ? "mmmm" : "mmm";
    return long_form ? "mm" : "m";
  }
  if (name == "year") return long_form ? "yyyy" : "yy";
  if (name == "day-of-week") return long_form ? "dddd" : "ddd";
  if (name == "hours") return long_form ? "hh" : "h";
  if (name == "minutes") return long_form ? "mm" : "m";
  if (name == "seconds") return (long_form ? "ss" : "s") + decimals(part);
  if (name == "am-pm") return "AM/PM";
  return {};
}

std::string section_color(const xmlNode& element) {
  const xmlNode* properties = pkg::first_child(element, ns::style, "text-properties");
  if (!properties) return {};
  std::string color = attr(*properties, ns::fo, "color");
  std::transform(color.begin(), color.end(), color.begin(), ::tolower);
  for (const auto& [rgb, name] : kSectionColors)
    if (rgb == color) return std::string(name);
  return {};
}

// "value()>=100" as Excel's "[>=100]"; nothing for the conditions Excel's
// first two sections imply (positive and zero first, negative second).
std::string condition_prefix(std::string_view condition, std::size_t section) {
  constexpr std::string_view kValue = "value()";
  if (!condition.starts_with(kValue)) return {};
  const std::string_view test = condition.substr(kValue.size());
  if (section == 0 && (test == ">=0" || test == ">0")) return {};
  if (section == 1 && test == "<0") return {};
  return "[" + std::string(test) + "]";
}

// The Excel code of one data style element alone, its style:map sections
// left out.
// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
std::string format_code(const xmlNode& element) {
  const std::string_view kind = pkg::local_name(element);
  if (kind == "boolean-style") return "\"TRUE\";\"TRUE\";\"FALSE\"";
  const bool dates = kind == "date-style" || kind == "time-style";
  const std::string_view also_bare = kind == "percentage-style" ? "%" : dates ? ".," : "";
  const bool general_allowed = kind == "number-style";
  const bool elapsed = kind == "time-style" && attr(element, ns::number, "truncate-on-overflow") == "false";
  std::string code;
  bool first_time_part = true;
  for (const xmlNode& part : pkg::children(element, ns::number)) {
    const std::string_view name = pkg::local_name(part);
    if (name == "number") code += number(part, general_allowed);
    else if (name == "scientific-number") code += scientific(part);
    else if (name == "fraction") code += fraction(part);
    else if (name == "text") code += literal(pkg::text_of(part), also_bare);
    else if (name == "text-content") code += "@";
    else if (name == "currency-symbol") code += currency_symbol(part);
    else if (name == "fill-character") code += "*" + pkg::text_of(part).substr(0, 1);
    else if (dates) {
      std::string piece = date_part(part, name);
      // An elapsed-time style lets its first unit run past 24 hours (60 minutes).
      if (elapsed && first_time_part && (name == "hours" || name == "minutes")) piece = "[" + piece + "]";
      if (name == "hours" || name == "minutes" || name == "seconds") first_time_part = false;
      code += piece;
    }
  }
  return code.empty() ? "General" : code;
}
#pragma GCC diagnostic pop

}  // namespace

void DataStyles::add_children_of(const xmlNode& container) {
  for (const xmlNode& child : pkg::children(container, ns::number)) {
    const std::string_view kind = pkg::local_name(child);
    if (!kind.ends_with("-style")) continue;
    if (auto name = pkg::attribute(child, ns::style, "name")) elements_[*name] = &child;
  }
}

std::string DataStyles::code(std::string_view name) const {
  if (auto cached = codes_.find(name); cached != codes_.end()) return cached->second;
  const auto it = elements_.find(name);
  std::string code = it == elements_.end() ? "General" : sections(*it->second, 0);
  codes_.emplace(std::string(name), code);
  return code;
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
std::string DataStyles::sections(const xmlNode& element, int depth) const {
  assert(depth <= kMaxMapDepth);
  std::string code;
  std::size_t section = 0;
  for (const xmlNode& map : pkg::children(element, ns::style, "map")) {
    const auto target = elements_.find(attr(map, ns::style, "apply-style-name"));
    if (target == elements_.end() || depth >= kMaxMapDepth) continue;
    code += condition_prefix(attr(map, ns::style, "condition"), section++) + sections(*target->second, depth + 1) + ";";
  }
  return code + section_color(element) + format_code(element);
}
#pragma GCC diagnostic pop

}  // namespace engine::ods
