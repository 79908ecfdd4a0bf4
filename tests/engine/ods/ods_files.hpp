// Reading OpenDocument packages in the tests: whole files from disk, and
// packages assembled from XML text for documents no program writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/import/load_report.hpp"
#include "engine/model/workbook.hpp"

namespace engine::ods::testing {

std::vector<std::uint8_t> file_bytes(const std::filesystem::path& file);

// Loads the package at `file` under its file name.
std::unique_ptr<model::Workbook> load_file(const std::filesystem::path& file, import::LoadReport* report = nullptr);

// A zip package of the entries given (name -> content), "mimetype" first
// and stored, as OpenDocument requires.
std::vector<std::uint8_t> make_package(const std::map<std::string, std::string>& entries);

// content.xml of a spreadsheet whose office:body/office:spreadsheet holds
// `spreadsheet` and whose office:automatic-styles holds `styles`, with the
// namespaces LibreOffice binds.
std::string content_xml(const std::string& spreadsheet, const std::string& styles = {});

// A package of that content.xml alone (with its mimetype).
std::vector<std::uint8_t> spreadsheet_package(const std::string& spreadsheet, const std::string& styles = {});

}  // namespace engine::ods::testing
