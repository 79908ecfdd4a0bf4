// Formats shared through the pool, styles, palette and protection.
#include <gtest/gtest.h>

#include "engine/model/workbook.hpp"
#include "tests/platform/com/raised.hpp"

namespace engine::model {
namespace {

using platform::com::testing_support::raised;

TEST(Formats, CellsFormattedAlikeShareOneRecord) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  const auto before = book.formats().size();
  sheet.change_format({0, 0, 99, 9}, [](CellFormat& f) {
    f.font.bold = true;
    f.interior = Interior{47, xl::Solid, 17};
  });
  EXPECT_EQ(book.formats().size(), before + 1);
  EXPECT_EQ(sheet.format_index(0, 0), sheet.format_index(99, 9));
  EXPECT_TRUE(sheet.format(50, 5).font.bold);

  // Changing one cell gives it its own record and leaves its neighbours alone.
  sheet.change_format(CellRange::cell(0, 0), [](CellFormat& f) { f.number_format = "@\"-52\""; });
  EXPECT_EQ(sheet.format(0, 0).number_format, "@\"-52\"");
  EXPECT_EQ(sheet.format(0, 1).number_format, "General");
  EXPECT_TRUE(sheet.format(0, 0).font.bold);
}

TEST(Formats, WholeColumnsAreFormattedByTheirRecordNotByCells) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.enter(5, 2, "1");
  sheet.change_format(CellRange::columns(2, 2), [](CellFormat& f) { f.alignment.horizontal = xl::Center; });
  EXPECT_EQ(sheet.cell_count(), 1u);
  EXPECT_EQ(sheet.format(60000, 2).alignment.horizontal, xl::Center);
  EXPECT_EQ(sheet.format(5, 2).alignment.horizontal, xl::Center);
  // A cell typed later into the column keeps the column's format.
  sheet.enter(7, 2, "x");
  EXPECT_EQ(sheet.format(7, 2).alignment.horizontal, xl::Center);
}

TEST(Formats, NumberFormatCodesAreRecognisedByKind) {
  EXPECT_EQ(builtin_number_format_id("general"), 0);
  EXPECT_EQ(builtin_number_format_id("@"), 49);
  EXPECT_EQ(builtin_number_format_id("@\"-52\""), std::nullopt);
  EXPECT_EQ(builtin_number_format(14), "m/d/yyyy");
  EXPECT_TRUE(is_date_format("dd/mm/yyyy"));
  EXPECT_TRUE(is_date_format("[h]:mm:ss"));
  EXPECT_FALSE(is_date_format("General"));
  EXPECT_FALSE(is_date_format("\"days\" 0"));
  EXPECT_FALSE(is_date_format("#,##0.00;[Red]-#,##0.00"));
  EXPECT_TRUE(is_text_format("@"));
  EXPECT_FALSE(is_text_format("@\"-52\""));
}

TEST(Formats, InvalidValuesNeverReachThePool) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  EXPECT_EQ(raised([&] { sheet.change_format(CellRange::cell(0, 0), [](CellFormat& f) { f.interior.color_index = 57; }); }),
            platform::com::err::ApplicationDefined);
  EXPECT_EQ(raised([&] { sheet.change_format(CellRange::cell(0, 0), [](CellFormat& f) { f.alignment.horizontal = 3; }); }),
            platform::com::err::ApplicationDefined);
  EXPECT_EQ(sheet.format_index(0, 0), kDefaultFormat);
}

TEST(Styles, BuiltInsAndUserStylesMatchByNameInAnyCase) {
  Workbook book("Classeur1");
  for (const char* name : {"Normal", "Comma", "Currency", "Percent"}) EXPECT_NE(book.styles().find(name), nullptr);
  EXPECT_EQ(book.styles().get("percent").format.number_format, "0%");

  CellFormat blue;
  blue.font.bold = true;
  blue.font.italic = true;
  blue.font.color_index = 55;
  book.styles().add("Titre bleu", blue);
  const Style& found = book.styles().get("TITRE BLEU");
  EXPECT_TRUE(found.format.font.bold && found.format.font.italic);
  EXPECT_EQ(found.format.font.color_index, 55);
  EXPECT_EQ(raised([&] { book.styles().add("titre BLEU", blue); }), platform::com::err::ApplicationDefined);
  EXPECT_EQ(raised([&] { book.styles().get("Titre rouge"); }), platform::com::err::SubscriptOutOfRange);
  EXPECT_EQ(raised([&] { book.styles().remove("Normal"); }), platform::com::err::ApplicationDefined);
}

TEST(Styles, ApplyingAStyleChangesOnlyThePartsItIncludes) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("Feuil1");
  sheet.change_format(CellRange::cell(0, 0), [](CellFormat& f) { f.font.bold = true; });
  sheet.apply_style(CellRange::cell(0, 0), "Percent");
  EXPECT_EQ(sheet.format(0, 0).number_format, "0%");
  EXPECT_TRUE(sheet.format(0, 0).font.bold);
  EXPECT_EQ(sheet.format(0, 0).style, "Percent");

  CellFormat red;
  red.font.color_index = 3;
  book.styles().add("Rouge", red);
  sheet.apply_style(CellRange::cell(0, 0), "Rouge");
  EXPECT_EQ(sheet.format(0, 0).font.color_index, 3);
  EXPECT_FALSE(sheet.format(0, 0).font.bold);
  EXPECT_EQ(sheet.format(0, 0).number_format, "General");
}

TEST(Palette, StartsAsExcelsDefaultAndCanBeChanged) {
  Palette palette;
  EXPECT_EQ(palette.color(1), 0x000000u);
  EXPECT_EQ(palette.color(3), 0xFF0000u);
  EXPECT_EQ(palette.color(47), 0x666699u);
  EXPECT_EQ(palette.color(55), 0x333399u);
  EXPECT_EQ(palette.color(56), 0x333333u);
  EXPECT_EQ(palette.nearest_index(0x0000FE), 5);
  palette.set_color(47, 0x123456);
  EXPECT_FALSE(palette.is_default());
  EXPECT_EQ(raised([&] { palette.color(0); }), platform::com::err::SubscriptOutOfRange);
  EXPECT_EQ(raised([&] { palette.color(57); }), platform::com::err::SubscriptOutOfRange);
}

TEST(Protection, PasswordHashIsExcels) {
  EXPECT_EQ(password_hash("abcdefghij"), 0xFEF1);
  EXPECT_EQ(password_hash(""), 0);
}

TEST(Protection, ProtectedSheetRefusesLockedCellsAndWrongPasswords) {
  Workbook book("Classeur1");
  Worksheet& sheet = book.add_sheet("réponses");
  sheet.change_format(CellRange::cell(1, 1), [](CellFormat& f) { f.protection.locked = false; });
  sheet.protect("secret");
  EXPECT_EQ(raised([&] { sheet.enter(0, 0, "1"); }), platform::com::err::ApplicationDefined);
  sheet.enter(1, 1, "2");
  EXPECT_EQ(sheet.value(1, 1), formula::Value(2.0));
  EXPECT_EQ(raised([&] { sheet.unprotect("Secret"); }), platform::com::err::ApplicationDefined);
  EXPECT_TRUE(sheet.protection().is_protected());
  sheet.unprotect("secret");
  sheet.enter(0, 0, "1");
  EXPECT_EQ(sheet.value(0, 0), formula::Value(1.0));
}

TEST(Shapes, CheckBoxesAndCommentsCountAsShapes) {
  Workbook book("Les Modèles.xls");
  Worksheet& sheet = book.add_sheet("réponses");
  sheet.add_check_box(2, 1, "Oui", "Case à cocher 1");
  sheet.add_check_box(3, 1, "Non", "Case à cocher 2");
  sheet.set_note(12, 5, "Ne pas supprimer ce commentaire. Merci !");
  EXPECT_EQ(sheet.shapes().size(), 3u);
  EXPECT_EQ(sheet.shapes()[2].name, "Comment 3");
  ASSERT_NE(sheet.find_shape("CASE À COCHER 1"), nullptr);
  EXPECT_EQ(sheet.find_shape("Case à cocher 1")->value, xl::Off);

  EXPECT_EQ(raised([&] { sheet.set_check_box_value("Case à cocher 1", 3); }),
            platform::com::err::ApplicationDefined);
  sheet.set_shape_locked("Case à cocher 1", false);
  sheet.protect();
  sheet.set_check_box_value("Case à cocher 1", xl::On);
  EXPECT_EQ(sheet.find_shape("Case à cocher 1")->value, xl::On);
  EXPECT_EQ(raised([&] { sheet.set_check_box_value("Case à cocher 2", xl::Mixed); }),
            platform::com::err::ApplicationDefined);
  EXPECT_EQ(raised([&] { sheet.add_check_box(0, 0, "", "case à cocher 2"); }),
            platform::com::err::ApplicationDefined);

  sheet.delete_note(12, 5);
  EXPECT_EQ(sheet.shapes().size(), 2u);
}

}  // namespace
}  // namespace engine::model
