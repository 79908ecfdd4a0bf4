#include "interop_flat_ods.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace engine::xls::interop {

namespace {

constexpr const char* kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr const char* kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr const char* kStyle = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
constexpr const char* kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr const char* kFo = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
constexpr const char* kNumber = "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0";

// Excel 2003's grid: a document's last row repeated a million times stops here.
constexpr int kMaxRows = 65536;

using XmlDoc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

const char* text_of(const xmlChar* text) { return reinterpret_cast<const char*>(text); }

bool is(const xmlNode* node, const char* ns, std::string_view name) {
  return node->type == XML_ELEMENT_NODE && node->ns && std::string_view(text_of(node->ns->href)) == ns &&
         name == text_of(node->name);
}

std::string attribute(const xmlNode* node, const char* ns, const char* name) {
  xmlChar* value = xmlGetNsProp(node, reinterpret_cast<const xmlChar*>(name), reinterpret_cast<const xmlChar*>(ns));
  if (!value) return {};
  std::string result = text_of(value);
  xmlFree(value);
  return result;
}

int repeat(const xmlNode* node, const char* name) {
  const std::string count = attribute(node, kTable, name);
  return count.empty() ? 1 : std::stoi(count);
}

template <typename Each>
void for_each_element(const xmlNode* parent, Each each) {
  for (const xmlNode* child = parent->children; child; child = child->next) {
    if (child->type == XML_ELEMENT_NODE) each(child);
  }
}

// The paragraphs of a string cell, one line each.
std::string paragraphs(const xmlNode* cell) {
  std::string text;
  bool first = true;
  for_each_element(cell, [&](const xmlNode* child) {
    if (!is(child, kText, "p")) return;
    if (!first) text += '\n';
    xmlChar* content = xmlNodeGetContent(child);
    if (content) text += text_of(content);
    xmlFree(content);
    first = false;
  });
  return text;
}

OdsCell read_cell(const xmlNode* node) {
  OdsCell cell;
  cell.type = attribute(node, kOffice, "value-type");
  cell.formula = attribute(node, kTable, "formula");
  cell.style = attribute(node, kTable, "style-name");
  const std::string spanned = attribute(node, kTable, "number-columns-spanned");
  if (!spanned.empty()) cell.columns_spanned = std::stoi(spanned);
  if (cell.type == "string") cell.value = paragraphs(node);
  else if (cell.type == "boolean") cell.value = attribute(node, kOffice, "boolean-value");
  else cell.value = attribute(node, kOffice, "value");
  return cell;
}

void read_row(const xmlNode* node, int level, OdsSheet& sheet) {
  const int row = static_cast<int>(sheet.rows.size());
  int column = 0;
  for_each_element(node, [&](const xmlNode* child) {
    if (!is(child, kTable, "table-cell") && !is(child, kTable, "covered-table-cell")) return;
    const OdsCell cell = read_cell(child);
    const int count = repeat(child, "number-columns-repeated");
    if (!cell.type.empty() || !cell.formula.empty()) {
      for (int i = 0; i < count; ++i) sheet.cells[{row, column + i}] = cell;
    }
    column += count;
  });
  const std::string visibility = attribute(node, kTable, "visibility");
  const OdsRow info{visibility == "collapse", visibility == "filter", level};
  const int count = std::min(repeat(node, "number-rows-repeated"), kMaxRows - row);
  sheet.rows.insert(sheet.rows.end(), static_cast<std::size_t>(std::max(count, 0)), info);
}

// Rows may sit in row groups (one outline level deeper each), header rows or
// plain row runs; all of them are rows of the sheet in document order.
void read_rows(const xmlNode* parent, int level, OdsSheet& sheet) {
  for_each_element(parent, [&](const xmlNode* child) {
    if (is(child, kTable, "table-row")) read_row(child, level, sheet);
    else if (is(child, kTable, "table-row-group")) read_rows(child, level + 1, sheet);
    else if (is(child, kTable, "table-header-rows") || is(child, kTable, "table-rows")) read_rows(child, level, sheet);
  });
}

void read_named_ranges(const xmlNode* node, std::map<std::string, std::string>& names) {
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kTable, "named-range")) {
      names[attribute(child, kTable, "name")] = attribute(child, kTable, "cell-range-address");
    }
  });
}

OdsSheet read_table(const xmlNode* node) {
  OdsSheet sheet;
  sheet.name = attribute(node, kTable, "name");
  read_rows(node, 1, sheet);
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kTable, "named-expressions")) read_named_ranges(child, sheet.named_ranges);
  });
  return sheet;
}

void read_filter_conditions(const xmlNode* node, std::vector<OdsFilterCondition>& conditions) {
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kTable, "filter-condition")) {
      // A condition on a set of values (table:filter-set-item) stands for
      // one condition per value.
      const OdsFilterCondition condition{std::stoi(attribute(child, kTable, "field-number")),
                                         attribute(child, kTable, "operator"), attribute(child, kTable, "value")};
      bool set = false;
      for_each_element(child, [&](const xmlNode* item) {
        if (!is(item, kTable, "filter-set-item")) return;
        set = true;
        conditions.push_back({condition.field, condition.op, attribute(item, kTable, "value")});
      });
      if (!set) conditions.push_back(condition);
    } else {
      read_filter_conditions(child, conditions);
    }
  });
}

void read_database_ranges(const xmlNode* node, std::vector<OdsDatabaseRange>& ranges) {
  for_each_element(node, [&](const xmlNode* child) {
    if (!is(child, kTable, "database-range")) return;
    OdsDatabaseRange range;
    range.range = attribute(child, kTable, "target-range-address");
    range.buttons = attribute(child, kTable, "display-filter-buttons") == "true";
    read_filter_conditions(child, range.conditions);
    ranges.push_back(std::move(range));
  });
}

void read_spreadsheet(const xmlNode* node, OdsDocument& document) {
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kTable, "table")) document.sheets.push_back(read_table(child));
    else if (is(child, kTable, "named-expressions")) read_named_ranges(child, document.named_ranges);
    else if (is(child, kTable, "database-ranges")) read_database_ranges(child, document.database_ranges);
  });
}

OdsStyle read_style(const xmlNode* node) {
  OdsStyle style;
  style.parent = attribute(node, kStyle, "parent-style-name");
  style.data_style = attribute(node, kStyle, "data-style-name");
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kStyle, "text-properties")) {
      style.font_weight = attribute(child, kFo, "font-weight");
      style.font_style = attribute(child, kFo, "font-style");
      style.font_size = attribute(child, kFo, "font-size");
    } else if (is(child, kStyle, "table-cell-properties")) {
      style.background = attribute(child, kFo, "background-color");
    }
  });
  return style;
}

OdsDataStyle read_data_style(const xmlNode* node) {
  OdsDataStyle style{text_of(node->name), 0};
  for_each_element(node, [&](const xmlNode* child) {
    const std::string places = attribute(child, kNumber, "decimal-places");
    if (is(child, kNumber, "number") && !places.empty()) style.decimal_places = std::stoi(places);
  });
  return style;
}

void read_styles(const xmlNode* node, OdsDocument& document) {
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kStyle, "style") && attribute(child, kStyle, "family") == "table-cell") {
      document.styles[attribute(child, kStyle, "name")] = read_style(child);
    } else if (child->ns && std::string_view(text_of(child->ns->href)) == kNumber) {
      document.data_styles[attribute(child, kStyle, "name")] = read_data_style(child);
    }
  });
}

}  // namespace

const OdsSheet* OdsDocument::sheet(const std::string& name) const {
  const auto found = std::find_if(sheets.begin(), sheets.end(), [&](const OdsSheet& s) { return s.name == name; });
  return found == sheets.end() ? nullptr : &*found;
}

OdsCell OdsDocument::cell(const std::string& sheet_name, int row, int column) const {
  const OdsSheet* found = sheet(sheet_name);
  if (!found) return {};
  const auto cell = found->cells.find({row, column});
  return cell == found->cells.end() ? OdsCell{} : cell->second;
}

OdsRow OdsDocument::row(const std::string& sheet_name, int index) const {
  const OdsSheet* found = sheet(sheet_name);
  if (!found || index >= static_cast<int>(found->rows.size())) return {};
  return found->rows[static_cast<std::size_t>(index)];
}

OdsStyle OdsDocument::effective_style(const OdsCell& cell) const {
  const auto own = styles.find(cell.style);
  if (own == styles.end()) return {};
  OdsStyle style = own->second;
  const auto parent = styles.find(style.parent);
  if (parent == styles.end()) return style;
  for (auto field : {&OdsStyle::font_weight, &OdsStyle::font_style, &OdsStyle::font_size, &OdsStyle::background,
                     &OdsStyle::data_style}) {
    if ((style.*field).empty()) style.*field = parent->second.*field;
  }
  return style;
}

OdsDocument read_flat_ods(const std::filesystem::path& file) {
  const XmlDoc xml(xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_HUGE), xmlFreeDoc);
  if (!xml) throw std::runtime_error("not a well-formed XML document: " + file.string());
  OdsDocument document;
  for_each_element(xmlDocGetRootElement(xml.get()), [&](const xmlNode* part) {
    if (is(part, kOffice, "styles") || is(part, kOffice, "automatic-styles")) read_styles(part, document);
    if (!is(part, kOffice, "body")) return;
    for_each_element(part, [&](const xmlNode* body) {
      if (is(body, kOffice, "spreadsheet")) read_spreadsheet(body, document);
    });
  });
  return document;
}

}  // namespace engine::xls::interop
