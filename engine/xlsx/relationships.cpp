#include "engine/xlsx/relationships.hpp"

#include "engine/package/xml_part.hpp"
#include "engine/xlsx/xml_names.hpp"

namespace engine::xlsx {

namespace {

// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string rels_entry(std::string_view part) {
  const std::size_t slash = part.rfind('/');
  const std::string folder = slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
  const std::string_view name = slash == std::string_view::npos ? part : part.substr(slash + 1);
  return folder + "_rels/" + std::string(name) + ".rels";
}

}  // namespace

Relationships Relationships::of_part(package::ZipArchive& archive, std::string_view part) {
  Relationships result;
  const auto xml = package::read_xml_part_if_present(archive, rels_entry(part));
  if (!xml) return result;
  for (const xmlNode& element : package::children(xml->root(), kAnyNs, "Relationship")) {
    Relationship item;
    item.id = attr(element, "Id").value_or("");
    item.type = attr(element, "Type").value_or("");
    const std::string target = attr(element, "Target").value_or("");
    item.external = attr(element, "TargetMode").value_or("") == "External";
    item.target = item.external ? target : package::resolve_part(part, target);
    result.items_.push_back(std::move(item));
  }
  return result;
}

const Relationship* Relationships::by_id(std::string_view id) const {
  for (const auto& item : items_)
    if (item.id == id && !item.external) return &item;
  return nullptr;
}

const Relationship* Relationships::first_of_kind(std::string_view kind) const {
  for (const auto& item : items_)
    if (!item.external && is_kind(item, kind)) return &item;
  return nullptr;
}

bool is_kind(const Relationship& relationship, std::string_view kind) {
  const std::string_view type = relationship.type;
  return type.size() > kind.size() && type.ends_with(kind) && type[type.size() - kind.size() - 1] == '/';
}

}  // namespace engine::xlsx
