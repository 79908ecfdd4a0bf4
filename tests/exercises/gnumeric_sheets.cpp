#include "tests/exercises/gnumeric_sheets.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string_view>

namespace exercises::testing {

namespace {

constexpr std::string_view kGnumeric = "http://www.gnumeric.org/v10.dtd";

using XmlDoc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

bool is(const xmlNode* node, std::string_view name) {
  return node->type == XML_ELEMENT_NODE && node->ns &&
         std::string_view(reinterpret_cast<const char*>(node->ns->href)) == kGnumeric &&
         name == reinterpret_cast<const char*>(node->name);
}

std::string attribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (!value) return {};
  std::string result = reinterpret_cast<const char*>(value);
  xmlFree(value);
  return result;
}

int number_attribute(const xmlNode* node, const char* name, int absent) {
  const std::string text = attribute(node, name);
  return text.empty() ? absent : std::stoi(text);
}

template <typename Each>
void for_each_child(const xmlNode* parent, std::string_view name, Each each) {
  for (const xmlNode* child = parent->children; child; child = child->next) {
    if (is(child, name)) each(child);
  }
}

std::string content(const xmlNode* node) {
  xmlChar* text = xmlNodeGetContent(node);
  std::string result = text ? reinterpret_cast<const char*>(text) : "";
  xmlFree(text);
  return result;
}

// Gnumeric counts levels from 0 outside any group, Excel from 1; a RowInfo
// stands for Count rows from No (0-based).
std::map<int, int> outline_of(const xmlNode* rows) {
  std::map<int, int> levels;
  for_each_child(rows, "RowInfo", [&](const xmlNode* info) {
    const int level = number_attribute(info, "OutlineLevel", 0);
    const int first = number_attribute(info, "No", 0);
    const int count = number_attribute(info, "Count", 1);
    for (int row = first; level > 0 && row < first + count; ++row) levels[row + 1] = level + 1;
  });
  return levels;
}

double decimal_attribute(const xmlNode* node, const char* name, double absent) {
  const std::string text = attribute(node, name);
  return text.empty() ? absent : std::stod(text);
}

// One axis of a sheet as Cols or Rows gives it: a default size in points
// and the lines of their own size (ColInfo, RowInfo: Count lines from No,
// each Unit points, none when Hidden).
class Axis {
 public:
  Axis(const xmlNode* lines, const char* info) : standard_(decimal_attribute(lines, "DefaultSizePts", 0)) {
    for_each_child(lines, info, [&](const xmlNode* line) {
      const int first = number_attribute(line, "No", 0);
      const double size = attribute(line, "Hidden") == "1" ? 0 : decimal_attribute(line, "Unit", standard_);
      for (int i = first; i < first + number_attribute(line, "Count", 1); ++i) sizes_[i] = size;
    });
  }

  double size(int line) const {
    const auto it = sizes_.find(line);
    return it == sizes_.end() ? standard_ : it->second;
  }

  // Points to `fraction` of `line`, from the first line's start.
  double at(int line, double fraction) const {
    double points = 0;
    for (int i = 0; i < line; ++i) points += size(i);
    return points + fraction * size(line);
  }

 private:
  double standard_;
  std::map<int, double> sizes_;
};

// "A4" as (column 0, row 3).
std::pair<int, int> cell_of(std::string_view address) {
  int column = 0;
  std::size_t i = 0;
  for (; i < address.size() && address[i] >= 'A' && address[i] <= 'Z'; ++i) column = column * 26 + (address[i] - 'A' + 1);
  if (i == 0 || i == address.size()) throw std::runtime_error("not a cell address: " + std::string(address));
  return {column - 1, std::stoi(std::string(address.substr(i))) - 1};
}

// An object lies from ObjectOffset's first two fractions of ObjectBound's
// first cell to its last two fractions of the last cell (the same one when
// the bound is a single cell).
Bounds object_bounds(const xmlNode* object, const Axis& columns, const Axis& rows) {
  const std::string bound = attribute(object, "ObjectBound");
  const std::size_t colon = bound.find(':');
  const auto [first_column, first_row] = cell_of(std::string_view(bound).substr(0, colon));
  const auto [last_column, last_row] =
      colon == std::string::npos ? cell_of(bound) : cell_of(std::string_view(bound).substr(colon + 1));
  std::istringstream offsets(attribute(object, "ObjectOffset"));
  double left = 0, top = 0, right = 0, bottom = 0;
  offsets >> left >> top >> right >> bottom;
  const double x = columns.at(first_column, left), y = rows.at(first_row, top);
  return {x, y, columns.at(last_column, right) - x, rows.at(last_row, bottom) - y};
}

std::map<std::string, Bounds> objects_of(const xmlNode* sheet) {
  const xmlNode* cols = nullptr;
  const xmlNode* rows = nullptr;
  for_each_child(sheet, "Cols", [&](const xmlNode* node) { cols = node; });
  for_each_child(sheet, "Rows", [&](const xmlNode* node) { rows = node; });
  std::map<std::string, Bounds> objects;
  if (!cols || !rows) return objects;
  const Axis across(cols, "ColInfo"), down(rows, "RowInfo");
  for_each_child(sheet, "Objects", [&](const xmlNode* list) {
    for (const xmlNode* object = list->children; object; object = object->next) {
      // A note is placed by its cell, and has no name.
      if (object->type == XML_ELEMENT_NODE && !is(object, "CellComment"))
        objects[attribute(object, "Name")] = object_bounds(object, across, down);
    }
  });
  return objects;
}

}  // namespace

std::map<std::string, GnumericSheet> read_gnumeric_sheets(const std::filesystem::path& file) {
  const XmlDoc doc(xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_HUGE), xmlFreeDoc);
  if (!doc) throw std::runtime_error("not a well-formed XML document: " + file.string());
  std::map<std::string, GnumericSheet> found;
  for_each_child(xmlDocGetRootElement(doc.get()), "Sheets", [&](const xmlNode* sheets) {
    for_each_child(sheets, "Sheet", [&](const xmlNode* node) {
      GnumericSheet sheet;
      sheet.is_protected = attribute(node, "Protected") == "1";
      std::string name;
      for_each_child(node, "Name", [&](const xmlNode* child) { name = content(child); });
      for_each_child(node, "Rows", [&](const xmlNode* rows) { sheet.outline_levels = outline_of(rows); });
      sheet.objects = objects_of(node);
      found[name] = sheet;
    });
  });
  return found;
}

}  // namespace exercises::testing
