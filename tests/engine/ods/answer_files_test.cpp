// Trainees' answers saved through LibreOffice (our own answers played on the
// exercise files, saved as .xls and converted by soffice, checked in under
// files/): what each question's check reads survives the trip.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/model/constants.hpp"
#include "engine/model/outline.hpp"
#include "ods_files.hpp"

namespace engine::ods {
namespace {

namespace xl = model::xl;
using testing::load_file;

const std::filesystem::path kFixtures = D72506_ODS_FIXTURES;

TEST(AnswerFiles, HiddenRowsStayHiddenAndTheirNeighboursShown) {
  const auto book = load_file(kFixtures / "rows_9_to_12_hidden.ods");
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_FALSE(sheet.rows().hidden(7));
  for (int row = 8; row <= 11; ++row) EXPECT_TRUE(sheet.rows().hidden(row)) << row + 1;
  EXPECT_FALSE(sheet.rows().hidden(12));
  EXPECT_EQ(sheet.rows().level(9), 1) << "hidden, not grouped";
}

TEST(AnswerFiles, CollapsedRowGroupKeepsLevelsHiddenDetailAndCollapsedSummary) {
  const auto book = load_file(kFixtures / "rows_4_to_6_grouped_collapsed.ods");
  const model::Worksheet& sheet = book->sheet(1);
  ASSERT_EQ(sheet.name(), "Trimestre 1");
  for (int row = 3; row <= 5; ++row) {
    EXPECT_EQ(sheet.rows().level(row), 2) << row + 1;
    EXPECT_TRUE(sheet.rows().hidden(row)) << row + 1;
  }
  EXPECT_EQ(sheet.rows().level(2), 1);
  EXPECT_EQ(sheet.rows().level(6), 1);
  EXPECT_FALSE(sheet.rows().hidden(6));
  EXPECT_FALSE(sheet.row_show_detail(6)) << "the summary row under the group";
}

TEST(AnswerFiles, NamedStyleKeepsItsFontUnderItsDisplayName) {
  const auto book = load_file(kFixtures / "style_titre_bleu.ods");
  const model::Style* style = book->styles().find("Titre bleu");
  ASSERT_NE(style, nullptr);
  EXPECT_FALSE(style->builtin());
  EXPECT_TRUE(style->format.font.bold);
  EXPECT_TRUE(style->format.font.italic);
  EXPECT_EQ(style->format.font.color_index, 55);
  EXPECT_EQ(book->styles().find("Titre_20_bleu"), nullptr) << "the encoded name is not the style's name";
}

TEST(AnswerFiles, CheckBoxStatesAndSheetProtection) {
  const auto book = load_file(kFixtures / "first_box_ticked.ods");
  const model::Worksheet& sheet = book->sheet(0);
  ASSERT_EQ(sheet.shapes().size(), 3u);
  EXPECT_EQ(sheet.shapes()[0].kind, model::ShapeKind::TextBox);
  EXPECT_EQ(sheet.shapes()[0].name, "Question");
  EXPECT_NE(sheet.shapes()[0].text.find("\nRéponse 1 : menu Fichier"), std::string::npos) << "paragraphs joined by LF";
  EXPECT_EQ(sheet.find_shape("Case à cocher 1")->value, xl::On);
  EXPECT_EQ(sheet.find_shape("Case à cocher 2")->value, xl::Off);
  EXPECT_TRUE(sheet.protection().contents);
  EXPECT_TRUE(sheet.protection().drawing_objects);
  EXPECT_EQ(sheet.protection().password_hash, 0);
}

// Formats LibreOffice wrote for cells formatted in Excel's own codes: the
// code read back is one Excel shows the same way. LibreOffice keeps no
// difference between a quoted suffix and an escaped one: all three text
// formats of D1:D3 come back as the quoted form.
TEST(AnswerFiles, NumberFormatsComeBackAsExcelCodes) {
  const auto book = load_file(kFixtures / "number_formats.ods");
  const model::Worksheet& sheet = book->sheet(0);
  const auto code = [&](int row) { return sheet.format(row, 3).number_format; };
  EXPECT_EQ(code(0), "@\"-52\"");
  EXPECT_EQ(code(1), "@\"-52\"");
  EXPECT_EQ(code(2), "@\"-52\"");
  EXPECT_EQ(code(3), "0.00%");
  EXPECT_EQ(code(4), "dd/mm/yyyy");
  EXPECT_EQ(code(5), "#,##0.00 [$€-40C]");
  EXPECT_EQ(code(6), "hh:mm:ss");
  EXPECT_EQ(code(7), "0.000");
  EXPECT_EQ(code(13), "m/d/yyyy h:mm");
  EXPECT_EQ(code(14), "#,##0 \"€\";[Red]-#,##0 \"€\"");
  EXPECT_EQ(sheet.value(4, 3), formula::Value(40000.0)) << "a date as its serial";
  EXPECT_EQ(sheet.value(13, 3), formula::Value(40000.75));
  EXPECT_EQ(sheet.value(6, 3), formula::Value(0.75)) << "a time as its fraction of a day";
}

TEST(AnswerFiles, ValuesAndFormulasOfEveryKind) {
  const auto book = load_file(kFixtures / "number_formats.ods");
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(sheet.value(8, 3), formula::Value(true));
  EXPECT_EQ(sheet.formula_text(9, 3), "=AVERAGE(B4:B6)");
  EXPECT_EQ(sheet.formula_text(10, 3), "='Trimestre 1'!B4+Zone");
  EXPECT_EQ(sheet.formula_text(11, 3), "=IF(B4>1,\"a\",\"b\")");
  EXPECT_EQ(sheet.value(11, 3), formula::Value("a")) << "B4 holds a space, and text is above any number";
  EXPECT_EQ(sheet.value(12, 3), formula::Value(formula::CellError::Div0));
  EXPECT_EQ(sheet.value(19, 0), formula::Value("two\nlines   spaced"));
}

}  // namespace
}  // namespace engine::ods
