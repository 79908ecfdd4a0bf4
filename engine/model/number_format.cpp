#include "engine/model/number_format.hpp"

#include <array>
#include <cctype>
#include <utility>

#include "engine/model/text.hpp"

namespace engine::model {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 36> kBuiltins = {{
    {0, "General"},
    {1, "0"},
    {2, "0.00"},
    {3, "#,##0"},
    {4, "#,##0.00"},
    {5, "\"$\"#,##0_);(\"$\"#,##0)"},
    {6, "\"$\"#,##0_);[Red](\"$\"#,##0)"},
    {7, "\"$\"#,##0.00_);(\"$\"#,##0.00)"},
    {8, "\"$\"#,##0.00_);[Red](\"$\"#,##0.00)"},
    {9, "0%"},
    {10, "0.00%"},
    {11, "0.00E+00"},
    {12, "# ?/?"},
    {13, "# ?\?/?\?"},
    {14, "m/d/yyyy"},
    {15, "d-mmm-yy"},
    {16, "d-mmm"},
    {17, "mmm-yy"},
    {18, "h:mm AM/PM"},
    {19, "h:mm:ss AM/PM"},
    {20, "h:mm"},
    {21, "h:mm:ss"},
    {22, "m/d/yyyy h:mm"},
    {37, "#,##0_);(#,##0)"},
    {38, "#,##0_);[Red](#,##0)"},
    {39, "#,##0.00_);(#,##0.00)"},
    {40, "#,##0.00_);[Red](#,##0.00)"},
    {41, "_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)"},
    {42, "_(\"$\"* #,##0_);_(\"$\"* (#,##0);_(\"$\"* \"-\"_);_(@_)"},
    {43, "_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"??_);_(@_)"},
    {44, "_(\"$\"* #,##0.00_);_(\"$\"* (#,##0.00);_(\"$\"* \"-\"??_);_(@_)"},
    {45, "mm:ss"},
    {46, "[h]:mm:ss"},
    {47, "mm:ss.0"},
    {48, "##0.0E+0"},
    {49, "@"},
}};

}  // namespace

std::optional<std::string_view> builtin_number_format(int id) {
  for (const auto& [builtin_id, code] : kBuiltins) {
    if (builtin_id == id) return code;
  }
  return std::nullopt;
}

std::optional<int> builtin_number_format_id(std::string_view code) {
  if (equal_ignoring_case(code, kGeneralFormat)) return 0;
  for (const auto& [id, builtin_code] : kBuiltins) {
    if (builtin_code == code) return id;
  }
  return std::nullopt;
}

bool is_date_format(std::string_view code) {
  bool in_quotes = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (in_quotes) {
      in_quotes = c != '"';
    } else if (c == '"') {
      in_quotes = true;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is literal (or a fill/space width)
    } else if (c == '[') {
      const auto close = code.find(']', i);
      if (close == std::string_view::npos) return false;
      const auto inside = lower(code.substr(i + 1, close - i - 1));
      if (inside == "h" || inside == "hh" || inside == "m" || inside == "mm" || inside == "s" || inside == "ss") {
        return true;
      }
      i = close;
    } else if (c == ';') {
      return false;  // the first section decides
    } else {
      const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (l == 'd' || l == 'm' || l == 'y' || l == 'h' || l == 's') return true;
    }
  }
  return false;
}

bool is_text_format(std::string_view code) { return code == kTextFormat; }

}  // namespace engine::model
