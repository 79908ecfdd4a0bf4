// The built exercise files, saved as .xlsx by LibreOffice and by Gnumeric,
// read back with what every question's checks read: sheets, their order and
// visibility, values and formulas, notes, names, outline levels and hidden
// rows, the header format, styles, check boxes and protection. Each is
// compared with the same file read by the .xls reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "engine/formats/workbook_formats.hpp"
#include "engine/formula/formula.hpp"
#include "engine/model/constants.hpp"
#include "engine/xls/workbook_file.hpp"
#include "tests/engine/xls/interop_support.hpp"

namespace {

using namespace engine;
namespace fs = std::filesystem;
using xls::interop::ScratchFolder;

const fs::path kExercises = D72506_EXERCISE_FILES;
const std::vector<std::string> kFiles = {"07250601.xls", "07250602.xls", "07250603.xls", "07250604.xls",
                                         "07250605.xls", "07250606.xls", "07250607.xls", "07250608.xls",
                                         "07250609.xls", "07250610.xls", "07250611.xls", "07250612.xls",
                                         "07250613.xls", "07250614.xlt", "07250615.xls", "X72506.xls"};

std::string xlsx_name(const std::string& file) { return fs::path(file).stem().string() + ".xlsx"; }

// One LibreOffice run converts every file (it is slow to start); Gnumeric
// converts the files whose outline and drawings matter most.
class ConvertedExercises : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new ScratchFolder();
    if (xls::interop::on_path("soffice")) {
      std::vector<std::string> command = {"soffice", "-env:UserInstallation=file://" + (*folder_ / "profile").string(),
                                          "--headless", "--convert-to", "xlsx", "--outdir", (*folder_ / "lo").string()};
      for (const auto& file : kFiles) command.push_back((kExercises / file).string());
      xls::interop::run_bounded(command, 300);
    }
    if (xls::interop::on_path("ssconvert"))
      for (const auto& file : {"07250608.xls", "07250611.xls", "07250615.xls"}) {
        fs::create_directories(*folder_ / "gnumeric");
        xls::interop::run_bounded({"ssconvert", (kExercises / file).string(),
                                   (*folder_ / "gnumeric" / xlsx_name(file)).string()},
                                  60);
      }
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }

  static fs::path converted(const std::string& program, const std::string& file) {
    return *folder_ / program / xlsx_name(file);
  }

  static ScratchFolder* folder_;
};
ScratchFolder* ConvertedExercises::folder_ = nullptr;

// What the checks read of a sheet, as text, one line per fact.
std::vector<std::string> facts(const model::Workbook& book) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < book.sheet_count(); ++i) {
    const model::Worksheet& sheet = book.sheet(i);
    const std::string at = sheet.name() + "!";
    lines.push_back("sheet " + std::to_string(i) + " " + sheet.name() + " visibility " +
                    std::to_string(sheet.visibility()));
    sheet.for_each_cell({0, 0, model::kMaxRows - 1, model::kMaxColumns - 1}, [&](int row, int column, const model::Cell&) {
      const std::string cell = at + std::to_string(row) + "," + std::to_string(column);
      const std::string text = sheet.formula_text(row, column);
      if (!text.empty()) lines.push_back(cell + " " + text + " = " + formula::value_to_text(sheet.value(row, column)));
      const model::CellFormat& format = sheet.format(row, column);
      if (format.font.bold) lines.push_back(cell + " bold");
      if (format.alignment.horizontal != model::xl::General)
        lines.push_back(cell + " horizontal " + std::to_string(format.alignment.horizontal));
      if (format.interior.pattern != model::xl::PatternNone)
        lines.push_back(cell + " interior " + std::to_string(format.interior.color_index));
    });
    for (const auto& [cell, note] : sheet.notes())
      lines.push_back(at + "note " + std::to_string(cell.first) + "," + std::to_string(cell.second) + " " + note.text);
    sheet.rows().for_each(0, model::kMaxRows - 1, [&](int row, const model::LineInfo& info) {
      if (info.outline_level > 1 || info.hidden)
        lines.push_back(at + "row " + std::to_string(row) + " level " + std::to_string(info.outline_level) +
                        (info.hidden ? " hidden" : ""));
    });
    for (const model::Shape& shape : sheet.shapes())
      if (shape.kind != model::ShapeKind::Comment)
        lines.push_back(at + "shape " + shape.name + " " + shape.text + " value " + std::to_string(shape.value));
    if (sheet.protection().is_protected())
      lines.push_back(at + "protected " + std::to_string(sheet.protection().contents) +
                      std::to_string(sheet.protection().drawing_objects));
  }
  for (const model::DefinedName& name : book.names()) lines.push_back("name " + name.name);
  for (std::size_t i = 0; i < book.styles().size(); ++i)
    if (!book.styles().at(i).builtin()) lines.push_back("style " + book.styles().at(i).name);
  lines.push_back("active " + book.active_sheet().name());
  return lines;
}

TEST_F(ConvertedExercises, LibreOfficesXlsxReadsAsTheXlsItCameFrom) {
  if (!xls::interop::on_path("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
  for (const auto& file : kFiles) {
    SCOPED_TRACE(file);
    const fs::path xlsx = converted("lo", file);
    ASSERT_TRUE(fs::exists(xlsx));
    const auto theirs = formats::read_workbook_file(xlsx.string());
    const auto ours = xls::read_workbook_file((kExercises / file).string());
    // LibreOffice has no very hidden sheets: it saves them hidden.
    for (std::size_t i = 0; i < ours->sheet_count(); ++i)
      if (ours->sheet(i).visibility() == model::xl::SheetVeryHidden)
        ours->set_sheet_visibility(ours->sheet(i).id(), model::xl::SheetHidden);
    EXPECT_EQ(facts(*theirs), facts(*ours));
  }
}

TEST_F(ConvertedExercises, WhatTheQuestionsReadComesBack) {
  if (!xls::interop::on_path("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
  const auto book = formats::read_workbook_file(converted("lo", "07250601.xls").string());
  const model::Worksheet& sheet = book->sheet(0);
  EXPECT_EQ(sheet.name(), "Trimestre 1");
  for (const auto& [row, column] : std::vector<std::pair<int, int>>{{2, 4}, {7, 0}, {12, 5}}) {
    ASSERT_NE(sheet.note(row, column), nullptr);
    EXPECT_EQ(sheet.note(row, column)->text, "Ne pas supprimer ce commentaire. Merci !");
  }
  ASSERT_NE(book->find_name("Zone"), nullptr);
  EXPECT_EQ(formula::print(*book->find_name("Zone")->refers_to), "='Trimestre 1'!$C$4:$C$8");
  EXPECT_EQ(sheet.value(2, 1), formula::Value(std::string("01")));
  EXPECT_EQ(sheet.value(6, 1), formula::Value(260.0));
  EXPECT_EQ(sheet.format(2, 1).interior.color_index, 47);
  // 608: the subtotals' outline on "détail"; X72506: the hidden macro sheet.
  const auto subtotals = formats::read_workbook_file(converted("lo", "07250608.xls").string());
  EXPECT_EQ(subtotals->sheet(0).rows().level(4), 3);
  EXPECT_EQ(subtotals->sheet(0).rows().level(9), 2);
  const auto macros = formats::read_workbook_file(converted("lo", "X72506.xls").string());
  EXPECT_EQ(macros->sheet(1).visibility(), model::xl::SheetHidden);  // LibreOffice's own loss: it was very hidden
  // 615: the protected sheet with its text box and two boxes.
  const auto choice = formats::read_workbook_file(converted("lo", "07250615.xls").string());
  const model::Worksheet& answers = choice->sheet(0);
  EXPECT_TRUE(answers.protection().contents);
  ASSERT_EQ(answers.shapes().size(), 3u);
  EXPECT_EQ(answers.shapes()[0].name, "Question");
  EXPECT_EQ(answers.shapes()[1].name, "Case à cocher 1");
  EXPECT_EQ(answers.shapes()[1].text, "Réponse 1");
  EXPECT_EQ(answers.shapes()[2].value, model::xl::Off);
}

TEST_F(ConvertedExercises, GnumericsXlsxKeepsOutlineBoxesAndProtection) {
  if (!xls::interop::on_path("ssconvert")) GTEST_SKIP() << "Gnumeric is not installed";
  const auto subtotals = formats::read_workbook_file(converted("gnumeric", "07250608.xls").string());
  EXPECT_EQ(subtotals->sheet(0).rows().level(4), 3);
  EXPECT_NE(subtotals->sheet(1).note(12, 5), nullptr);
  const auto choice = formats::read_workbook_file(converted("gnumeric", "07250615.xls").string());
  const model::Worksheet& answers = choice->sheet(0);
  EXPECT_TRUE(answers.protection().contents);
  std::multiset<std::string> captions;
  for (const model::Shape& shape : answers.shapes())
    if (shape.kind == model::ShapeKind::CheckBox) captions.insert(shape.text);
  EXPECT_EQ(captions, (std::multiset<std::string>{"Réponse 1", "Réponse 2"}));
}

}  // namespace

namespace {

// What trainees do to the exercise files (questions 607, 610, 612 and 615),
// saved by LibreOffice as .xlsx: the rows hidden, grouped and collapsed, the
// style "Titre bleu" and a box ticked.
TEST(TraineeChanges, SurviveLibreOfficesXlsx) {
  if (!xls::interop::on_path("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
  ScratchFolder folder;
  auto book = xls::read_workbook_file((kExercises / "07250610.xls").string());
  model::Worksheet& quarter = *book->find_sheet("Trimestre 1");
  quarter.group_rows(3, 5);
  quarter.set_row_show_detail(6, false);
  quarter.set_rows_hidden(8, 11, true);
  model::CellFormat blue;
  blue.font.bold = blue.font.italic = true;
  blue.font.color_index = 55;
  book->styles().add("Titre bleu", blue);
  book->change_style("Titre bleu", blue);
  quarter.apply_style(model::CellRange::cell(0, 0), "Titre bleu");
  xls::write_workbook_file(*book, (folder / "trainee.xls").string());
  auto choice = xls::read_workbook_file((kExercises / "07250615.xls").string());
  model::Worksheet& answers = choice->sheet(0);
  answers.unprotect();
  answers.set_check_box_value("Case à cocher 2", model::xl::On);
  answers.protect();
  xls::write_workbook_file(*choice, (folder / "choice.xls").string());
  ASSERT_TRUE(xls::interop::run_bounded({"soffice", "-env:UserInstallation=file://" + (folder / "profile").string(),
                                         "--headless", "--convert-to", "xlsx", "--outdir", folder.path().string(),
                                         (folder / "trainee.xls").string(), (folder / "choice.xls").string()},
                                        300));

  const auto back = formats::read_workbook_file((folder / "trainee.xlsx").string());
  const model::Worksheet& sheet = *back->find_sheet("Trimestre 1");
  for (int row = 3; row <= 5; ++row) {
    EXPECT_EQ(sheet.rows().level(row), 2) << row;
    EXPECT_TRUE(sheet.rows().hidden(row)) << row;
  }
  // LibreOffice writes no collapsed flag; the summary row shows its detail
  // hidden all the same, which is what ShowDetail reads.
  EXPECT_FALSE(sheet.row_show_detail(6));
  for (int row = 8; row <= 11; ++row) {
    EXPECT_TRUE(sheet.rows().hidden(row)) << row;
    EXPECT_EQ(sheet.rows().level(row), 1) << row;
  }
  const model::Style* style = back->styles().find("Titre bleu");
  ASSERT_NE(style, nullptr);
  EXPECT_TRUE(style->format.font.bold && style->format.font.italic);
  EXPECT_EQ(style->format.font.color_index, 55);
  EXPECT_EQ(sheet.format(0, 0).style, "Titre bleu");
  // LibreOffice drops a hidden workbook window when it saves: the reading of
  // workbookView's visibility is tested on Excel's layout instead.

  const auto ticked = formats::read_workbook_file((folder / "choice.xlsx").string());
  const model::Worksheet& boxes = ticked->sheet(0);
  ASSERT_NE(boxes.find_shape("Case à cocher 2"), nullptr);
  EXPECT_EQ(boxes.find_shape("Case à cocher 2")->value, model::xl::On);
  EXPECT_EQ(boxes.find_shape("Case à cocher 1")->value, model::xl::Off);
  EXPECT_TRUE(boxes.protection().contents);
}

}  // namespace
