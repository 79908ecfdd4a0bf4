#include "engine/ods/text_content.hpp"

#include <algorithm>
#include <cstdlib>

#include "engine/ods/odf_namespaces.hpp"
#include "engine/package/xml_part.hpp"

namespace engine::ods {

namespace {

namespace pkg = engine::package;

class TextCollector {
 public:
  void add(std::string_view text) {
    const std::size_t room = kMaxTextLength - std::min(out_.size(), kMaxTextLength);
    if (text.size() > room) {
      truncated_ = true;
      text = text.substr(0, room);
      // Back off to the start of a UTF-8 sequence that would be cut.
      while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.remove_suffix(1);
      if (!text.empty() && static_cast<unsigned char>(text.back()) >= 0xC0) text.remove_suffix(1);
    }
    out_.append(text);
  }
  void add_repeated(char c, std::size_t count) {
    add(std::string(std::min(count, kMaxTextLength), c));
  }
  // The content of a paragraph: its text and the inline elements inside.
  void add_inline(const xmlNode& parent) {
    for (const xmlNode* node = parent.children; node; node = node->next) {
      if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
        if (node->content) add(reinterpret_cast<const char*>(node->content));
      } else if (node->type == XML_ELEMENT_NODE) {
        add_element(*node);
      }
    }
  }
  std::string take(bool* truncated) {
    if (truncated) *truncated = truncated_;
    return std::move(out_);
  }

 private:
  void add_element(const xmlNode& element) {
    if (pkg::is_element(element, ns::text, "s")) {
      const auto count = pkg::attribute(element, ns::text, "c");
      add_repeated(' ', count ? static_cast<std::size_t>(std::max(std::atol(count->c_str()), 1L)) : 1);
    } else if (pkg::is_element(element, ns::text, "tab")) {
      add("\t");
    } else if (pkg::is_element(element, ns::text, "line-break")) {
      add("\n");
    } else if (pkg::is_element(element, ns::text, "note") || pkg::is_element(element, ns::office, "annotation")) {
      // A footnote or a comment anchored in the text is not part of it.
    } else {
      add_inline(element);  // text:span, text:a and fields show their text
    }
  }

  std::string out_;
  bool truncated_ = false;
};

}  // namespace

std::string paragraphs_text(const xmlNode& element, bool* truncated) {
  TextCollector text;
  bool first = true;
  for (const xmlNode& child : pkg::children(element, ns::text)) {
    const std::string_view name = pkg::local_name(child);
    if (name == "list") {
      for (const xmlNode& item : pkg::children(child, ns::text, "list-item")) {
        if (!first) text.add("\n");
        first = false;
        text.add(paragraphs_text(item));
      }
      continue;
    }
    if (name != "p" && name != "h") continue;
    if (!first) text.add("\n");
    first = false;
    text.add_inline(child);
  }
  return text.take(truncated);
}

}  // namespace engine::ods
