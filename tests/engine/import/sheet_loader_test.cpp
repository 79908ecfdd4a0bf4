// The model rules every reader shares: the order outline, collapse and
// hidden state are applied in, how a cell and its format go in, the names,
// styles and shapes a file brings, and what a load reports it left out.
#include <gtest/gtest.h>

#include "engine/formula/formula.hpp"
#include "engine/import/drawn_shapes.hpp"
#include "engine/import/file_error.hpp"
#include "engine/import/load_report.hpp"
#include "engine/import/sheet_loader.hpp"
#include "engine/import/view_hidden_lines.hpp"
#include "engine/import/workbook_loader.hpp"
#include "engine/model/constants.hpp"

namespace {

using namespace engine;
using import::FileError;

struct Book {
  model::Workbook book{"Thor International.xls"};
  model::Worksheet& sheet = book.add_sheet("Trimestre 1");
};

// Rows 4 to 6 grouped under 7 and collapsed, as question 610 leaves them;
// row 5 unhidden by hand afterwards stays visible only because the hidden
// state is applied last.
TEST(RowLines, LevelsThenCollapsedThenHiddenAsTheFileHasThem) {
  Book b;
  import::RowLines rows;
  rows.set(3, {1, true, false, {}});
  rows.set(4, {1, false, false, {}});
  rows.set(5, {1, true, false, 15.0});
  rows.set(6, {0, false, true, {}});
  rows.apply(b.sheet);
  EXPECT_EQ(b.sheet.rows().level(3), 2);
  EXPECT_EQ(b.sheet.rows().level(6), 1);
  EXPECT_TRUE(b.sheet.rows().hidden(3));
  EXPECT_FALSE(b.sheet.rows().hidden(4));
  EXPECT_TRUE(b.sheet.rows().hidden(5));
  EXPECT_TRUE(b.sheet.rows().at(6).collapsed);
  EXPECT_EQ(b.sheet.rows().at(5).size, 15.0);
}

TEST(RowLines, NonsenseFromAFileIsClampedOrIgnored) {
  Book b;
  import::RowLines rows;
  rows.set(-1, {1, true, true, {}});
  rows.set(70000, {1, true, true, {}});
  rows.set(2, {99, false, false, {}});
  rows.set(9, {0, false, true, {}});  // collapsed, but summarises nothing
  rows.apply(b.sheet);
  EXPECT_EQ(b.sheet.rows().level(2), model::kMaxOutlineLevel);
  EXPECT_FALSE(b.sheet.rows().at(9).collapsed);
}

TEST(Columns, WidthLevelAndHiddenApplyToTheRun) {
  Book b;
  import::apply_columns(b.sheet, {1, 3, 12.5, 1, true});
  import::apply_columns(b.sheet, {300, 400, 9.0, 0, true});  // beyond column IV: nothing
  EXPECT_EQ(b.sheet.columns().at(2).size, 12.5);
  EXPECT_EQ(b.sheet.columns().level(3), 2);
  EXPECT_TRUE(b.sheet.columns().hidden(1));
  EXPECT_FALSE(b.sheet.columns().hidden(4));
}

TEST(PlaceCell, ValuesAndFormatsGoInOnlyWhereTheyMatter) {
  Book b;
  import::FormatInterner formats(b.book);
  model::CellFormat bold;
  bold.font.bold = true;
  const auto bold_index = formats.intern(7, [&] { return bold; });
  int made = 0;
  EXPECT_EQ(formats.intern(7, [&] { ++made; return model::CellFormat{}; }), bold_index);
  EXPECT_EQ(made, 0);
  import::place_cell(b.sheet, 0, 0, bold_index, std::string("Thor International"));
  import::place_cell(b.sheet, 1, 1, model::kDefaultFormat, {});
  import::place_cell(b.sheet, 2, 2, bold_index, {});
  EXPECT_TRUE(b.sheet.format(0, 0).font.bold);
  EXPECT_EQ(b.sheet.find_cell(1, 1), nullptr);
  EXPECT_TRUE(b.sheet.format(2, 2).font.bold);
  EXPECT_THROW(import::place_cell(b.sheet, model::kMaxRows, 0, bold_index, 1.0), FileError);
  EXPECT_THROW(import::place_cell(b.sheet, 0, -1, bold_index, 1.0), FileError);
}

TEST(FileErrors, NameTheFileAndKeepTheProblemApart) {
  try {
    import::fail("the part is missing");
  } catch (const FileError& error) {
    const FileError named = error.for_file("Thor International.xls");
    EXPECT_EQ(named.file(), "Thor International.xls");
    EXPECT_EQ(named.problem(), "the part is missing");
    EXPECT_EQ(named.description(), "'Thor International.xls' cannot be used as an Excel workbook: the part is missing");
    EXPECT_EQ(named.number(), platform::com::err::ApplicationDefined);
  }
}

TEST(LoadReports, KeepEachKindOfLossOnceButCountThemAll) {
  import::LoadReport report;
  report.note("formula", "Trimestre 1!E7", "a data table keeps its saved results");
  for (int i = 0; i < 100000; ++i) report.note("formula", "détail!D" + std::to_string(i), "a data table keeps its saved results");
  report.note("shape", "Trimestre 1!Image 1", "a picture");
  ASSERT_EQ(report.notes().size(), 2u);
  EXPECT_EQ(report.notes()[0].where, "Trimestre 1!E7");
  EXPECT_EQ(report.count(), 100002u);
  import::report_loss(nullptr, "shape", "x", "nobody listens");  // never a crash
  // Reasons that quote each formula all differ: past the cap they only count.
  for (int i = 0; i < 5000; ++i) report.note("formula", std::string("D").append(std::to_string(i)), std::string("cannot read =F").append(std::to_string(i)));
  EXPECT_EQ(report.notes().size(), import::LoadReport::kMaxNotes);
  EXPECT_EQ(report.count(), 105002u);
}

TEST(Names, DefinedOrReportedNeverFatal) {
  Book b;
  import::LoadReport report;
  import::define_name(b.book, "Zone", "='Trimestre 1'!$C$4:$C$8", std::nullopt, &report);
  import::define_name(b.book, "Local", "=$A$1", 0, &report);
  import::define_name(b.book, "Bad name", "=$A$1", std::nullopt, &report);
  import::define_name(b.book, "Far", "=$A$1", 5, &report);
  ASSERT_NE(b.book.find_name("Zone"), nullptr);
  EXPECT_NE(b.book.find_name("Local", b.sheet.id()), nullptr);
  ASSERT_EQ(report.notes().size(), 2u);
  EXPECT_EQ(report.notes()[0].where, "Bad name");
  EXPECT_EQ(report.notes()[1].why, "it belongs to a sheet the workbook does not have");
}

TEST(Styles, AUserStyleComesWithItsFormat) {
  Book b;
  model::CellFormat format;
  format.font.bold = format.font.italic = true;
  format.font.color_index = 55;
  import::add_user_style(b.book, "Titre bleu", format);
  const model::Style* style = b.book.styles().find("titre BLEU");
  ASSERT_NE(style, nullptr);
  EXPECT_FALSE(style->builtin());
  EXPECT_TRUE(style->format.font.italic);
  EXPECT_EQ(style->format.font.color_index, 55);
}

TEST(Shapes, NameClashesGiveWayAndLocksComeLast) {
  Book b;
  import::LoadReport report;
  import::DrawnShape box{model::ShapeKind::CheckBox, 10, 0, "Case à cocher 1", "Réponse 1", model::xl::On, false, {}};
  import::add_drawn_shape(b.sheet, box, &report);
  import::add_drawn_shape(b.sheet, box, &report);  // same name: Excel's default instead
  box.row = model::kMaxRows;
  import::add_drawn_shape(b.sheet, box, &report);
  ASSERT_EQ(b.sheet.shapes().size(), 2u);
  EXPECT_EQ(b.sheet.shapes()[0].name, "Case à cocher 1");
  EXPECT_EQ(b.sheet.shapes()[0].value, model::xl::On);
  EXPECT_FALSE(b.sheet.shapes()[0].locked);
  EXPECT_NE(b.sheet.shapes()[1].name, "Case à cocher 1");
  EXPECT_EQ(report.notes().size(), 1u);
  import::add_note(b.sheet, 2, 4, "Ne pas supprimer ce commentaire. Merci !", "Thor", true);
  import::add_note(b.sheet, 2, 4, "a second note for the same cell", "", false);
  ASSERT_NE(b.sheet.note(2, 4), nullptr);
  EXPECT_EQ(b.sheet.note(2, 4)->text, "Ne pas supprimer ce commentaire. Merci !");
  EXPECT_TRUE(b.sheet.note(2, 4)->visible);
}

// Past the limit a sheet's notes and shapes fail the load, instead of
// taking minutes as the model checks each new name against all others.
TEST(Shapes, ASheetHoldsAtMostTheirLimit) {
  Book b;
  for (std::size_t i = 0; i < import::kMaxDrawnObjects; ++i)
    import::add_note(b.sheet, static_cast<int>(i), 0, "note", "", false);
  EXPECT_THROW(import::add_note(b.sheet, 0, 1, "one more", "", false), FileError);
  EXPECT_THROW(import::add_drawn_shape(b.sheet, {}, nullptr), FileError);
  import::add_note(b.sheet, 0, 0, "the same cell: nothing new", "", false);  // not counted
}

TEST(ViewHiddenLinesTest, NamesGiveEachViewItsLinesPerSheet) {
  EXPECT_EQ(import::ViewHiddenLines::name_id("{6c6ba7b8-4ebb-4f40-a1f6-4d2e3ab1f1f3}"),
            "6C6BA7B8_4EBB_4F40_A1F6_4D2E3AB1F1F3");
  EXPECT_TRUE(import::ViewHiddenLines::is_view_name("Z_6C6BA7B8_4EBB_4F40_A1F6_4D2E3AB1F1F3_.wvu.Rows"));
  EXPECT_FALSE(import::ViewHiddenLines::is_view_name("Zone"));
  import::ViewHiddenLines lines;
  lines.take_name("Z_ABC_.wvu.Rows", 1, *formula::parse("=('Trimestre 1'!$6:$7,'Trimestre 1'!$4:$4)"));
  lines.take_name("z_abc_.wvu.cols", 1, *formula::parse("='Trimestre 1'!$B:$B"));
  EXPECT_EQ(lines.rows("abc", 1), (std::vector<int>{3, 5, 6}));
  EXPECT_EQ(lines.columns("ABC", 1), (std::vector<int>{1}));
  EXPECT_TRUE(lines.rows("ABC", 0).empty());
  // Whole sheets of rows, named over and over, stop at the limit.
  EXPECT_THROW(
      for (int i = 0; i < 300; ++i) lines.take_name("Z_" + std::to_string(i) + "_.wvu.Rows", 0, *formula::parse("=$1:$65536")),
      FileError);
}

}  // namespace
