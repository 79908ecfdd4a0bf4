// XML parts of a package, parsed with libxml2 in its safe mode, and the few
// helpers the readers need to walk them by namespace and local name.
//
// Safety: no network access, no external DTD or entity is ever loaded, and a
// document with a DTD is refused outright: neither SpreadsheetML nor
// OpenDocument has one, and a DTD is how entity-expansion bombs get in.
// Documents deeper than libxml2's default limit are refused (huge-tree off).
//
// Thread rule: an XmlPart is used from one thread at a time.
// Lifetime: every node pointer and every string_view handed out by these
// helpers points into the XmlPart's tree and stays valid until it is destroyed.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/package/package_error.hpp"

namespace engine::package {

class ZipArchive;

class XmlPart {
 public:
  // Parses `text`, the content of the package entry `entry`. Throws
  // PackageError naming the entry and the line when it is not well-formed XML
  // or carries a DTD.
  XmlPart(std::string entry, std::string_view text);
  ~XmlPart();
  XmlPart(XmlPart&&) noexcept;
  XmlPart& operator=(XmlPart&&) noexcept;

  const std::string& entry() const { return entry_; }
  const xmlNode& root() const;

  // A PackageError naming this part and the element (its path from the root
  // and its line) where `problem` was found.
  [[noreturn]] void fail_at(const xmlNode& element, const std::string& problem) const;

 private:
  std::string entry_;
  std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> document_;
};

// The entry `name` of `archive`, parsed. Throws PackageError when it is
// missing, damaged or not well-formed.
XmlPart read_xml_part(ZipArchive& archive, std::string_view name);
// The same, or nothing when the archive has no such entry.
std::optional<XmlPart> read_xml_part_if_present(ZipArchive& archive, std::string_view name);

// --- walking the tree -----------------------------------------------------
// `ns` is a namespace URI; nullptr matches elements or attributes in no
// namespace for attributes, and any namespace for elements.

std::string_view local_name(const xmlNode& node);
bool is_element(const xmlNode& node, const char* ns, std::string_view name);

// The element children of `parent` named `name` (or all of them when `name`
// is empty), in document order: `for (const xmlNode& row : children(sheet_data, ns, "row"))`.
class Children {
 public:
  class iterator {
   public:
    iterator(const xmlNode* node, const char* ns, std::string_view name);
    const xmlNode& operator*() const { return *node_; }
    iterator& operator++();
    bool operator==(const iterator& other) const { return node_ == other.node_; }

   private:
    void settle();
    const xmlNode* node_;
    const char* ns_;
    std::string_view name_;
  };
  Children(const xmlNode& parent, const char* ns, std::string_view name) : parent_(parent), ns_(ns), name_(name) {}
  iterator begin() const { return {parent_.children, ns_, name_}; }
  iterator end() const { return {nullptr, ns_, name_}; }

 private:
  const xmlNode& parent_;
  const char* ns_;
  std::string_view name_;
};
inline Children children(const xmlNode& parent, const char* ns, std::string_view name = {}) {
  return {parent, ns, name};
}

// The first such child, or nullptr.
const xmlNode* first_child(const xmlNode& parent, const char* ns, std::string_view name);

// The attribute's value (character references resolved), or nothing when
// the element lacks it.
std::optional<std::string> attribute(const xmlNode& element, const char* ns, const char* name);

// All the text inside `element` (its descendants' text, concatenated).
std::string text_of(const xmlNode& element);

}  // namespace engine::package
