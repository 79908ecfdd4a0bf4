#include "tests/exercises/libreoffice_layout.hpp"

#include <sstream>
#include <stdexcept>

namespace exercises::testing {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> fields_of(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

double number(const std::string& text, const std::string& line) {
  try {
    return std::stod(text);
  } catch (const std::logic_error&) {
    throw std::runtime_error("not a number in the layout line: " + line);
  }
}

void take_line(Layouts& layouts, const std::string& line) {
  const std::vector<std::string> f = fields_of(line);
  const auto need = [&](std::size_t count) {
    if (f.size() < count) throw std::runtime_error("a layout line cut short: " + line);
  };
  need(3);
  SheetLayout& sheet = layouts[{f[1], f[2]}];
  if (f[0] == "shape") {
    need(8);
    sheet.objects[f[3]] = {number(f[4], line), number(f[5], line), number(f[6], line), number(f[7], line)};
  } else if (f[0] == "columns") {
    for (std::size_t i = 3; i < f.size(); ++i) sheet.column_widths.push_back(number(f[i], line));
  } else if (f[0] == "page") {
    need(5);
    sheet.print_left = number(f[3], line);
    sheet.print_top = number(f[4], line);
  } else {
    throw std::runtime_error("an unknown layout line: " + line);
  }
}

}  // namespace

bool uno_installed() { return run_program({"/usr/bin/python3", "-c", "import uno"}, 30).succeeded; }

ProgramRun lay_out_with_libreoffice(const std::vector<fs::path>& files, const fs::path& work,
                                    const std::vector<std::string>& pdf) {
  std::vector<std::string> command = {"/usr/bin/python3", (fs::path(D72506_TEST_SOURCES) / "libreoffice_shapes.py").string(),
                                      work.string()};
  for (const auto& file : files) command.push_back(file.string());
  command.push_back("--pdf");
  command.insert(command.end(), pdf.begin(), pdf.end());
  return run_program(command, 300);
}

Layouts parse_layouts(const std::string& output) {
  Layouts layouts;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) take_line(layouts, line);
  }
  return layouts;
}

}  // namespace exercises::testing
