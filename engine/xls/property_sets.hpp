// The summary property sets Excel keeps next to the Workbook stream:
// "\005SummaryInformation" (title, subject, author, the application's name)
// and "\005DocumentSummaryInformation" (the sheets as the document's parts).
#pragma once

#include <vector>

#include "engine/model/document_properties.hpp"
#include "engine/model/workbook.hpp"
#include "engine/xls/compound_file.hpp"

namespace engine::xls {

inline constexpr char kSummaryStream[] = "\005SummaryInformation";
inline constexpr char kDocumentSummaryStream[] = "\005DocumentSummaryInformation";

// Both streams, in code page 1252 as Excel writes them, or in UTF-16 (code
// page 1200) when a text has characters 1252 lacks. The same workbook gives
// the same bytes: no time stamps are written.
std::vector<Stream> property_set_streams(const model::Workbook& book);

// What the container's property sets say. A set that is absent or damaged
// gives nothing: the summary never decides whether a workbook opens.
model::DocumentProperties read_document_properties(const CompoundFileReader& container);

}  // namespace engine::xls
