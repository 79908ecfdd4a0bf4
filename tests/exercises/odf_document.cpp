#include "tests/exercises/odf_document.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace exercises::testing {

namespace {

constexpr const char* kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr const char* kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr const char* kStyle = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
constexpr const char* kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr const char* kDraw = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
constexpr const char* kForm = "urn:oasis:names:tc:opendocument:xmlns:form:1.0";
constexpr const char* kXml = "http://www.w3.org/XML/1998/namespace";
constexpr const char* kFo = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";

// Excel 2003's grid; the last row of a document is often repeated to the
// end of the program's own, larger grid.
constexpr int kMaxRows = 65536;

using XmlDoc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

const char* text_of(const xmlChar* text) { return reinterpret_cast<const char*>(text); }

bool in_namespace(const xmlNode* node, const char* ns) {
  return node->type == XML_ELEMENT_NODE && node->ns && std::string_view(text_of(node->ns->href)) == ns;
}

bool is(const xmlNode* node, const char* ns, std::string_view name) {
  return in_namespace(node, ns) && name == text_of(node->name);
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

// The text of a paragraph as the program shows it: runs of blanks are
// written as <text:s text:c="n"/>, tabs and line breaks as elements.
void append_text(const xmlNode* node, std::string& text) {
  for (const xmlNode* child = node->children; child; child = child->next) {
    if (child->type == XML_TEXT_NODE) {
      text += text_of(child->content);
    } else if (is(child, kText, "s")) {
      const std::string count = attribute(child, kText, "c");
      text.append(count.empty() ? 1 : std::stoul(count), ' ');
    } else if (is(child, kText, "tab")) {
      text += '\t';
    } else if (is(child, kText, "line-break")) {
      text += '\n';
    } else if (child->type == XML_ELEMENT_NODE) {
      append_text(child, text);
    }
  }
}

// The paragraphs directly under `node`, one line each.
std::string paragraphs(const xmlNode* node) {
  std::string text;
  bool first = true;
  for_each_element(node, [&](const xmlNode* child) {
    if (!is(child, kText, "p")) return;
    if (!first) text += '\n';
    append_text(child, text);
    first = false;
  });
  return text;
}

// What a cell style says about the cell's fill and alignment.
struct CellLook {
  std::string background;
  std::string text_align;
};

// The automatic styles a document names: table styles (whether a sheet is
// shown) and cell styles.
struct AutomaticStyles {
  std::map<std::string, bool> table_display;
  std::map<std::string, CellLook> cells;
};

OdfCell read_cell(const xmlNode* node, const AutomaticStyles& styles) {
  OdfCell cell;
  const auto look = styles.cells.find(attribute(node, kTable, "style-name"));
  if (look != styles.cells.end()) {
    cell.background = look->second.background;
    cell.text_align = look->second.text_align;
  }
  cell.type = attribute(node, kOffice, "value-type");
  cell.formula = attribute(node, kTable, "formula");
  if (cell.type == "string") {
    const std::string stored = attribute(node, kOffice, "string-value");
    cell.value = stored.empty() ? paragraphs(node) : stored;
  } else if (cell.type == "boolean") {
    cell.value = attribute(node, kOffice, "boolean-value");
  } else {
    cell.value = attribute(node, kOffice, "value");
  }
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kOffice, "annotation")) cell.note = paragraphs(child);
  });
  return cell;
}

bool holds_something(const OdfCell& cell) {
  return !cell.type.empty() || !cell.formula.empty() || !cell.note.empty();
}

class TableReader {
 public:
  TableReader(OdfSheet& sheet, const AutomaticStyles& styles) : sheet_(sheet), styles_(styles) {}

  // Rows may sit in row groups (one outline level deeper each), header rows
  // or plain row runs; all of them are rows of the sheet in document order.
  void read_rows(const xmlNode* parent, int level) {
    for_each_element(parent, [&](const xmlNode* child) {
      if (is(child, kTable, "table-row")) read_row(child, level);
      else if (is(child, kTable, "table-row-group")) read_rows(child, level + 1);
      else if (is(child, kTable, "table-header-rows") || is(child, kTable, "table-rows")) read_rows(child, level);
    });
  }

 private:
  // A row repeated n times stands for n rows with the same cells.
  void read_row(const xmlNode* node, int level) {
    const std::vector<std::pair<int, OdfCell>> cells = read_cells(node);
    const int count = std::min(repeat(node, "number-rows-repeated"), kMaxRows - row_);
    for (int i = 0; i < count; ++i, ++row_) {
      if (level > 1) sheet_.outline_levels[row_ + 1] = level;
      for (const auto& [column, cell] : cells) sheet_.cells[a1_address(row_, column)] = cell;
    }
  }

  // The cells of a row that hold something, with their 0-based columns.
  std::vector<std::pair<int, OdfCell>> read_cells(const xmlNode* row) const {
    std::vector<std::pair<int, OdfCell>> cells;
    int column = 0;
    for_each_element(row, [&](const xmlNode* child) {
      if (!is(child, kTable, "table-cell") && !is(child, kTable, "covered-table-cell")) return;
      const int count = repeat(child, "number-columns-repeated");
      const OdfCell cell = read_cell(child, styles_);
      for (int i = 0; i < count && holds_something(cell); ++i) cells.emplace_back(column + i, cell);
      column += count;
    });
    return cells;
  }

  OdfSheet& sheet_;
  const AutomaticStyles& styles_;
  int row_ = 0;
};

void read_named_ranges(const xmlNode* node, std::map<std::string, std::string>& names) {
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kTable, "named-range")) {
      names[attribute(child, kTable, "name")] = attribute(child, kTable, "cell-range-address");
    }
  });
}

// Every object drawn on the sheet, wherever it is anchored (in a cell or
// in the sheet's own shapes element).
void collect_drawn_objects(const xmlNode* node, std::set<std::string>& names) {
  for_each_element(node, [&](const xmlNode* child) {
    const std::string name = in_namespace(child, kDraw) ? attribute(child, kDraw, "name") : std::string();
    if (!name.empty()) names.insert(name);
    collect_drawn_objects(child, names);
  });
}

// The captions of the sheet's form controls by their id (form:id, or the
// older xml:id alone).
std::map<std::string, std::string> form_control_labels(const xmlNode* forms) {
  std::map<std::string, std::string> labels;
  for_each_element(forms, [&](const xmlNode* form) {
    if (!is(form, kForm, "form")) return;
    for_each_element(form, [&](const xmlNode* control) {
      if (!in_namespace(control, kForm)) return;
      const std::string id = attribute(control, kForm, "id");
      labels[id.empty() ? attribute(control, kXml, "id") : id] = attribute(control, kForm, "label");
    });
  });
  return labels;
}

// A control drawn on the sheet names its form control by id; the caption
// is the form control's.
void collect_control_labels(const xmlNode* node, const std::map<std::string, std::string>& labels,
                            std::map<std::string, std::string>& by_name) {
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kDraw, "control")) {
      const auto label = labels.find(attribute(child, kDraw, "control"));
      if (label != labels.end()) by_name[attribute(child, kDraw, "name")] = label->second;
    }
    collect_control_labels(child, labels, by_name);
  });
}

OdfSheet read_table(const xmlNode* node, const AutomaticStyles& styles) {
  OdfSheet sheet;
  sheet.name = attribute(node, kTable, "name");
  sheet.is_protected = attribute(node, kTable, "protected") == "true";
  const auto style = styles.table_display.find(attribute(node, kTable, "style-name"));
  sheet.visible = style == styles.table_display.end() || style->second;
  TableReader(sheet, styles).read_rows(node, 1);
  collect_drawn_objects(node, sheet.drawn_objects);
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kOffice, "forms")) collect_control_labels(node, form_control_labels(child), sheet.control_labels);
  });
  return sheet;
}

// The first element named `name` under `style`, or null.
const xmlNode* properties(const xmlNode* style, const char* name) {
  for (const xmlNode* child = style->children; child; child = child->next) {
    if (is(child, kStyle, name)) return child;
  }
  return nullptr;
}

AutomaticStyles read_automatic_styles(const xmlNode* styles) {
  AutomaticStyles found;
  for_each_element(styles, [&](const xmlNode* style) {
    if (!is(style, kStyle, "style")) return;
    const std::string name = attribute(style, kStyle, "name");
    const std::string family = attribute(style, kStyle, "family");
    if (family == "table") {
      const xmlNode* table = properties(style, "table-properties");
      found.table_display[name] = !table || attribute(table, kTable, "display") != "false";
    } else if (family == "table-cell") {
      const xmlNode* cell = properties(style, "table-cell-properties");
      const xmlNode* paragraph = properties(style, "paragraph-properties");
      found.cells[name] = {cell ? attribute(cell, kFo, "background-color") : std::string(),
                           paragraph ? attribute(paragraph, kFo, "text-align") : std::string()};
    }
  });
  return found;
}

void read_spreadsheet(const xmlNode* node, const AutomaticStyles& styles, OdfDocument& document) {
  for_each_element(node, [&](const xmlNode* child) {
    if (is(child, kTable, "table")) document.sheets.push_back(read_table(child, styles));
    else if (is(child, kTable, "named-expressions")) read_named_ranges(child, document.named_ranges);
  });
}

}  // namespace

std::string a1_address(int row, int column) {
  std::string letters;
  for (int n = column + 1; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters + std::to_string(row + 1);
}

std::vector<std::string> OdfDocument::sheet_names() const {
  std::vector<std::string> names;
  for (const OdfSheet& sheet : sheets) names.push_back(sheet.name);
  return names;
}

const OdfSheet& OdfDocument::sheet(std::string_view name) const {
  const auto found = std::find_if(sheets.begin(), sheets.end(), [&](const OdfSheet& s) { return s.name == name; });
  if (found == sheets.end()) throw std::out_of_range("no sheet named " + std::string(name));
  return *found;
}

OdfCell OdfDocument::cell(std::string_view sheet_name, const std::string& address) const {
  const OdfSheet& found = sheet(sheet_name);
  const auto cell = found.cells.find(address);
  return cell == found.cells.end() ? OdfCell{} : cell->second;
}

int OdfDocument::outline_level(std::string_view sheet_name, int row) const {
  const OdfSheet& found = sheet(sheet_name);
  const auto level = found.outline_levels.find(row);
  return level == found.outline_levels.end() ? 1 : level->second;
}

OdfDocument parse_odf(std::string_view xml, const std::string& origin) {
  const XmlDoc doc(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), origin.c_str(), nullptr,
                                 XML_PARSE_NONET | XML_PARSE_HUGE),
                   xmlFreeDoc);
  if (!doc) throw std::runtime_error("not a well-formed XML document: " + origin);
  OdfDocument document;
  AutomaticStyles styles;
  for_each_element(xmlDocGetRootElement(doc.get()), [&](const xmlNode* part) {
    if (is(part, kOffice, "automatic-styles")) styles = read_automatic_styles(part);
    if (!is(part, kOffice, "body")) return;
    for_each_element(part, [&](const xmlNode* body) {
      if (is(body, kOffice, "spreadsheet")) read_spreadsheet(body, styles, document);
    });
  });
  return document;
}

OdfDocument read_odf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return parse_odf(text.str(), file.string());
}

}  // namespace exercises::testing
