// The delivered files opened in the other spreadsheet programs a trainee or
// an author may use: LibreOffice (headless soffice) and Gnumeric
// (ssconvert). Each opens a file and writes it again as OpenDocument, whose
// XML tells what the program understood; what the program printed on the
// way tells whether it met anything it could not load.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/exercises/program_run.hpp"

namespace exercises::testing {

// Opens `files` in LibreOffice and writes each as flat OpenDocument
// ("07250601.fods") into `out`, in one start of soffice with a private
// profile in `profile`, so that neither the user's settings nor a running
// instance enter the test.
ProgramRun convert_with_libreoffice(const std::vector<std::filesystem::path>& files,
                                    const std::filesystem::path& out, const std::filesystem::path& profile);

// Opens `file` in Gnumeric and writes it to `out` with one of its exporters.
inline constexpr std::string_view kGnumericOpenDocument = "Gnumeric_OpenCalc:odf";
inline constexpr std::string_view kGnumericUncompressedXml = "Gnumeric_XmlIO:sax:0";
ProgramRun convert_with_gnumeric(const std::filesystem::path& file, const std::filesystem::path& out,
                                 std::string_view exporter);

// The content.xml of an OpenDocument package; std::runtime_error when the
// file is not one.
std::string odf_content(const std::filesystem::path& package);

// The lines in which a program reports trouble (errors, warnings,
// criticals), from its standard output and its standard error.
std::vector<std::string> complaints(const ProgramRun& run);

}  // namespace exercises::testing
