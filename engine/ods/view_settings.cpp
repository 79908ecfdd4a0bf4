#include "engine/ods/view_settings.hpp"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "engine/ods/odf_namespaces.hpp"
#include "engine/package/xml_part.hpp"

namespace engine::ods {

namespace {

namespace pkg = engine::package;

// The config:config-item-set, -map-named, -map-indexed or -map-entry child
// of `parent` whose config:name is `name`.
const xmlNode* config_child(const xmlNode& parent, std::string_view kind, std::string_view name) {
  for (const xmlNode& child : pkg::children(parent, ns::config, kind))
    if (pkg::attribute(child, ns::config, "name") == name) return &child;
  return nullptr;
}

std::optional<std::string> item(const xmlNode& entry, std::string_view name) {
  const xmlNode* found = config_child(entry, "config-item", name);
  return found ? std::optional<std::string>(pkg::text_of(*found)) : std::nullopt;
}

std::optional<long> number_item(const xmlNode& entry, std::string_view name) {
  const auto text = item(entry, name);
  if (!text || text->empty()) return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text->c_str(), &end, 10);
  return *end == '\0' ? std::optional<long>(value) : std::nullopt;
}

// A sheet's entry of the Tables map: where its cursor stands.
void apply_sheet_settings(const xmlNode& entry, model::Worksheet& sheet) {
  const auto column = number_item(entry, "CursorPositionX");
  const auto row = number_item(entry, "CursorPositionY");
  if (!column || !row || *column < 0 || *row < 0 || *column >= model::kMaxColumns || *row >= model::kMaxRows) return;
  const int r = static_cast<int>(*row), c = static_cast<int>(*column);
  sheet.select(model::CellRange::cell(r, c), r, c);
}

}  // namespace

void apply_view_settings(const xmlNode& root, model::Workbook& book, import::LoadReport* report) {
  const xmlNode* settings = pkg::first_child(root, ns::office, "settings");
  const xmlNode* view_set = settings ? config_child(*settings, "config-item-set", "ooo:view-settings") : nullptr;
  const xmlNode* views = view_set ? config_child(*view_set, "config-item-map-indexed", "Views") : nullptr;
  const xmlNode* view = views ? pkg::first_child(*views, ns::config, "config-item-map-entry") : nullptr;
  if (!view || book.window_count() == 0) return;
  model::Window& window = book.window(0);
  if (const xmlNode* tables = config_child(*view, "config-item-map-named", "Tables"))
    for (const xmlNode& entry : pkg::children(*tables, ns::config, "config-item-map-entry"))
      if (model::Worksheet* sheet = book.find_sheet(pkg::attribute(entry, ns::config, "name").value_or("")))
        apply_sheet_settings(entry, *sheet);
  if (auto active = item(*view, "ActiveTable")) {
    model::Worksheet* sheet = book.find_sheet(*active);
    if (sheet && sheet->visibility() == model::xl::SheetVisible) book.activate_sheet(sheet->id());
    else import::report_loss(report, "the active sheet", "settings.xml, ActiveTable", "no visible sheet has that name");
  }
  if (auto zoom = number_item(*view, "ZoomValue")) window.zoom = static_cast<int>(std::clamp(*zoom, 10L, 400L));
  if (auto grid = item(*view, "ShowGrid")) window.display_gridlines = *grid != "false";
  if (auto headings = item(*view, "HasColumnRowHeaders")) window.display_headings = *headings != "false";
}

}  // namespace engine::ods
