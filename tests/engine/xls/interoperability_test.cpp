// Files exchanged with Gnumeric (ssconvert), when it is installed: what we
// write must open there, and what it writes must open here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace fs = std::filesystem;
namespace f = engine::formula;

bool have_ssconvert() { return std::system("command -v ssconvert > /dev/null 2>&1") == 0; }

class Interoperability : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_ssconvert()) GTEST_SKIP() << "ssconvert (gnumeric) is not installed";
    dir_ = fs::temp_directory_path() / ("engine_xls_interop_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  bool convert(const fs::path& from, const fs::path& to) {
    const std::string command = "ssconvert '" + from.string() + "' '" + to.string() + "' > /dev/null 2>&1";
    return std::system(command.c_str()) == 0 && fs::exists(to);
  }
  fs::path dir_;
};

TEST_F(Interoperability, GnumericReadsWhatWeWrite) {
  model::Workbook book("Thor International.xls");
  auto& sheet = book.add_sheet("Trimestre 1");
  sheet.set_value(0, 0, f::Value("Région"));
  sheet.set_value(1, 0, f::Value(3.5));
  sheet.set_value(2, 0, f::Value(std::string(300, 'y')));
  sheet.set_formula(3, 0, "=SUM(A2,A2)*2");
  sheet.set_formula(4, 0, "=IF(A2>3,\"grand\",\"petit\")");
  const auto xls = dir_ / "ours.xls";
  write_workbook_file(book, xls.string());
  ASSERT_TRUE(convert(xls, dir_ / "ours.csv"));
  std::ifstream in(dir_ / "ours.csv");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "Région\n3.5\n" + std::string(300, 'y') + "\n14\ngrand\n");
}

TEST_F(Interoperability, WeReadWhatGnumericWrites) {
  {
    std::ofstream csv(dir_ / "source.csv");
    csv << "Nom,Valeur\nÉté,12\nHiver,=B2*3\n";
  }
  const auto xls = dir_ / "theirs.xls";
  ASSERT_TRUE(convert(dir_ / "source.csv", xls));
  const auto book = read_workbook_file(xls.string());
  const auto& sheet = book->sheet(0);
  EXPECT_EQ(sheet.value(1, 0), f::Value("Été"));
  EXPECT_EQ(sheet.value(1, 1), f::Value(12.0));
  EXPECT_EQ(sheet.formula_text(2, 1), "=B2*3");
  EXPECT_EQ(sheet.value(2, 1), f::Value(36.0));
}

}  // namespace
}  // namespace engine::xls
