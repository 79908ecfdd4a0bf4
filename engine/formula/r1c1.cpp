#include "engine/formula/r1c1.hpp"

#include <cctype>
#include <cstdlib>

#include "engine/formula/reference.hpp"

namespace engine::formula {

namespace {

bool is_word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

// A word ends where a reference may end: not before more of a name, and not
// before '(' (a function whose name looks like a reference, LOG10).
bool ends_word(std::string_view text, std::size_t at) {
  return at >= text.size() || (!is_word_char(text[at]) && text[at] != '(');
}

// Copies a string literal or a quoted sheet name from `at`, its quote
// doubled inside; returns the position after it.
std::size_t copy_quoted(std::string_view text, std::size_t at, std::string& out) {
  const char quote = text[at];
  std::size_t i = at + 1;
  while (i < text.size()) {
    if (text[i] == quote && (i + 1 >= text.size() || text[i + 1] != quote)) break;
    i += text[i] == quote ? 2 : 1;
  }
  const std::size_t end = std::min(i + 1, text.size());
  out.append(text.substr(at, end - at));
  return end;
}

// One coordinate of an R1C1 reference after its letter: "5" (absolute),
// "[-2]" (relative) or nothing (this row or column).
struct Coordinate {
  bool present = false;
  bool absolute = false;
  int value = 0;
  std::size_t length = 0;
};

Coordinate read_coordinate(std::string_view text, std::size_t at) {
  Coordinate c;
  if (at >= text.size() || (text[at] != 'R' && text[at] != 'r' && text[at] != 'C' && text[at] != 'c')) return c;
  c.present = true;
  std::size_t i = at + 1;
  const bool bracket = i < text.size() && text[i] == '[';
  if (bracket) ++i;
  const std::size_t digits = i;
  if (bracket && i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - digits < 7) ++i;
  const std::string number(text.substr(digits, i - digits));
  if (bracket) {
    if (i >= text.size() || text[i] != ']' || number.empty() || number == "-" || number == "+") return Coordinate{};
    ++i;
    c.value = std::atoi(number.c_str());
  } else if (!number.empty()) {
    c.absolute = true;
    c.value = std::atoi(number.c_str());
  }
  c.length = i - at;
  return c;
}

bool is_row_letter(char c) { return c == 'R' || c == 'r'; }

// The 0-based index a coordinate names from `here`; nullopt off the grid.
std::optional<int> resolve(const Coordinate& c, int here, int limit) {
  const int index = c.absolute ? c.value - 1 : here + c.value;
  if (index < 0 || index >= limit) return std::nullopt;
  return index;
}

struct Translated {
  std::string a1;
  std::size_t length = 0;
  bool off_grid = false;
};

// An R1C1 reference word at `at`: "R2C3", "R[-1]C", "RC[2]", "R3", "C[1]".
std::optional<Translated> translate_r1c1_word(std::string_view text, std::size_t at, int row, int column) {
  Coordinate r = read_coordinate(text, at), c;
  if (!r.present) return std::nullopt;
  if (is_row_letter(text[at])) {
    c = read_coordinate(text, at + r.length);
    if (c.present && is_row_letter(text[at + r.length])) return std::nullopt;
  } else {
    std::swap(r, c);
  }
  const std::size_t length = r.length + c.length;
  if (!ends_word(text, at + length)) return std::nullopt;
  Translated t;
  t.length = length;
  const auto resolved_row = r.present ? resolve(r, row, max_rows) : std::optional<int>(0);
  const auto resolved_column = c.present ? resolve(c, column, max_columns) : std::optional<int>(0);
  if (!resolved_row || !resolved_column) {
    t.off_grid = true;
    return t;
  }
  // Built by appending: "$" + a string draws GCC 12's false -Wrestrict here
  // (GCC bug 105329).
  if (c.present) t.a1.append(c.absolute ? "$" : "").append(column_name(*resolved_column));
  if (r.present) t.a1.append(r.absolute ? "$" : "").append(std::to_string(*resolved_row + 1));
  // A whole row or column alone ("C1", "R[1]") is one line: "$A:$A", "3:3".
  const bool one_line = r.present != c.present;
  const bool in_range = (at > 0 && text[at - 1] == ':') || (at + length < text.size() && text[at + length] == ':');
  if (one_line && !in_range) {
    const std::string line = t.a1;
    t.a1.append(":").append(line);
  }
  return t;
}

std::string r1c1_coordinate(char letter, int index, int here, bool absolute) {
  std::string coordinate(1, letter);
  if (absolute) return coordinate.append(std::to_string(index + 1));
  if (index == here) return coordinate;
  return coordinate.append("[").append(std::to_string(index - here)).append("]");
}

// The end of one side of a whole-row or whole-column reference at `at`
// ("$A", "12"): letters or digits after an optional "$"; `at` when none.
std::size_t line_side_end(std::string_view text, std::size_t at, bool letters) {
  std::size_t i = at < text.size() && text[at] == '$' ? at + 1 : at;
  const std::size_t start = i;
  const auto wanted = [letters](char ch) {
    return letters ? std::isalpha(static_cast<unsigned char>(ch)) != 0 : std::isdigit(static_cast<unsigned char>(ch)) != 0;
  };
  while (i < text.size() && wanted(text[i]) && i - start < 5) ++i;
  return i == start ? at : i;
}

// An A1 whole-row or whole-column reference at `at`: "A:C", "$A:$A", "2:2".
// Excel writes one line alone ("C1", "R[-1]") and a span as two ("C1:C3").
std::optional<Translated> translate_a1_lines(std::string_view text, std::size_t at, int row, int column) {
  for (const bool letters : {true, false}) {
    const std::size_t colon = line_side_end(text, at, letters);
    if (colon == at || colon >= text.size() || text[colon] != ':') continue;
    const std::size_t end = line_side_end(text, colon + 1, letters);
    if (end == colon + 1 || !ends_word(text, end)) continue;
    const auto ref = parse_reference(text.substr(at, end - at));
    if (!ref || ref->shape == AreaShape::Cells) continue;
    const bool rows = ref->shape == AreaShape::Rows;
    const auto side = [&](const CellRef& corner) {
      return rows ? r1c1_coordinate('R', corner.row, row, corner.row_absolute)
                  : r1c1_coordinate('C', corner.column, column, corner.column_absolute);
    };
    Translated t;
    t.length = end - at;
    const std::string first = side(ref->first), last = side(ref->last);
    t.a1 = first == last ? first : first + ":" + last;
    return t;
  }
  return std::nullopt;
}

// An A1 cell reference word at `at`: "B7", "$A$1", or a whole-row or
// whole-column reference.
std::optional<Translated> translate_a1_word(std::string_view text, std::size_t at, int row, int column) {
  if (auto lines = translate_a1_lines(text, at, row, column)) return lines;
  std::size_t i = at;
  const bool column_absolute = text[i] == '$';
  if (column_absolute) ++i;
  const std::size_t letters = i;
  while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])) && i - letters < 3) ++i;
  if (i == letters) return std::nullopt;
  const bool row_absolute = i < text.size() && text[i] == '$';
  if (row_absolute) ++i;
  const std::size_t digits = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - digits < 6) ++i;
  if (i == digits || !ends_word(text, i)) return std::nullopt;
  const auto ref = parse_reference(text.substr(at, i - at));
  if (!ref || !ref->is_cell()) return std::nullopt;
  Translated t;
  t.length = i - at;
  t.a1 = r1c1_coordinate('R', ref->first.row, row, row_absolute) + r1c1_coordinate('C', ref->first.column, column, column_absolute);
  return t;
}

// Copies `text`, replacing each reference word `translate` recognises.
template <class Translate>
std::optional<std::string> translate_words(std::string_view text, Translate translate) {
  std::string out;
  out.reserve(text.size() + 8);
  std::size_t i = 0;
  while (i < text.size()) {
    const char ch = text[i];
    if (ch == '"' || ch == '\'') {
      i = copy_quoted(text, i, out);
      continue;
    }
    const bool starts_word = i == 0 || (!is_word_char(text[i - 1]) && text[i - 1] != '$' && text[i - 1] != ']');
    if (starts_word) {
      if (const auto t = translate(text, i)) {
        if (t->off_grid) return std::nullopt;
        out += t->a1;
        i += t->length;
        continue;
      }
    }
    // The rest of a word that is no reference is copied whole.
    std::size_t end = i + 1;
    while (is_word_char(ch) && end < text.size() && is_word_char(text[end])) ++end;
    out.append(text.substr(i, end - i));
    i = end;
  }
  return out;
}

}  // namespace

std::optional<std::string> r1c1_to_a1(std::string_view formula, int row, int column) {
  return translate_words(formula, [&](std::string_view text, std::size_t at) { return translate_r1c1_word(text, at, row, column); });
}

std::string a1_to_r1c1(std::string_view formula, int row, int column) {
  return *translate_words(formula, [&](std::string_view text, std::size_t at) { return translate_a1_word(text, at, row, column); });
}

}  // namespace engine::formula
