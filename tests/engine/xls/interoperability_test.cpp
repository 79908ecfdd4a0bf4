// Files exchanged with Gnumeric (ssconvert), when it is installed: what we
// write must open there, and what it writes must open here.
#include <gtest/gtest.h>

#include <optional>

#include "engine/xls/workbook_file.hpp"
#include "interop_support.hpp"

namespace engine::xls {
namespace {

namespace f = engine::formula;
using interop::fs::path;

class Interoperability : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!interop::on_path("ssconvert")) GTEST_SKIP() << "ssconvert (gnumeric) is not installed";
    dir_.emplace();
  }
  // What Gnumeric said while converting lands in `log`.
  bool convert(const path& from, const path& to, const path& log = "/dev/null") {
    return interop::run_bounded({"ssconvert", from.string(), to.string()}, 60, log) && interop::fs::exists(to);
  }
  path dir(const char* name) const { return *dir_ / name; }

  std::optional<interop::ScratchFolder> dir_;
};

TEST_F(Interoperability, GnumericReadsWhatWeWrite) {
  model::Workbook book("Thor International.xls");
  auto& sheet = book.add_sheet("Trimestre 1");
  sheet.set_value(0, 0, f::Value("Région"));
  sheet.set_value(1, 0, f::Value(3.5));
  sheet.set_value(2, 0, f::Value(std::string(300, 'y')));
  sheet.set_formula(3, 0, "=SUM(A2,A2)*2");
  sheet.set_formula(4, 0, "=IF(A2>3,\"grand\",\"petit\")");
  const auto xls = dir("ours.xls");
  write_workbook_file(book, xls.string());
  ASSERT_TRUE(convert(xls, dir("ours.csv")));
  EXPECT_EQ(interop::read_text(dir("ours.csv")), "Région\n3.5\n" + std::string(300, 'y') + "\n14\ngrand\n");
}

TEST_F(Interoperability, WeReadWhatGnumericWrites) {
  interop::write_text(dir("source.csv"), "Nom,Valeur\nÉté,12\nHiver,=B2*3\n");
  const auto xls = dir("theirs.xls");
  ASSERT_TRUE(convert(dir("source.csv"), xls));
  const auto book = read_workbook_file(xls.string());
  const auto& sheet = book->sheet(0);
  EXPECT_EQ(sheet.value(1, 0), f::Value("Été"));
  EXPECT_EQ(sheet.value(1, 1), f::Value(12.0));
  EXPECT_EQ(sheet.formula_text(2, 1), "=B2*3");
  EXPECT_EQ(sheet.value(2, 1), f::Value(36.0));
}

// Gnumeric warns about a FORMULA record whose text result has no STRING
// record after it; results of every kind must open without a word and come
// back through its own .xls.
TEST_F(Interoperability, FormulaResultsOpenWithoutWarningsAndComeBack) {
  model::Workbook book("Modèle.xls");
  auto& sheet = book.add_sheet("Feuil1");
  sheet.set_value(0, 0, f::Value(0.0));
  sheet.set_formula(1, 0, "=IF(A1>0,A1*2,\"\")");
  sheet.set_formula(2, 0, "=IF(A1>0,\"grand\",\"Été ∑\")");
  sheet.set_formula(3, 0, "=A1=0");
  sheet.set_formula(4, 0, "=1/A1");
  const auto xls = dir("ours.xls");
  write_workbook_file(book, xls.string());
  ASSERT_TRUE(convert(xls, dir("ours.csv"), dir("gnumeric.log")));
  EXPECT_EQ(interop::read_text(dir("gnumeric.log")), "");
  EXPECT_EQ(interop::read_text(dir("ours.csv")), "0\n\n\"Été ∑\"\nTRUE\n#DIV/0!\n");

  ASSERT_TRUE(convert(xls, dir("theirs.xls"), dir("gnumeric.log")));
  EXPECT_EQ(interop::read_text(dir("gnumeric.log")), "");
  const auto back = read_workbook_file(dir("theirs.xls").string());
  EXPECT_EQ(back->sheet(0).formula_text(1, 0), "=IF(A1>0,A1*2,\"\")");
  EXPECT_EQ(back->sheet(0).value(1, 0), f::Value(""));
  EXPECT_EQ(back->sheet(0).value(2, 0), f::Value("Été ∑"));
  EXPECT_EQ(back->sheet(0).formula_text(2, 0), "=IF(A1>0,\"grand\",\"Été ∑\")");
}

}  // namespace
}  // namespace engine::xls
