// Notes and form controls exchanged with Gnumeric (ssconvert), when it is
// installed: what we write must come back through Gnumeric's own writer, and
// what Gnumeric writes must load here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

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

TEST_F(GnumericDrawing, WeReadTheNotesAndCheckBoxesGnumericWrites) {
  {
    std::ofstream source(dir_ / "source.gnumeric");
    source << R"(<?xml version="1.0" encoding="UTF-8"?>
<gnm:Workbook xmlns:gnm="http://www.gnumeric.org/v10.dtd">
  <gnm:SheetNameIndex><gnm:SheetName>réponses</gnm:SheetName></gnm:SheetNameIndex>
  <gnm:Sheets><gnm:Sheet>
    <gnm:Name>réponses</gnm:Name><gnm:MaxCol>3</gnm:MaxCol><gnm:MaxRow>20</gnm:MaxRow>
    <gnm:Cells><gnm:Cell Row="0" Col="0" ValueType="60">Question</gnm:Cell></gnm:Cells>
    <gnm:Objects>
      <gnm:CellComment Author="Jean" Text="Ne pas supprimer ce commentaire. Merci !" ObjectBound="F13"/>
      <gnm:CellComment Author="Zoé" Text="Deux&#10;lignes é" ObjectBound="A2"/>
      <gnm:SheetWidgetCheckbox Name="Case à cocher 1" ObjectBound="B4:C5" ObjectOffset="0 0 0 0"
          ObjectAnchorType="16 16 16 16" Direction="17" Label="Réponse A" Value="0"/>
    </gnm:Objects>
  </gnm:Sheet></gnm:Sheets>
</gnm:Workbook>)";
  }
  ASSERT_TRUE(convert(dir_ / "source.gnumeric", dir_ / "theirs.xls"));
  const auto book = read_workbook_file((dir_ / "theirs.xls").string());
  const m::Worksheet& s = book->sheet(0);
  EXPECT_EQ(s.shapes().size(), 3u);
  ASSERT_NE(s.note(12, 5), nullptr);
  EXPECT_EQ(s.note(12, 5)->text, "Ne pas supprimer ce commentaire. Merci !");
  EXPECT_EQ(s.note(12, 5)->author, "Jean");
  ASSERT_NE(s.note(1, 0), nullptr);
  EXPECT_EQ(s.note(1, 0)->text, "Deux\nlignes é");
  const m::Shape* box = s.find_shape("Case à cocher 1");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->kind, m::ShapeKind::CheckBox);
  EXPECT_EQ(box->text, "Réponse A");
  EXPECT_EQ(box->row, 3);
  EXPECT_EQ(box->column, 1);
}

TEST_F(GnumericDrawing, GnumericKeepsOurCheckBoxNamesAndCaptions) {
  m::Workbook book("Les Modèles.xls");
  auto& sheet = book.add_sheet("réponses");
  sheet.set_note(12, 5, "Ne pas supprimer ce commentaire. Merci !");
  sheet.add_check_box(2, 1, "Réponse A", "Case à cocher 1");
  sheet.add_check_box(4, 1, "Réponse B", "Case à cocher 2");
  write_workbook_file(book, (dir_ / "ours.xls").string());
  ASSERT_TRUE(convert(dir_ / "ours.xls", dir_ / "theirs.xls"));
  const auto back = read_workbook_file((dir_ / "theirs.xls").string());
  const m::Worksheet& s = back->sheet(0);
  EXPECT_EQ(s.shapes().size(), 3u);
  ASSERT_NE(s.find_shape("Case à cocher 2"), nullptr);
  EXPECT_EQ(s.find_shape("Case à cocher 2")->text, "Réponse B");
  EXPECT_EQ(s.find_shape("Case à cocher 2")->row, 4);
}

}  // namespace
}  // namespace engine::xls
