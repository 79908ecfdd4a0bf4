#include "engine/formula/reference.hpp"

#include <algorithm>
#include <cctype>

namespace engine::formula {
namespace {

bool is_name_char(unsigned char c) { return std::isalnum(c) || c == '_' || c == '.' || c >= 0x80; }

std::string cell_text(const CellRef& cell) {
  std::string out;
  if (cell.column_absolute) out += '$';
  out += column_name(cell.column);
  if (cell.row_absolute) out += '$';
  out += std::to_string(cell.row + 1);
  return out;
}

std::string column_text(const CellRef& cell) {
  std::string out = cell.column_absolute ? "$" : "";
  return out.append(column_name(cell.column));
}

std::string row_text(const CellRef& cell) {
  std::string out = cell.row_absolute ? "$" : "";
  return out.append(std::to_string(cell.row + 1));
}

// Reads "$AB" or "AB"; nullopt past IV or without letters.
std::optional<std::pair<int, bool>> read_column(std::string_view& s) {
  bool absolute = false;
  std::size_t i = 0;
  if (i < s.size() && s[i] == '$') absolute = true, ++i;
  int column = 0, letters = 0;
  while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i])) && letters < 3) {
    column = column * 26 + (std::toupper(static_cast<unsigned char>(s[i])) - 'A' + 1);
    ++i, ++letters;
  }
  if (letters == 0 || column > max_columns) return std::nullopt;
  s.remove_prefix(i);
  return std::pair{column - 1, absolute};
}

std::optional<std::pair<int, bool>> read_row(std::string_view& s) {
  bool absolute = false;
  std::size_t i = 0;
  if (i < s.size() && s[i] == '$') absolute = true, ++i;
  long row = 0;
  std::size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < 6) {
    row = row * 10 + (s[i] - '0');
    ++i, ++digits;
  }
  if (digits == 0 || row < 1 || row > max_rows) return std::nullopt;
  s.remove_prefix(i);
  return std::pair{static_cast<int>(row - 1), absolute};
}

std::optional<CellRef> read_cell(std::string_view& s) {
  std::string_view rest = s;
  auto column = read_column(rest);
  if (!column) return std::nullopt;
  auto row = read_row(rest);
  if (!row) return std::nullopt;
  s = rest;
  return CellRef{row->first, column->first, row->second, column->second};
}

// Reads "Sheet1!", "'Trimestre 1'!" or "Sheet1:Sheet3!" when present.
bool read_sheet(std::string_view& s, Reference& out) {
  auto read_one = [&](std::string_view& t, std::string& name) {
    if (!t.empty() && t[0] == '\'') {
      std::size_t i = 1;
      for (; i < t.size(); ++i) {
        if (t[i] != '\'') {
          name += t[i];
        } else if (i + 1 < t.size() && t[i + 1] == '\'') {
          name += '\'', ++i;
        } else {
          break;
        }
      }
      if (i >= t.size()) return false;
      t.remove_prefix(i + 1);
      return !name.empty();
    }
    std::size_t i = 0;
    while (i < t.size() && is_name_char(static_cast<unsigned char>(t[i]))) ++i;
    name.assign(t.substr(0, i));
    t.remove_prefix(i);
    return !name.empty();
  };
  const auto bang = s.rfind('!');
  if (bang == std::string_view::npos) return true;
  std::string_view t = s.substr(0, bang);
  // 'A:B'!X1 quotes the span as one name.
  if (!read_one(t, out.sheet)) return false;
  if (!t.empty() && t[0] == ':') {
    t.remove_prefix(1);
    if (!read_one(t, out.last_sheet)) return false;
  } else if (const auto colon = out.sheet.find(':'); colon != std::string::npos && s[0] == '\'') {
    out.last_sheet = out.sheet.substr(colon + 1);
    out.sheet.resize(colon);
  }
  if (!t.empty()) return false;
  s.remove_prefix(bang + 1);
  return true;
}

void order_corners(Reference& r) {
  if (r.first.row > r.last.row) std::swap(r.first.row, r.last.row), std::swap(r.first.row_absolute, r.last.row_absolute);
  if (r.first.column > r.last.column)
    std::swap(r.first.column, r.last.column), std::swap(r.first.column_absolute, r.last.column_absolute);
}

}  // namespace

std::string column_name(int column) {
  std::string name;
  for (int c = column + 1; c > 0; c = (c - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
  return name;
}

bool sheet_name_needs_quotes(std::string_view name) {
  if (name.empty()) return true;
  // A name must start as a word does: "1a" or "." unquoted reads as a number.
  if (std::isdigit(static_cast<unsigned char>(name[0])) || name[0] == '.') return true;
  if (!std::all_of(name.begin(), name.end(), [](char c) { return is_name_char(static_cast<unsigned char>(c)); }))
    return true;
  // A name that reads as a cell ("A1", "IV10") must be quoted too.
  std::string_view s = name;
  return read_cell(s).has_value() && s.empty();
}

std::string sheet_prefix(std::string_view sheet, std::string_view last_sheet) {
  if (sheet.empty()) return {};
  const bool quote = sheet_name_needs_quotes(sheet) || (!last_sheet.empty() && sheet_name_needs_quotes(last_sheet));
  std::string span(sheet);
  if (!last_sheet.empty()) span.append(":").append(last_sheet);
  if (!quote) return span + "!";
  std::string out = "'";
  for (char c : span) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'!";
}

std::string to_a1(const Reference& r) {
  std::string body;
  switch (r.shape) {
    case AreaShape::Rows: body = row_text(r.first) + ":" + row_text(r.last); break;
    case AreaShape::Columns: body = column_text(r.first) + ":" + column_text(r.last); break;
    case AreaShape::Cells: body = r.is_area ? cell_text(r.first) + ":" + cell_text(r.last) : cell_text(r.first); break;
  }
  return sheet_prefix(r.sheet, r.last_sheet) + body;
}

std::optional<Reference> parse_reference(std::string_view text) {
  if (!text.empty() && text[0] == '=') text.remove_prefix(1);
  Reference r;
  if (!read_sheet(text, r)) return std::nullopt;
  std::string_view s = text;
  if (auto cell = read_cell(s)) {
    r.first = r.last = *cell;
    if (s.empty()) return r;
    if (s[0] != ':') return std::nullopt;
    s.remove_prefix(1);
    auto last = read_cell(s);
    if (!last || !s.empty()) return std::nullopt;
    r.last = *last;
    r.is_area = true;
  } else if (auto first_row = read_row(s)) {
    if (s.empty() || s[0] != ':') return std::nullopt;
    s.remove_prefix(1);
    auto last_row = read_row(s);
    if (!last_row || !s.empty()) return std::nullopt;
    r.shape = AreaShape::Rows;
    r.is_area = true;
    r.first = {first_row->first, 0, first_row->second, false};
    r.last = {last_row->first, max_columns - 1, last_row->second, false};
  } else if (auto first_column = read_column(s)) {
    if (s.empty() || s[0] != ':') return std::nullopt;
    s.remove_prefix(1);
    auto last_column = read_column(s);
    if (!last_column || !s.empty()) return std::nullopt;
    r.shape = AreaShape::Columns;
    r.is_area = true;
    r.first = {0, first_column->first, false, first_column->second};
    r.last = {max_rows - 1, last_column->first, false, last_column->second};
  } else {
    return std::nullopt;
  }
  order_corners(r);
  return r;
}

}  // namespace engine::formula
