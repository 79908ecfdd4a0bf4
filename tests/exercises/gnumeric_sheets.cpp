#include "tests/exercises/gnumeric_sheets.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
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
      found[name] = sheet;
    });
  });
  return found;
}

}  // namespace exercises::testing
