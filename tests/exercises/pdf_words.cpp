#include "tests/exercises/pdf_words.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <stdexcept>
#include <string_view>

#include "tests/exercises/program_run.hpp"

namespace exercises::testing {

namespace {

using XmlDoc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

bool is(const xmlNode* node, std::string_view name) {
  return node->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(node->name);
}

double coordinate(const xmlNode* word, const char* name) {
  xmlChar* value = xmlGetProp(word, reinterpret_cast<const xmlChar*>(name));
  if (!value) throw std::runtime_error(std::string("a word without ") + name);
  const double number = std::stod(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return number;
}

PdfWord word_of(const xmlNode* node, int page) {
  xmlChar* text = xmlNodeGetContent(node);
  PdfWord word{page, text ? reinterpret_cast<const char*>(text) : "", {}};
  xmlFree(text);
  const double left = coordinate(node, "xMin"), top = coordinate(node, "yMin");
  word.bounds = {left, top, coordinate(node, "xMax") - left, coordinate(node, "yMax") - top};
  return word;
}

// pdftotext nests html > body > doc > page > word.
void collect(const xmlNode* node, int& page, std::vector<PdfWord>& words) {
  for (const xmlNode* child = node->children; child; child = child->next) {
    if (is(child, "word")) {
      words.push_back(word_of(child, page));
    } else if (is(child, "page")) {
      collect(child, page, words);
      ++page;
    } else if (child->type == XML_ELEMENT_NODE) {
      collect(child, page, words);
    }
  }
}

}  // namespace

std::vector<PdfWord> pdf_words(const std::filesystem::path& pdf) {
  const ProgramRun run = run_program({"pdftotext", "-bbox", pdf.string(), "-"}, 60);
  if (!run.succeeded) throw std::runtime_error("pdftotext failed on " + pdf.string() + ": " + run.errors);
  const XmlDoc doc(xmlReadMemory(run.output.data(), static_cast<int>(run.output.size()), pdf.c_str(), nullptr,
                                 XML_PARSE_NONET),
                   xmlFreeDoc);
  if (!doc) throw std::runtime_error("pdftotext wrote no well-formed XML for " + pdf.string());
  std::vector<PdfWord> words;
  int page = 0;
  collect(xmlDocGetRootElement(doc.get()), page, words);
  return words;
}

}  // namespace exercises::testing
