#include "engine/xls/workbook_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/model/constants.hpp"
#include "engine/xls/compound_file.hpp"
#include "engine/xls/file_error.hpp"

namespace engine::xls {
namespace {

namespace m = engine::model;
namespace f = engine::formula;

std::unique_ptr<m::Workbook> sample_book() {
  auto book = std::make_unique<m::Workbook>("Thor International.xls");
  m::Worksheet& s1 = book->add_sheet("Trimestre 1");
  m::Worksheet& s2 = book->add_sheet("réponses ∑");
  s1.set_value(0, 0, f::Value("Région"));
  s1.set_value(1, 0, f::Value("Nord"));
  s1.set_value(1, 1, f::Value(1500.0));
  s1.set_value(2, 1, f::Value(2.75));
  s1.set_value(3, 1, f::Value(-1e300));
  s1.set_value(4, 1, f::Value(true));
  s1.set_value(5, 1, f::Value(f::CellError::NA));
  s1.set_value(6, 0, f::Value(std::string(9000, 'x')));  // longer than one record
  s1.set_formula(7, 1, "=SUM(B2:B4)");
  s1.set_formula(8, 1, "=IF(B2>0,\"oui\",\"non\")");
  s1.set_formula(9, 1, "='réponses ∑'!A1*2");
  s2.set_value(0, 0, f::Value(21.0));
  book->add_name("Zone", "='Trimestre 1'!$B$2:$B$4");
  s1.set_formula(10, 1, "=AVERAGE(Zone)");
  s1.change_format(m::CellRange::cell(1, 1), [](m::CellFormat& format) {
    format.number_format = "0.00\" €\"";
    format.font.bold = true;
    format.font.color_index = 5;
    format.alignment.horizontal = m::xl::Center;
    format.interior.color_index = 6;
    format.interior.pattern = m::xl::Solid;
  });
  s1.merge({0, 3, 0, 4});
  s1.group_rows(2, 4);
  s1.set_rows_hidden(12, 13, true);
  s1.set_row_height(1, 1, 30);
  s1.set_column_width(0, 0, 20);
  s1.set_summary_row(m::SummaryPosition::Above);
  m::CellFormat blue;
  blue.font.color_index = 5;
  blue.font.bold = true;
  book->styles().add("Titre bleu", blue);
  book->styles().update("Titre bleu", blue, m::StyleIncludes{});
  m::PageSetup setup = s1.page_setup();
  setup.orientation = m::xl::Landscape;
  setup.center_horizontally = true;
  s1.set_page_setup(setup);
  s2.protect();
  book->window(0).visible = false;
  return book;
}

TEST(WorkbookFile, RoundTripKeepsWhatTheModelCarries) {
  const auto original = sample_book();
  const Bytes bytes = save_workbook(*original);
  const auto book = load_workbook(bytes, "Thor International.xls");
  ASSERT_EQ(book->sheet_count(), 2u);
  const m::Worksheet& s1 = book->sheet(0);
  EXPECT_EQ(s1.name(), "Trimestre 1");
  EXPECT_EQ(book->sheet(1).name(), "réponses ∑");
  EXPECT_EQ(s1.value(0, 0), f::Value("Région"));
  EXPECT_EQ(s1.value(1, 1), f::Value(1500.0));
  EXPECT_EQ(s1.value(2, 1), f::Value(2.75));
  EXPECT_EQ(s1.value(3, 1), f::Value(-1e300));
  EXPECT_EQ(s1.value(4, 1), f::Value(true));
  EXPECT_EQ(s1.value(5, 1), f::Value(f::CellError::NA));
  EXPECT_EQ(s1.value(6, 0), f::Value(std::string(9000, 'x')));
  EXPECT_EQ(s1.formula_text(7, 1), "=SUM(B2:B4)");
  EXPECT_EQ(s1.value(7, 1), f::Value(1502.75 - 1e300));
  EXPECT_EQ(s1.value(8, 1), f::Value("oui"));
  EXPECT_EQ(s1.formula_text(9, 1), "='réponses ∑'!A1*2");
  EXPECT_EQ(s1.value(9, 1), f::Value(42.0));
  EXPECT_EQ(s1.formula_text(10, 1), "=AVERAGE(Zone)");
  ASSERT_NE(book->find_name("Zone"), nullptr);
  EXPECT_EQ(book->find_name("Zone")->refers_to_text(), "='Trimestre 1'!$B$2:$B$4");

  const m::CellFormat& format = s1.format(1, 1);
  EXPECT_EQ(format.number_format, "0.00\" €\"");
  EXPECT_TRUE(format.font.bold);
  EXPECT_EQ(format.font.color_index, 5);
  EXPECT_EQ(format.alignment.horizontal, m::xl::Center);
  EXPECT_EQ(format.interior.color_index, 6);
  EXPECT_EQ(format.interior.pattern, m::xl::Solid);

  ASSERT_EQ(s1.merged_ranges().size(), 1u);
  EXPECT_EQ(s1.merged_ranges()[0], (m::CellRange{0, 3, 0, 4}));
  EXPECT_EQ(s1.rows().level(3), 2);
  EXPECT_EQ(s1.rows().level(5), 1);
  EXPECT_TRUE(s1.rows().hidden(12));
  EXPECT_FALSE(s1.rows().hidden(11));
  EXPECT_EQ(s1.rows().at(1).size, 30.0);
  EXPECT_EQ(s1.columns().at(0).size, 20.0);
  EXPECT_EQ(s1.summary_row(), m::SummaryPosition::Above);

  const m::Style* style = book->styles().find("Titre bleu");
  ASSERT_NE(style, nullptr);
  EXPECT_TRUE(style->format.font.bold);
  EXPECT_EQ(style->format.font.color_index, 5);

  EXPECT_EQ(s1.page_setup().orientation, m::xl::Landscape);
  EXPECT_TRUE(s1.page_setup().center_horizontally);
  EXPECT_TRUE(book->sheet(1).protection().is_protected());
  EXPECT_FALSE(s1.protection().is_protected());
  EXPECT_FALSE(book->window(0).visible);
}

TEST(WorkbookFile, SavingTwiceGivesTheSameBytes) {
  const auto book = sample_book();
  EXPECT_EQ(save_workbook(*book), save_workbook(*book));
}

// Rows with cells, rows with a record alone and rows with both, over
// several blocks of 32 rows, come back as saved; a formatted empty cell
// beyond the cells with content is left out, as Excel leaves it.
TEST(WorkbookFile, RowsWithCellsOrRecordsAloneComeBackAcrossBlocks) {
  m::Workbook book("Lignes.xls");
  m::Worksheet& sheet = book.add_sheet("Feuil1");
  const int cell_rows[] = {0, 31, 32, 40, 100};
  for (int row : cell_rows) sheet.set_value(row, row % 7, f::Value(row));
  sheet.set_row_height(5, 5, 24);
  sheet.set_row_height(32, 32, 30);
  sheet.set_rows_hidden(31, 31, true);
  sheet.set_row_height(200, 200, 6);
  sheet.change_format(m::CellRange::cell(300, 3), [](m::CellFormat& format) { format.font.bold = true; });
  const auto back = load_workbook(save_workbook(book), "Lignes.xls");
  const m::Worksheet& loaded = back->sheet(0);
  for (int row : cell_rows) EXPECT_EQ(loaded.value(row, row % 7), f::Value(row)) << row;
  EXPECT_EQ(loaded.cell_count(), 5u);
  EXPECT_EQ(loaded.used_range(), (m::CellRange{0, 0, 100, 5}));
  EXPECT_EQ(loaded.rows().at(5).size, 24);
  EXPECT_EQ(loaded.rows().at(32).size, 30);
  EXPECT_TRUE(loaded.rows().at(31).hidden);
  EXPECT_EQ(loaded.rows().at(200).size, 6);
  EXPECT_TRUE(loaded.rows().at(300).is_default());
}

// A macro sheet is kept out of the trainee's sight: its hidden state must
// survive the file as Excel keeps it, very hidden included.
TEST(WorkbookFile, SheetVisibilitySurvives) {
  auto book = sample_book();
  auto& hidden = book->add_sheet("cachée");
  auto& very_hidden = book->add_sheet("module1");
  book->set_sheet_visibility(hidden.id(), engine::model::xl::SheetHidden);
  book->set_sheet_visibility(very_hidden.id(), engine::model::xl::SheetVeryHidden);
  const auto back = load_workbook(save_workbook(*book), "visibility.xls");
  EXPECT_EQ(back->find_sheet("cachée")->visibility(), engine::model::xl::SheetHidden);
  EXPECT_EQ(back->find_sheet("module1")->visibility(), engine::model::xl::SheetVeryHidden);
  EXPECT_EQ(back->sheet(0).visibility(), engine::model::xl::SheetVisible);
}

TEST(WorkbookFile, TemplatesAreKnownByTheirExtension) {
  const auto dir = std::filesystem::temp_directory_path() / "engine_xls_template_test";
  std::filesystem::create_directories(dir);
  const auto path = (dir / "Thor.XLT").string();
  write_workbook_file(*sample_book(), path);
  const auto book = read_workbook_file(path);
  EXPECT_TRUE(book->is_template());
  EXPECT_EQ(book->name(), "Thor.XLT");
  std::filesystem::remove_all(dir);
}

// Every prefix of a real file, and a few hundred corrupted copies, end in
// FileError or in a workbook, never in a crash or a hang.
TEST(WorkbookFile, DamagedFilesFailWithAClearError) {
  const Bytes good = save_workbook(*sample_book());
  for (std::size_t size = 0; size < good.size(); size += 97) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      load_workbook(cut, "cut.xls");
    } catch (const FileError& error) {
      EXPECT_EQ(error.file(), "cut.xls");
      EXPECT_EQ(error.number(), 1004);
    }
  }
  std::uint32_t seed = 72506;
  for (int round = 0; round < 300; ++round) {
    Bytes bad = good;
    for (int k = 0; k < 4; ++k) {
      seed = seed * 1103515245 + 12345;
      bad[512 + (seed >> 8) % (bad.size() - 512)] ^= static_cast<std::uint8_t>(1 + (seed >> 3) % 255);
    }
    try {
      load_workbook(bad, "bad.xls");
    } catch (const FileError&) {
    }
  }
  try {
    load_workbook(Bytes(100, 0), "empty.xls");
    FAIL();
  } catch (const FileError& error) {
    EXPECT_NE(std::string(error.what()).find("empty.xls"), std::string::npos);
  }
}

TEST(WorkbookFile, AStreamThatIsNotBiff8IsRefused) {
  Bytes stream = {0x09, 0x08, 0x08, 0x00, 0x00, 0x05, 0x05, 0x00, 0, 0, 0, 0};  // BIFF5 BOF
  const Stream streams[] = {{"Workbook", stream}};
  EXPECT_THROW(load_workbook(write_compound_file(streams), "old.xls"), FileError);
  const Stream book5[] = {{"Book", stream}};
  EXPECT_THROW(load_workbook(write_compound_file(book5), "old.xls"), FileError);
}

// Formulas are laid out in the file before the cells they read and in
// another sheet than them; loading computes each one once and leaves the
// workbook's dependencies live.
TEST(WorkbookFile, LoadingComputesEachFormulaOnceAndKeepsDependenciesLive) {
  m::Workbook original("Chaîne.xls");
  m::Worksheet& first = original.add_sheet("Feuil1");
  m::Worksheet& second = original.add_sheet("Feuil2");
  first.set_formula(0, 0, "=B1*2");
  first.set_formula(0, 1, "=Feuil2!A1+C1");
  first.set_formula(0, 2, "=SUM( Feuil2!A1:A3 )");
  for (int row = 0; row < 3; ++row) second.set_value(row, 0, f::Value(row + 1.0));

  const auto book = load_workbook(save_workbook(original), "Chaîne.xls");
  EXPECT_EQ(book->evaluation_count(), 3u);
  m::Worksheet& loaded = book->sheet(0);
  EXPECT_EQ(loaded.value(0, 0), f::Value(14.0));
  EXPECT_EQ(loaded.formula_text(0, 2), "=SUM( Feuil2!A1:A3 )");
  book->sheet(1).set_value(0, 0, f::Value(10.0));
  EXPECT_EQ(loaded.value(0, 0), f::Value(2 * (10.0 + 15.0)));
}

// The rows a sheet hides come after its cells in the file; what ignores
// hidden rows is computed with them hidden.
TEST(WorkbookFile, LoadedSubtotalsLeaveOutTheRowsTheFileHides) {
  m::Workbook original("Sous-totaux.xls");
  m::Worksheet& sheet = original.add_sheet("Feuil1");
  for (int row = 0; row < 3; ++row) sheet.set_value(row, 0, f::Value(row + 1.0));
  sheet.set_formula(3, 0, "=SUBTOTAL(109,A1:A3)");
  sheet.set_rows_hidden(1, 1, true);
  const auto book = load_workbook(save_workbook(original), "Sous-totaux.xls");
  EXPECT_EQ(book->sheet(0).value(3, 0), f::Value(4.0));
}

}  // namespace
}  // namespace engine::xls
