// The delivered exercise files, converted to .ods by LibreOffice at test time
// (one start of soffice for all of them), read back: each must hold what our
// own .xls reader finds in the file LibreOffice started from.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/formula/reference.hpp"
#include "engine/model/constants.hpp"
#include "engine/xls/workbook_file.hpp"
#include "interop_support.hpp"
#include "ods_files.hpp"

namespace engine::ods {
namespace {

namespace fs = std::filesystem;
namespace xl = model::xl;
using testing::load_file;

const fs::path kExercises = D72506_EXERCISE_FILES;

std::vector<fs::path> exercise_files() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kExercises)) {
    const auto extension = entry.path().extension();
    if (extension == ".xls" || extension == ".xlt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class ExerciseFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!xls::interop::on_path("soffice")) return;
    folder_ = std::make_unique<xls::interop::ScratchFolder>();
    std::vector<std::string> command = {"soffice", "-env:UserInstallation=file://" + (*folder_ / "profile").string(),
                                        "--headless", "--norestore", "--convert-to", "ods", "--outdir",
                                        (*folder_ / "ods").string()};
    for (const auto& file : exercise_files()) command.push_back(file.string());
    converted_ = xls::interop::run_bounded(command, 300);
  }
  static void TearDownTestSuite() { folder_.reset(); }

  void SetUp() override {
    if (!xls::interop::on_path("soffice")) GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    ASSERT_TRUE(converted_) << "soffice could not convert the exercise files";
  }

  static fs::path converted(const fs::path& exercise) {
    return *folder_ / "ods" / exercise.filename().replace_extension(".ods");
  }
  static std::unique_ptr<model::Workbook> question(int number) {
    const std::string stem = "07250" + std::to_string(number);
    return load_file(*folder_ / "ods" / (stem + ".ods"));
  }

  static inline std::unique_ptr<xls::interop::ScratchFolder> folder_;
  static inline bool converted_ = false;
};

std::string cell_name(int row, int column) { return formula::column_name(column) + std::to_string(row + 1); }

void expect_same_cells(const model::Worksheet& xls, const model::Worksheet& ods) {
  ASSERT_EQ(xls.used_range().has_value(), ods.used_range().has_value());
  if (!xls.used_range()) return;
  const model::CellRange used = *xls.used_range();
  for (int row = used.first_row; row <= used.last_row; ++row)
    for (int column = used.first_column; column <= used.last_column; ++column) {
      SCOPED_TRACE(cell_name(row, column));
      EXPECT_EQ(xls.has_formula(row, column), ods.has_formula(row, column));
      EXPECT_EQ(xls.formula_text(row, column), ods.formula_text(row, column));
      EXPECT_EQ(xls.value(row, column), ods.value(row, column));
      const model::CellFormat& a = xls.format(row, column);
      const model::CellFormat& b = ods.format(row, column);
      EXPECT_EQ(a.number_format, b.number_format);
      EXPECT_EQ(a.font.bold, b.font.bold);
      EXPECT_EQ(a.font.italic, b.font.italic);
      EXPECT_EQ(a.interior.color_index, b.interior.color_index);
      EXPECT_EQ(a.alignment.horizontal, b.alignment.horizontal);
      EXPECT_EQ(a.protection, b.protection);
    }
}

void expect_same_drawing(const model::Worksheet& xls, const model::Worksheet& ods) {
  ASSERT_EQ(xls.notes().size(), ods.notes().size());
  for (const auto& [cell, note] : xls.notes()) {
    const model::Note* read = ods.note(cell.first, cell.second);
    ASSERT_NE(read, nullptr) << cell_name(cell.first, cell.second);
    EXPECT_EQ(note.text, read->text);
  }
  ASSERT_EQ(xls.shapes().size(), ods.shapes().size());
  for (std::size_t i = 0; i < xls.shapes().size(); ++i) {
    const model::Shape& a = xls.shapes()[i];
    const model::Shape& b = ods.shapes()[i];
    EXPECT_EQ(a.kind, b.kind);
    if (a.kind == model::ShapeKind::Comment) continue;
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.value, b.value);
  }
}

void expect_same_lines(const model::Worksheet& xls, const model::Worksheet& ods) {
  for (int row = 0; row < 200; ++row) {
    SCOPED_TRACE("row " + std::to_string(row + 1));
    EXPECT_EQ(xls.rows().hidden(row), ods.rows().hidden(row));
    EXPECT_EQ(xls.rows().level(row), ods.rows().level(row));
  }
  for (int column = 0; column < model::kMaxColumns; ++column) EXPECT_EQ(xls.columns().hidden(column), ods.columns().hidden(column));
  EXPECT_EQ(xls.merged_ranges(), ods.merged_ranges());
  EXPECT_EQ(xls.protection().is_protected(), ods.protection().is_protected());
}

void expect_same_workbook(const model::Workbook& xls, const model::Workbook& ods) {
  ASSERT_EQ(xls.sheet_count(), ods.sheet_count());
  for (std::size_t i = 0; i < xls.sheet_count(); ++i) {
    const model::Worksheet& a = xls.sheet(i);
    const model::Worksheet& b = ods.sheet(i);
    SCOPED_TRACE("sheet " + a.name());
    EXPECT_EQ(a.name(), b.name());
    // OpenDocument has no very hidden state: LibreOffice writes such a sheet hidden.
    EXPECT_EQ(a.visibility() == xl::SheetVeryHidden ? xl::SheetHidden : a.visibility(), b.visibility());
    expect_same_cells(a, b);
    expect_same_drawing(a, b);
    expect_same_lines(a, b);
  }
  ASSERT_EQ(xls.names().size(), ods.names().size());
  for (const auto& name : xls.names()) {
    const model::DefinedName* read = ods.find_name(name.name, name.sheet);
    ASSERT_NE(read, nullptr) << name.name;
    EXPECT_EQ(name.refers_to_text(), read->refers_to_text());
  }
  for (std::size_t i = 0; i < xls.styles().size(); ++i)
    EXPECT_NE(ods.styles().find(xls.styles().at(i).name), nullptr) << xls.styles().at(i).name;
}

TEST_F(ExerciseFiles, ReadAsOurXlsReaderReadsTheFilesLibreOfficeStartedFrom) {
  for (const auto& exercise : exercise_files()) {
    SCOPED_TRACE(exercise.filename().string());
    import::LoadReport report;
    const auto ods = load_file(converted(exercise), &report);
    const auto xls = xls::read_workbook_file(exercise.string());
    expect_same_workbook(*xls, *ods);
    for (const auto& note : report.notes()) ADD_FAILURE() << note.what << " at " << note.where << ": " << note.why;
  }
}

TEST_F(ExerciseFiles, HoldWhatThePreChecksAndChecksRead) {
  const auto thor = question(605);
  const model::Worksheet& trimestre = thor->sheet(0);
  EXPECT_EQ(trimestre.name(), "Trimestre 1");
  for (const auto& [row, column] : {std::pair{12, 5}, std::pair{2, 4}, std::pair{7, 0}}) {
    ASSERT_NE(trimestre.note(row, column), nullptr) << cell_name(row, column);
    EXPECT_EQ(trimestre.note(row, column)->text, "Ne pas supprimer ce commentaire. Merci !");
  }
  EXPECT_EQ(question(606)->sheet(0).value(0, 3), formula::Value("09854895"));
  EXPECT_EQ(trimestre.formula_text(6, 1), "=SUM(B4:B6)");
  EXPECT_EQ(trimestre.value(6, 1), formula::Value(260.0));
  const model::DefinedName* zone = thor->find_name("Zone");
  ASSERT_NE(zone, nullptr);
  EXPECT_EQ(zone->refers_to_text(), "='Trimestre 1'!$C$4:$C$8");

  const auto detail = question(610);
  ASSERT_EQ(detail->sheet_count(), 2u);
  EXPECT_EQ(detail->sheet(0).name(), "détail");
  EXPECT_EQ(detail->sheet(1).name(), "Trimestre 1");
  ASSERT_NE(detail->sheet(1).note(12, 5), nullptr);

  const auto subtotals = question(608);
  int deepest = 1;
  for (int row = 0; row < 200; ++row) deepest = std::max(deepest, subtotals->sheet(0).rows().level(row));
  EXPECT_GE(deepest, 3) << "the subtotals' nested row groups";

  const auto choice = question(615);
  const model::Worksheet& reponses = choice->sheet(0);
  EXPECT_EQ(reponses.name(), "réponses");
  ASSERT_EQ(reponses.shapes().size(), 3u);
  EXPECT_TRUE(reponses.protection().contents);
  ASSERT_NE(reponses.find_shape("Case à cocher 1"), nullptr);
  EXPECT_EQ(reponses.find_shape("Case à cocher 1")->kind, model::ShapeKind::CheckBox);
  EXPECT_EQ(reponses.find_shape("Case à cocher 1")->value, xl::Off);
  EXPECT_EQ(reponses.find_shape("Case à cocher 2")->text, "Réponse 2");
}

}  // namespace
}  // namespace engine::ods
