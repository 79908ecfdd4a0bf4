// Array formulas exchanged with LibreOffice and Gnumeric, when installed:
// each opens our .xls and saves it again as .xls, and every array comes
// back here as the same array, with the same formula and values.
#include <gtest/gtest.h>

#include <optional>

#include "engine/model/workbook.hpp"
#include "engine/xls/workbook_file.hpp"
#include "interop_support.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;
namespace m = engine::model;
using interop::fs::path;

// A1:B3 numbers; C1:C3 {=A1:A3*B1:B3}; E1:G1 {=TRANSPOSE(A1:A3)};
// A5 {=SUM(IF(A1:A3>1,B1:B3))}; B5 {=MAX(A1:A3-B1:B3)}.
std::unique_ptr<m::Workbook> book_with_arrays() {
  auto book = std::make_unique<m::Workbook>("Matrices.xls");
  auto& sheet = book->add_sheet("Feuil1");
  for (int row = 0; row < 3; ++row) {
    sheet.set_value(row, 0, f::Value(row + 1.0));
    sheet.set_value(row, 1, f::Value((row + 1) * 10.0));
  }
  sheet.set_array_formula({0, 2, 2, 2}, "=A1:A3*B1:B3");
  sheet.set_array_formula({0, 4, 0, 6}, "=TRANSPOSE(A1:A3)");
  sheet.set_array_formula(m::CellRange::cell(4, 0), "=SUM(IF(A1:A3>1,B1:B3))");
  sheet.set_array_formula(m::CellRange::cell(4, 1), "=MAX(A1:A3-B1:B3)");
  return book;
}

void expect_same_arrays(const m::Worksheet& before, const m::Worksheet& after) {
  EXPECT_EQ(after.arrays().all(), before.arrays().all());
  for (const m::CellRange& array : before.arrays().all()) {
    for (int row = array.first_row; row <= array.last_row; ++row) {
      for (int column = array.first_column; column <= array.last_column; ++column) {
        EXPECT_EQ(after.formula_text(row, column), before.formula_text(row, column)) << row << "," << column;
        EXPECT_EQ(after.value(row, column), before.value(row, column)) << row << "," << column;
      }
    }
  }
}

class ArrayInterop : public ::testing::Test {
 protected:
  void SetUp() override { dir_.emplace(); }
  path dir(const char* name) const { return *dir_ / name; }
  std::optional<interop::ScratchFolder> dir_;
};

TEST_F(ArrayInterop, LibreOfficeKeepsOurArrays) {
  if (!interop::on_path("soffice")) GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
  const auto original = book_with_arrays();
  write_workbook_file(*original, dir("ours.xls").string());
  interop::fs::create_directory(dir("saved"));
  ASSERT_TRUE(interop::run_bounded({"soffice", "-env:UserInstallation=file://" + dir("profile").string(), "--headless",
                                    "--norestore", "--convert-to", "xls", "--outdir", dir("saved").string(),
                                    dir("ours.xls").string()},
                                   120));
  const auto back = read_workbook_file((dir("saved") / "ours.xls").string());
  expect_same_arrays(original->sheet(0), back->sheet(0));
}

TEST_F(ArrayInterop, GnumericKeepsOurArrays) {
  if (!interop::on_path("ssconvert")) GTEST_SKIP() << "ssconvert (gnumeric) is not installed";
  const auto original = book_with_arrays();
  write_workbook_file(*original, dir("ours.xls").string());
  ASSERT_TRUE(interop::run_bounded({"ssconvert", dir("ours.xls").string(), dir("theirs.xls").string()}, 60));
  const auto back = read_workbook_file(dir("theirs.xls").string());
  expect_same_arrays(original->sheet(0), back->sheet(0));
}

}  // namespace
}  // namespace engine::xls
