#include "engine/ods/open_formula.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <utility>

#include "engine/formula/reference.hpp"

namespace engine::ods {

namespace {

// Functions OpenFormula spells otherwise than Excel 2003 does.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kRenamedFunctions{{
    {"LEGACY.CHIDIST", "CHIDIST"},
    {"LEGACY.CHIINV", "CHIINV"},
    {"LEGACY.CHITEST", "CHITEST"},
    {"LEGACY.FDIST", "FDIST"},
    {"LEGACY.FINV", "FINV"},
    {"LEGACY.NORMSDIST", "NORMSDIST"},
    {"LEGACY.NORMSINV", "NORMSINV"},
    {"LEGACY.TDIST", "TDIST"},
    {"LEGACY.TINV", "TINV"},
}};

// LibreOffice writes Excel's own functions that OpenFormula lacks with this prefix.
constexpr std::string_view kMicrosoftPrefix = "COM.MICROSOFT.";

constexpr std::array<std::string_view, 7> kErrorLiterals{"#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
                                                         "#NAME?", "#NUM!", "#N/A"};

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

bool is_word_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

std::string function_name(std::string_view name) {
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  if (upper.starts_with(kMicrosoftPrefix)) return upper.substr(kMicrosoftPrefix.size());
  for (const auto& [open, excel] : kRenamedFunctions)
    if (upper == open) return std::string(excel);
  return std::string(name);
}

// One end of a reference: "$'Trimestre 1'.$C$4", ".B4", "Sheet1.A:" ...
struct Corner {
  std::optional<std::string> sheet;
  std::string cell;
};

// Reads a sheet name quoted with "'" ("''" stands for one) from `text` at
// `pos`, leaving `pos` after the closing quote.
std::string quoted_sheet(std::string_view text, std::size_t& pos) {
  std::string name;
  for (++pos; pos < text.size(); ++pos) {
    if (text[pos] != '\'') {
      name += text[pos];
    } else if (pos + 1 < text.size() && text[pos + 1] == '\'') {
      name += '\'';
      ++pos;
    } else {
      ++pos;
      return name;
    }
  }
  throw OpenFormulaError("a sheet name in a reference has no closing quote");
}

Corner read_corner(std::string_view text) {
  Corner corner;
  if (text.starts_with('.')) {
    corner.cell = std::string(text.substr(1));
    return corner;
  }
  std::size_t pos = text.starts_with('$') ? 1 : 0;
  if (pos < text.size() && text[pos] == '\'') {
    corner.sheet = quoted_sheet(text, pos);
    if (pos < text.size() && text[pos] == '#') throw OpenFormulaError("a reference points into another document");
    if (pos >= text.size() || text[pos] != '.') throw OpenFormulaError("a quoted sheet name is not followed by a cell");
    corner.cell = std::string(text.substr(pos + 1));
    return corner;
  }
  const auto dot = text.rfind('.');
  if (dot == std::string_view::npos || dot < pos) throw OpenFormulaError("a reference has no cell part");
  corner.sheet = std::string(text.substr(pos, dot - pos));
  corner.cell = std::string(text.substr(dot + 1));
  return corner;
}

// Splits at the ":" that lies outside quoted sheet names.
std::pair<std::string_view, std::string_view> split_range(std::string_view text) {
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\'') quoted = !quoted;
    else if (text[i] == ':' && !quoted) return {text.substr(0, i), text.substr(i + 1)};
  }
  return {text, {}};
}

class Translator {
 public:
  explicit Translator(std::string_view text) : text_(text) {}

  std::string run() {
    out_ = "=";
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '"') copy_string();
      else if (c == '[') copy_reference();
      else if (c == '#') copy_error();
      else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80) copy_word();
      else copy_operator(c);
    }
    return out_;
  }

 private:
  void copy_string() {
    const std::size_t start = pos_++;
    while (true) {
      if (pos_ >= text_.size()) throw OpenFormulaError("a text in the formula has no closing quote");
      if (text_[pos_++] != '"') continue;
      if (pos_ < text_.size() && text_[pos_] == '"') ++pos_;
      else break;
    }
    out_.append(text_.substr(start, pos_ - start));
  }

  void copy_reference() {
    bool quoted = false;
    std::size_t end = pos_ + 1;
    for (; end < text_.size(); ++end) {
      if (text_[end] == '\'') quoted = !quoted;
      else if (text_[end] == ']' && !quoted) break;
    }
    if (end >= text_.size()) throw OpenFormulaError("a reference in the formula has no closing bracket");
    out_ += excel_reference(text_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = end + 1;
  }

  void copy_error() {
    for (const auto literal : kErrorLiterals) {
      if (equal_ignoring_case(text_.substr(pos_, literal.size()), literal)) {
        out_ += literal;
        pos_ += literal.size();
        return;
      }
    }
    out_ += text_[pos_++];
  }

  void copy_word() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && is_word_char(text_[pos_])) ++pos_;
    const std::string_view word = text_.substr(start, pos_ - start);
    std::size_t next = pos_;
    while (next < text_.size() && text_[next] == ' ') ++next;
    out_ += next < text_.size() && text_[next] == '(' ? function_name(word) : std::string(word);
  }

  void copy_operator(char c) {
    ++pos_;
    switch (c) {
      case ';': out_ += ','; return;  // between arguments, and between the columns of an array
      case '|': out_ += ';'; return;  // between the rows of an array
      case '~': out_ += ','; return;  // union
      case '!': out_ += ' '; return;  // intersection
      default: out_ += c; return;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string out_;
};

}  // namespace

std::string excel_reference(std::string_view address) {
  if (address.find("#REF!") != std::string_view::npos) return "#REF!";
  const auto [first_text, last_text] = split_range(address);
  const Corner first = read_corner(first_text);
  std::string sheet = first.sheet.value_or("");
  std::string last_sheet;
  std::string cells = first.cell;
  if (!last_text.empty()) {
    const Corner last = read_corner(last_text);
    if (last.sheet && *last.sheet != sheet) last_sheet = *last.sheet;
    cells += ":" + last.cell;
  }
  if (first.cell.empty()) throw OpenFormulaError("a reference has no cell part");
  return formula::sheet_prefix(sheet, last_sheet) + cells;
}

std::string excel_formula(std::string_view open_formula) {
  std::string_view text = open_formula;
  if (const auto colon = text.find(':'); colon != std::string_view::npos && colon < text.find('=')) {
    const std::string_view prefix = text.substr(0, colon);
    if (prefix == "msoxl") return std::string(text.substr(colon + 1));
    if (prefix != "of" && prefix != "oooc") throw OpenFormulaError("formulas in '" + std::string(prefix) + ":' notation are not read");
    text.remove_prefix(colon + 1);
  }
  if (!text.starts_with('=')) throw OpenFormulaError("a formula does not begin with '='");
  return Translator(text.substr(1)).run();
}

}  // namespace engine::ods
