// Notes and form controls exchanged with Gnumeric (ssconvert), when it is
// installed: what we write must come back through Gnumeric's own writer, and
// what Gnumeric writes must load here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/model/constants.hpp"
#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace fs = std::filesystem;
namespace m = engine::model;

class GnumericDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v ssconvert > /dev/null 2>&1") != 0) GTEST_SKIP() << "ssconvert is not installed";
    dir_ = fs::temp_directory_path() / ("engine_xls_gnumeric_drawing_" + std::to_string(::getpid()));
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

TEST_F(GnumericDrawing, NotesWeWriteComeBackThroughGnumeric) {
  m::Workbook book("Thor International.xls");
  auto& sheet = book.add_sheet("Trimestre 1");
  sheet.set_note(12, 5, "Ne pas supprimer ce commentaire. Merci !", "Formateur");
  sheet.set_note(3, 1, "Deux lignes :\nété", "Zoé");
  write_workbook_file(book, (dir_ / "ours.xls").string());
  ASSERT_TRUE(convert(dir_ / "ours.xls", dir_ / "theirs.xls"));
  const auto back = read_workbook_file((dir_ / "theirs.xls").string());
  const m::Worksheet& s = back->sheet(0);
  ASSERT_NE(s.note(12, 5), nullptr);
  EXPECT_EQ(s.note(12, 5)->text, "Ne pas supprimer ce commentaire. Merci !");
  EXPECT_EQ(s.note(12, 5)->author, "Formateur");
  ASSERT_NE(s.note(3, 1), nullptr);
  EXPECT_EQ(s.note(3, 1)->text, "Deux lignes :\nété");
  EXPECT_EQ(s.note(3, 1)->author, "Zoé");
}

}  // namespace
}  // namespace engine::xls
