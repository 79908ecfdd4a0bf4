// The words of a PDF file where they print, as poppler's pdftotext finds
// them (-bbox): what a trainee sees on paper, placed closely enough to tell
// whether a text stays inside the frame drawn around it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/exercises/bounds.hpp"

namespace exercises::testing {

struct PdfWord {
  int page = 0;  // from 0
  std::string text;
  Bounds bounds;  // in points from the page's top-left corner
};

// In reading order, page by page; std::runtime_error when pdftotext fails
// or writes what is not well-formed XML.
std::vector<PdfWord> pdf_words(const std::filesystem::path& pdf);

}  // namespace exercises::testing
