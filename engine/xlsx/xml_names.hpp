// The namespaces and values of SpreadsheetML (Office Open XML) the reader
// looks at, and the small conversions every part needs. Elements of the
// spreadsheet parts are matched by local name in any namespace, so that the
// transitional namespace Excel and LibreOffice write and the strict one
// ("purl.oclc.org/ooxml") both read; relationship ids need their namespace.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <libxml/tree.h>

namespace engine::xlsx {

namespace ns {
inline constexpr const char* kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* kStrictRelationships = "http://purl.oclc.org/ooxml/officeDocument/relationships";
inline constexpr const char* kVml = "urn:schemas-microsoft-com:vml";
inline constexpr const char* kVmlExcel = "urn:schemas-microsoft-com:office:excel";
}  // namespace ns

// Any namespace: the spreadsheet elements as the transitional or strict
// schema names them.
inline constexpr const char* kAnyNs = nullptr;

// An attribute in no namespace, or nothing.
std::optional<std::string> attr(const xmlNode& element, const char* name);
// The r:id of an element (either relationships namespace), or nothing.
std::optional<std::string> relationship_id(const xmlNode& element);

// xsd:boolean as both writers spell it: "1"/"true" and "0"/"false".
bool flag(const xmlNode& element, const char* name, bool fallback);
// An xsd:int or xsd:unsignedInt attribute; nothing when absent or not a number.
std::optional<long long> integer(const xmlNode& element, const char* name);
// An xsd:double attribute; nothing when absent or not a number.
std::optional<double> number(const xmlNode& element, const char* name);

// "B12" -> row 11, column 1 (0-based); nothing for anything else, or for a
// cell outside Excel 2003's grid.
struct CellPosition {
  int row = 0;
  int column = 0;
};
std::optional<CellPosition> parse_cell(std::string_view text);

// The text of a `<t>` element or of a rich-text `<si>`/`<is>`/`<text>`
// (its runs' `<t>` joined; phonetic runs left out).
std::string rich_text(const xmlNode& element);

}  // namespace engine::xlsx
