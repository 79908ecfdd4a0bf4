// Sheet and workbook protection through a save and a load: the password's
// hash comes back, so the same password (and only it) unprotects.
#include <gtest/gtest.h>

#include "engine/model/constants.hpp"
#include "engine/xls/workbook_file.hpp"
#include "platform/com/error.hpp"

namespace engine::xls {
namespace {

namespace m = engine::model;

std::unique_ptr<m::Workbook> round_trip(const m::Workbook& book) {
  return load_workbook(save_workbook(book), book.name());
}

TEST(Protection, ASheetKeepsItsPasswordAndItsParts) {
  m::Workbook book("Les Modèles.xls");
  book.add_sheet("réponses").protect("Réponse1");
  book.add_sheet("libre").protect();
  book.add_sheet("ouverte");
  book.add_sheet("partielle").protect("", true, false, false);
  const auto back = round_trip(book);

  m::Worksheet& locked = back->sheet(0);
  EXPECT_EQ(locked.protection().password_hash, m::password_hash("Réponse1"));
  EXPECT_THROW(locked.unprotect(), platform::com::Error);
  EXPECT_THROW(locked.unprotect("réponse1"), platform::com::Error);
  locked.unprotect("Réponse1");
  EXPECT_FALSE(locked.protection().is_protected());

  m::Worksheet& free = back->sheet(1);
  EXPECT_TRUE(free.protection().contents);
  EXPECT_TRUE(free.protection().drawing_objects);
  EXPECT_TRUE(free.protection().scenarios);
  free.unprotect();  // protected without a password: no password unprotects it
  EXPECT_FALSE(free.protection().is_protected());

  EXPECT_FALSE(back->sheet(2).protection().is_protected());
  const m::SheetProtection& partial = back->sheet(3).protection();
  EXPECT_TRUE(partial.contents);
  EXPECT_FALSE(partial.drawing_objects);
  EXPECT_FALSE(partial.scenarios);
}

TEST(Protection, AWorkbookKeepsItsPasswordAndItsParts) {
  m::Workbook book("Thor.xls");
  book.add_sheet("Feuil1");
  book.protect("clé", true, true);
  const auto back = round_trip(book);
  EXPECT_TRUE(back->protection().structure);
  EXPECT_TRUE(back->protection().windows);
  EXPECT_THROW(back->unprotect(""), platform::com::Error);
  back->unprotect("clé");
  EXPECT_FALSE(back->protection().structure);

  m::Workbook open("Ouvert.xls");
  open.add_sheet("Feuil1");
  EXPECT_FALSE(round_trip(open)->protection().structure);
}

}  // namespace
}  // namespace engine::xls
