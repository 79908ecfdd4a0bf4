#include "engine/package/xml_part.hpp"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <cassert>
#include <climits>
#include <cstring>
#include <vector>

#include "engine/package/zip_archive.hpp"

namespace engine::package {

namespace {

// NONET: nothing is fetched. No NOENT and no DTDLOAD: entities are never
// substituted and no external subset is read. No HUGE: libxml2 keeps its
// depth and text-size limits. NOERROR/NOWARNING: the fault is reported by
// the exception, not printed on stderr. BIG_LINES: line numbers past 65,535
// in an error stay right.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES | XML_PARSE_COMPACT;

// Marks a parse stopped because the document declared a DTD.
int kDtdRefused = 0;

void refuse_dtd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* parser = static_cast<xmlParserCtxt*>(context);
  parser->_private = &kDtdRefused;
  xmlStopParser(parser);
}

std::string parse_problem(const xmlParserCtxt& parser) {
  const xmlError& error = parser.lastError;
  std::string text = error.message ? error.message : "not well-formed XML";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  if (error.line > 0) text = "line " + std::to_string(error.line) + ": " + text;
  return text;
}

xmlDoc* parse(const std::string& entry, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw PackageError(entry, "the part is too large to parse");
  xmlInitParser();
  std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxt*)> parser(xmlNewParserCtxt(), xmlFreeParserCtxt);
  if (!parser) throw std::bad_alloc();
  parser->sax->internalSubset = refuse_dtd;
  xmlDoc* document =
      xmlCtxtReadMemory(parser.get(), text.data(), static_cast<int>(text.size()), entry.c_str(), nullptr, kParseOptions);
  if (parser->_private == &kDtdRefused) {
    if (document) xmlFreeDoc(document);
    throw PackageError(entry, "the part declares a DTD, which a workbook part never has");
  }
  if (!document || !parser->wellFormed) {
    if (document) xmlFreeDoc(document);
    throw PackageError(entry, parse_problem(*parser));
  }
  if (!xmlDocGetRootElement(document)) {
    xmlFreeDoc(document);
    throw PackageError(entry, "the part has no root element");
  }
  return document;
}

std::string element_path(const xmlNode& element) {
  std::vector<std::string_view> names;
  for (const xmlNode* node = &element; node && node->type == XML_ELEMENT_NODE; node = node->parent)
    names.push_back(local_name(*node));
  std::string path;
  for (auto name = names.rbegin(); name != names.rend(); ++name) path.append("/").append(*name);
  return path;
}

bool in_namespace(const xmlNs* node_ns, const char* ns) {
  if (!ns) return true;
  return node_ns && node_ns->href && std::strcmp(reinterpret_cast<const char*>(node_ns->href), ns) == 0;
}

}  // namespace

XmlPart::XmlPart(std::string entry, std::string_view text)
    : entry_(std::move(entry)), document_(parse(entry_, text), xmlFreeDoc) {}

XmlPart::~XmlPart() = default;
XmlPart::XmlPart(XmlPart&&) noexcept = default;
XmlPart& XmlPart::operator=(XmlPart&&) noexcept = default;

const xmlNode& XmlPart::root() const {
  assert(document_);  // a moved-from part has no tree
  return *xmlDocGetRootElement(document_.get());
}

void XmlPart::fail_at(const xmlNode& element, const std::string& problem) const {
  throw PackageError(entry_, "element " + element_path(element) + " (line " + std::to_string(xmlGetLineNo(&element)) +
                                 "): " + problem);
}

XmlPart read_xml_part(ZipArchive& archive, std::string_view name) {
  std::string text = archive.read(name);
  return XmlPart(resolve_part({}, name), text);
}

std::optional<XmlPart> read_xml_part_if_present(ZipArchive& archive, std::string_view name) {
  auto text = archive.read_if_present(name);
  if (!text) return std::nullopt;
  return XmlPart(resolve_part({}, name), *text);
}

std::string_view local_name(const xmlNode& node) {
  return node.name ? std::string_view(reinterpret_cast<const char*>(node.name)) : std::string_view();
}

bool is_element(const xmlNode& node, const char* ns, std::string_view name) {
  return node.type == XML_ELEMENT_NODE && local_name(node) == name && in_namespace(node.ns, ns);
}

Children::iterator::iterator(const xmlNode* node, const char* ns, std::string_view name)
    : node_(node), ns_(ns), name_(name) {
  settle();
}

Children::iterator& Children::iterator::operator++() {
  assert(node_);  // never advanced past the end
  node_ = node_->next;
  settle();
  return *this;
}

void Children::iterator::settle() {
  while (node_ && !(node_->type == XML_ELEMENT_NODE && (name_.empty() || local_name(*node_) == name_) &&
                    in_namespace(node_->ns, ns_)))
    node_ = node_->next;
}

const xmlNode* first_child(const xmlNode& parent, const char* ns, std::string_view name) {
  for (const xmlNode& child : children(parent, ns, name)) return &child;
  return nullptr;
}

std::optional<std::string> attribute(const xmlNode& element, const char* ns, const char* name) {
  const xmlAttr* found = xmlHasNsProp(&element, reinterpret_cast<const xmlChar*>(name), reinterpret_cast<const xmlChar*>(ns));
  if (!found) return std::nullopt;
  const xmlNode* value = found->children;
  if (value && !value->next && value->type == XML_TEXT_NODE && value->content)
    return std::string(reinterpret_cast<const char*>(value->content));
  std::unique_ptr<xmlChar, void (*)(void*)> joined(xmlNodeListGetString(element.doc, found->children, 1), xmlFree);
  return joined ? std::string(reinterpret_cast<const char*>(joined.get())) : std::string();
}

std::string text_of(const xmlNode& element) {
  std::unique_ptr<xmlChar, void (*)(void*)> content(xmlNodeGetContent(&element), xmlFree);
  return content ? std::string(reinterpret_cast<const char*>(content.get())) : std::string();
}

}  // namespace engine::package
