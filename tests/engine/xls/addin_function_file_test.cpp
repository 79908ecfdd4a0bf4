// A workbook holding functions Excel 2003 lacks (typed, or read from an
// .xlsx) saves as Excel 2003 saves them, as add-in calls, and opens again
// with the same formulas, still #NAME?.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "engine/model/workbook.hpp"
#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;

TEST(AddinFunctionFiles, FunctionsExcel2003LacksSaveAndComeBack) {
  model::Workbook book("Futur.xls");
  auto& sheet = book.add_sheet("Feuil1");
  for (int row = 0; row < 3; ++row) sheet.set_value(row, 0, f::Value(row * 10.0));
  const char* formulas[] = {"=IFERROR(1/0,\"x\")", "=AVERAGEIF(A1:A3,\">5\")", "=_xlfn.IFS(A1>0,1)",
                            "=SUM(A1:A3)+COUNTIFS(A1:A3,\">5\")", "=MaFonction()"};
  for (int i = 0; i < 5; ++i) sheet.set_formula(i, 1, formulas[i]);
  const auto path = std::filesystem::temp_directory_path() / ("addin-" + std::to_string(::getpid()) + ".xls");
  write_workbook_file(book, path.string());
  const auto back = read_workbook_file(path.string());
  std::filesystem::remove(path);
  const auto& read = back->sheet(0);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(formulas[i]);
    EXPECT_EQ(read.formula_text(i, 1), formulas[i]);
    EXPECT_EQ(read.value(i, 1), f::Value(f::CellError::Name));
  }
  // Saving what was read gives the same file again.
  EXPECT_EQ(save_workbook(*back), save_workbook(*load_workbook(save_workbook(*back), "Futur.xls")));
}

}  // namespace
}  // namespace engine::xls
