#include <gtest/gtest.h>

#include "module/complement_info.hpp"
#include "module/fichiers_de_travail.hpp"

namespace d72506 {
namespace {

int error_number_of(auto&& call) {
  try {
    call();
  } catch (const platform::com::Error& e) {
    return e.number();
  }
  return 0;
}

TEST(FichiersDeTravail, NewListHasNoItemsNotEvenSlotZero) {
  FichiersDeTravail liste;
  EXPECT_EQ(liste.count(), 0);
  EXPECT_EQ(error_number_of([&] { liste.Item(0); }), 9);
  EXPECT_EQ(error_number_of([&] { liste.Item(1); }), 9);
}

TEST(FichiersDeTravail, ItemsComeBackInOrderWithAnEmptySlotZero) {
  FichiersDeTravail liste;
  liste.add("07250613.xls", "Thor International.xls", false);
  liste.add("", "Thor.xlt", true);
  liste.add("", "International.xlt", true);
  ASSERT_EQ(liste.count(), 3);
  EXPECT_EQ(liste.Item(1).NomSource, "07250613.xls");
  EXPECT_EQ(liste.Item(2).NomDest, "Thor.xlt");
  EXPECT_TRUE(liste.Item(3).Modele);
  const Fichier vide = liste.Item(0);
  EXPECT_EQ(vide.NomSource, "");
  EXPECT_EQ(vide.NomDest, "");
  EXPECT_FALSE(vide.Modele);
  EXPECT_EQ(error_number_of([&] { liste.Item(4); }), 9);
  EXPECT_EQ(error_number_of([&] { liste.Item(-1); }), 9);
}

TEST(FichiersDeTravail, ItemIsACopy) {
  FichiersDeTravail liste;
  liste.add("07250601.xls", "Thor International.xls", false);
  Fichier copie = liste.Item(1);
  copie.NomDest = "autre.xls";
  EXPECT_EQ(liste.Item(1).NomDest, "Thor International.xls");
}

TEST(ComplementInfo, LinesAreNumberedFromOne) {
  ComplementInfo lignes;
  EXPECT_EQ(error_number_of([&] { lignes.item(1); }), 9);
  lignes.add("première", 42);
  lignes.add("seconde");
  EXPECT_EQ(lignes.count(), 2);
  EXPECT_EQ(lignes.item(0), "");
  EXPECT_EQ(lignes.item(1), "première");
  EXPECT_EQ(lignes.item(2), "seconde");
  EXPECT_EQ(error_number_of([&] { lignes.item(3); }), 9);
}

}  // namespace
}  // namespace d72506
