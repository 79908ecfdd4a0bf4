// An .ods file reaches the reader by its content, whatever its name says: a
// trainee's LibreOffice file delivered under the working .xls name opens as
// the workbook it is, and a template's content makes a template.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/formats/workbook_formats.hpp"
#include "engine/import/file_error.hpp"
#include "interop_support.hpp"

namespace engine::ods {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = D72506_ODS_FIXTURES;

TEST(OpenedByContent, UnderTheWorkingXlsName) {
  xls::interop::ScratchFolder folder;
  const fs::path delivered = folder / "Les Modèles.xls";
  fs::copy_file(kFixtures / "first_box_ticked.ods", delivered);
  const auto book = formats::read_workbook_file(delivered.string());
  EXPECT_EQ(book->name(), "Les Modèles.xls");
  EXPECT_EQ(book->sheet(0).name(), "réponses");
  EXPECT_EQ(book->sheet(0).shapes().size(), 3u);
  EXPECT_TRUE(book->saved());
}

TEST(OpenedByContent, DamageNamesTheFileAsItIsOnDisk) {
  xls::interop::ScratchFolder folder;
  const fs::path delivered = folder / "Thor International.xls";
  const auto whole = fs::file_size(kFixtures / "style_titre_bleu.ods");
  fs::copy_file(kFixtures / "style_titre_bleu.ods", delivered);
  fs::resize_file(delivered, whole / 2);
  try {
    formats::read_workbook_file(delivered.string());
    FAIL() << "half a package loaded";
  } catch (const import::FileError& error) {
    EXPECT_EQ(error.file(), "Thor International.xls");
  }
}

}  // namespace
}  // namespace engine::ods
