#include "engine/xlsx/xml_names.hpp"

#include <charconv>

#include "engine/formula/reference.hpp"
#include "engine/package/xml_part.hpp"
#include "platform/com/text.hpp"

namespace engine::xlsx {

using package::attribute;
using package::children;
using package::is_element;

std::optional<std::string> attr(const xmlNode& element, const char* name) { return attribute(element, nullptr, name); }

std::optional<std::string> relationship_id(const xmlNode& element) {
  if (auto id = attribute(element, ns::kRelationships, "id")) return id;
  return attribute(element, ns::kStrictRelationships, "id");
}

bool flag(const xmlNode& element, const char* name, bool fallback) {
  const auto value = attr(element, name);
  if (!value) return fallback;
  if (*value == "1" || *value == "true") return true;
  if (*value == "0" || *value == "false") return false;
  return fallback;
}

std::optional<long long> integer(const xmlNode& element, const char* name) {
  const auto value = attr(element, name);
  if (!value) return std::nullopt;
  long long result = 0;
  const char* end = value->data() + value->size();
  const auto [last, error] = std::from_chars(value->data(), end, result);
  if (error != std::errc() || last != end) return std::nullopt;
  return result;
}

std::optional<double> number(const xmlNode& element, const char* name) {
  const auto value = attr(element, name);
  if (!value) return std::nullopt;
  double result = 0;
  const char* end = value->data() + value->size();
  const auto [last, error] = std::from_chars(value->data(), end, result);
  if (error != std::errc() || last != end) return std::nullopt;
  return result;
}

std::optional<CellPosition> parse_cell(std::string_view text) {
  std::size_t i = 0;
  long column = 0;
  while (i < text.size() && i < 4 && ((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z'))) {
    column = column * 26 + ((text[i] | 0x20) - 'a' + 1);
    ++i;
  }
  if (i == 0 || i == text.size()) return std::nullopt;
  long row = 0;
  for (std::size_t j = i; j < text.size(); ++j) {
    if (text[j] < '0' || text[j] > '9' || j - i >= 8) return std::nullopt;
    row = row * 10 + (text[j] - '0');
  }
  if (row < 1 || row > formula::max_rows || column > formula::max_columns) return std::nullopt;
  return CellPosition{static_cast<int>(row - 1), static_cast<int>(column - 1)};
}

namespace {

// SpreadsheetML writes characters XML cannot carry (a carriage return, a
// control character) as "_xHHHH_"; "_x005F_" escapes a literal underscore.
std::string unescape(std::string text) {
  if (text.find("_x") == std::string::npos) return text;
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned code = 0;
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_' &&
        std::from_chars(text.data() + i + 2, text.data() + i + 6, code, 16).ptr == text.data() + i + 6 &&
        !(code >= 0xD800 && code <= 0xDFFF)) {
      out += platform::com::to_utf8(std::u16string(1, static_cast<char16_t>(code)));
      i += 6;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string rich_text(const xmlNode& element) {
  if (is_element(element, kAnyNs, "t")) return unescape(package::text_of(element));
  std::string text;
  for (const xmlNode& child : children(element, kAnyNs)) {
    if (is_element(child, kAnyNs, "t")) text += package::text_of(child);
    else if (is_element(child, kAnyNs, "r"))
      for (const xmlNode& run_text : children(child, kAnyNs, "t")) text += package::text_of(run_text);
  }
  return unescape(std::move(text));
}

}  // namespace engine::xlsx
