// Where LibreOffice puts what a workbook draws, asked of LibreOffice itself
// through UNO (libreoffice_shapes.py beside this file, one start of soffice
// for many files): each drawn object's place and size, the columns under
// them and where the sheet prints, and the sheets it exports to PDF.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/exercises/bounds.hpp"
#include "tests/exercises/program_run.hpp"

namespace exercises::testing {

struct SheetLayout {
  std::map<std::string, Bounds> objects;  // by name
  std::vector<double> column_widths;      // from column A to the one under the right-most object
  double print_left = 0;                  // where the sheet's top-left corner prints on its page
  double print_top = 0;
};

// By file name ("07250615.xls") and sheet name; sheets that draw nothing
// are left out.
using Layouts = std::map<std::pair<std::string, std::string>, SheetLayout>;

// Whether python3-uno is there for the script to use.
bool uno_installed();

// Opens `files` in one private soffice working in `work` and returns what
// it printed; the files whose names are in `pdf` are also exported to
// `work`/NAME.pdf.
ProgramRun lay_out_with_libreoffice(const std::vector<std::filesystem::path>& files, const std::filesystem::path& work,
                                    const std::vector<std::string>& pdf);

// The script's output; std::runtime_error on a line it cannot have written.
Layouts parse_layouts(const std::string& output);

}  // namespace exercises::testing
