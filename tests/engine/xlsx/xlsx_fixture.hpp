// Small SpreadsheetML packages for the reader's tests: a valid workbook of
// one sheet, "Feuil1", whose parts a test replaces, adds or removes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace test_support {

// Part name -> content; an empty content removes the part.
using Parts = std::map<std::string, std::string>;

// The default parts with `changes` applied, zipped.
std::vector<std::uint8_t> xlsx_package(const Parts& changes = {});

// A worksheet part around `sheet_data` (the rows) and `after` (elements
// that follow sheetData: mergeCells, sheetProtection, drawing ...).
std::string worksheet(const std::string& sheet_data, const std::string& after = "", const std::string& before = "");

// The workbook part with these <sheet> elements and what follows <sheets>.
std::string workbook(const std::string& sheets, const std::string& after = "", const std::string& before = "");

// xl/_rels/workbook.xml.rels with rId1..rIdN for sheet1..sheetN, then styles and shared strings.
std::string workbook_relationships(int sheets);

extern const char* const kMainNs;
extern const char* const kRelNs;

}  // namespace test_support
