#include "engine/import/view_hidden_lines.hpp"

#include <algorithm>
#include <cctype>

#include "engine/formula/node.hpp"
#include "engine/import/file_error.hpp"
#include "engine/model/text.hpp"

namespace engine::import {

namespace {

constexpr std::string_view kRowsSuffix = "_.wvu.Rows";
constexpr std::string_view kColumnsSuffix = "_.wvu.Cols";
constexpr std::string_view kViewNameMark = "_.wvu.";

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

bool ends_with_ignoring_case(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && model::equal_ignoring_case(text.substr(text.size() - end.size()), end);
}

std::vector<int> find_lines(const std::map<std::pair<std::string, std::size_t>, std::vector<int>>& table,
                            const std::string& id, std::size_t sheet) {
  const auto it = table.find({upper(id), sheet});
  return it == table.end() ? std::vector<int>{} : it->second;
}

}  // namespace

bool ViewHiddenLines::is_view_name(std::string_view name) {
  return name.size() > 2 && (name[0] == 'Z' || name[0] == 'z') && name[1] == '_' &&
         name.find(kViewNameMark) != std::string_view::npos;
}

std::string ViewHiddenLines::name_id(std::string_view guid) {
  std::string id;
  for (const char c : guid) {
    if (c == '{' || c == '}') continue;
    id += c == '-' ? '_' : c;
  }
  return upper(std::move(id));
}

void ViewHiddenLines::take_name(std::string_view name, std::size_t sheet, const formula::Formula& refers_to) {
  const bool rows = ends_with_ignoring_case(name, kRowsSuffix);
  if (!rows && !ends_with_ignoring_case(name, kColumnsSuffix)) return;
  const std::string id = upper(std::string(name.substr(2, name.find(kViewNameMark) - 2)));
  auto& lines = (rows ? rows_ : columns_)[{id, sheet}];
  formula::visit_nodes(refers_to.root(), [&](const formula::Node& node) {
    if (node.kind != formula::NodeKind::Reference) return;
    const int first = rows ? node.reference.first.row : node.reference.first.column;
    const int last = rows ? node.reference.last.row : node.reference.last.column;
    expanded_ += static_cast<std::size_t>(last - first + 1);
    if (expanded_ > kMaxHiddenLines) fail("the custom views hide more rows than a workbook holds");
    for (int line = first; line <= last; ++line) lines.push_back(line);
  });
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
}

std::vector<int> ViewHiddenLines::rows(const std::string& id, std::size_t sheet) const {
  return find_lines(rows_, id, sheet);
}

std::vector<int> ViewHiddenLines::columns(const std::string& id, std::size_t sheet) const {
  return find_lines(columns_, id, sheet);
}

}  // namespace engine::import
