// Writes the seed corpus of both fuzz targets: a few small workbooks saved by
// our own writer, each reaching a different part of the reader. Whole files
// go to the first folder, their Workbook streams to the second.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/model/workbook.hpp"
#include "engine/xls/compound_file.hpp"
#include "engine/xls/workbook_file.hpp"

namespace {

namespace f = engine::formula;
namespace m = engine::model;
namespace x = engine::xls;

void cells_of_every_kind(m::Workbook& book) {
  auto& sheet = book.add_sheet("Données");
  sheet.set_value(0, 0, f::Value("Région"));
  sheet.set_value(0, 1, f::Value(3.25));
  sheet.set_value(0, 2, f::Value(-7));
  sheet.set_value(0, 3, f::Value(true));
  sheet.set_value(0, 4, f::Value(f::CellError::NA));
  sheet.set_value(1, 0, f::Value("Ελληνικά 日本語"));
  sheet.set_value(1, 1, f::Value(1e300));
  sheet.set_value(2, 1, f::Value(123456789));
  book.properties() = {"Données ∑", "Graines", "Zoé"};  // a summary in UTF-16
}

void formulas_names_and_sheets(m::Workbook& book) {
  auto& first = book.add_sheet("Trimestre 1");
  auto& second = book.add_sheet("Résumé");
  for (int row = 0; row < 6; ++row) {
    first.set_value(row, 0, f::Value(row * 10));
    first.set_formula(row, 1, "=A" + std::to_string(row + 1) + "*2");  // filled down: shared
  }
  book.add_name("Ventes", "='Trimestre 1'!$A$1:$A$6");
  book.add_name("Local", "='Résumé'!$A$1", second.id());
  second.set_formula(0, 0, "=SUM(Ventes)");
  second.set_formula(1, 0, "=IF('Trimestre 1'!A2>5,\"grand\",\"petit\")");
  second.set_formula(2, 0, "=VLOOKUP(20,'Trimestre 1'!A1:B6,2,FALSE)");
  second.set_formula(3, 0, "=SUM('Trimestre 1:Résumé'!C1)+ROUND(PI(),2)");
  second.set_formula(4, 0, "=COUNTIF(Ventes,\">10\")&\" ventes\"");
  second.set_formula(5, 0, "=Inconnu*2");
}

void rows_columns_and_formats(m::Workbook& book) {
  auto& sheet = book.add_sheet("Plan");
  for (int row = 0; row < 12; ++row) sheet.set_value(row, 0, f::Value(row));
  sheet.group_rows(1, 4);
  sheet.group_rows(2, 3);
  sheet.set_row_show_detail(5, false);
  sheet.set_rows_hidden(8, 9, true);
  sheet.set_row_height(10, 10, 30);
  sheet.group_columns(2, 3);
  sheet.set_column_width(1, 1, 20);
  sheet.merge({0, 4, 1, 6});
  sheet.change_format({0, 0, 3, 0}, [](m::CellFormat& format) {
    format.number_format = "0.00%";
    format.font.bold = true;
    format.interior.color_index = 6;
    format.interior.pattern = m::xl::Solid;
    format.borders.bottom.line_style = 2;
  });
  auto style = book.styles().add("Titre", sheet.format(0, 0));
  sheet.apply_style({11, 0, 11, 0}, style.name);
  m::PageSetup setup;
  setup.orientation = m::xl::Landscape;
  setup.center_header = "Page &P";
  sheet.set_page_setup(setup);
  sheet.protect("secret");
  book.protect("livre");
}

void long_shared_strings(m::Workbook& book) {
  auto& sheet = book.add_sheet("Textes");
  sheet.set_value(0, 0, f::Value(std::string(9000, 'a')));  // crosses a CONTINUE record
  sheet.set_value(1, 0, f::Value(std::string(300, 'e') + "é€"));
  for (int row = 2; row < 40; ++row) sheet.set_value(row, 0, f::Value("texte " + std::to_string(row % 7)));
}

void write(const std::filesystem::path& path, const x::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FILE_DIR STREAM_DIR\n", argv[0]);
    return 2;
  }
  const std::vector<std::pair<const char*, std::function<void(m::Workbook&)>>> seeds = {
      {"cells", cells_of_every_kind},
      {"formulas", formulas_names_and_sheets},
      {"rows_columns_formats", rows_columns_and_formats},
      {"long_strings", long_shared_strings},
  };
  const std::filesystem::path files = argv[1], streams = argv[2];
  std::filesystem::create_directories(files);
  std::filesystem::create_directories(streams);
  for (const auto& [name, fill] : seeds) {
    m::Workbook book(std::string(name) + ".xls");
    fill(book);
    const auto bytes = x::save_workbook(book);
    write(files / (std::string(name) + ".xls"), bytes);
    write(streams / (std::string(name) + ".bin"), *x::CompoundFileReader(bytes).read_stream("Workbook"));
  }
  return 0;
}
