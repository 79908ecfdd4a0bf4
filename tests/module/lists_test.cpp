#include <gtest/gtest.h>

#include "module/complement_info.hpp"
#include "tests/platform/com/raised.hpp"
#include "module/fichiers_de_travail.hpp"

namespace d72506 {
namespace {

using platform::com::testing_support::raised;

TEST(FichiersDeTravail, NewListHasNoItemsNotEvenSlotZero) {
  auto liste_objet = std::make_shared<FichiersDeTravail>();
  FichiersDeTravail& liste = *liste_objet;
  EXPECT_EQ(liste.count(), 0);
  EXPECT_EQ(raised([&] { liste.Item(0); }), 9);
  EXPECT_EQ(raised([&] { liste.Item(1); }), 9);
}

TEST(FichiersDeTravail, ItemsComeBackInOrderWithAnEmptySlotZero) {
  auto liste_objet = std::make_shared<FichiersDeTravail>();
  FichiersDeTravail& liste = *liste_objet;
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
  EXPECT_EQ(raised([&] { liste.Item(4); }), 9);
  EXPECT_EQ(raised([&] { liste.Item(-1); }), 9);
}

TEST(FichiersDeTravail, ItemIsACopy) {
  auto liste_objet = std::make_shared<FichiersDeTravail>();
  FichiersDeTravail& liste = *liste_objet;
  liste.add("07250601.xls", "Thor International.xls", false);
  Fichier copie = liste.Item(1);
  copie.NomDest = "autre.xls";
  EXPECT_EQ(liste.Item(1).NomDest, "Thor International.xls");
}

TEST(ComplementInfo, LinesAreNumberedFromOne) {
  auto lignes_objet = std::make_shared<ComplementInfo>();
  ComplementInfo& lignes = *lignes_objet;
  EXPECT_EQ(raised([&] { lignes.item(1); }), 9);
  lignes.add("première", 42);
  lignes.add("seconde");
  EXPECT_EQ(lignes.count(), 2);
  EXPECT_EQ(lignes.item(0), "");
  EXPECT_EQ(lignes.item(1), "première");
  EXPECT_EQ(lignes.item(2), "seconde");
  EXPECT_EQ(raised([&] { lignes.item(3); }), 9);
}

}  // namespace
}  // namespace d72506

namespace d72506 {
namespace {

using platform::com::Variant;

// The module reaches a question's list only by member name.
TEST(FichiersDeTravail, LateBoundCallersReadRecordsByFieldName) {
  auto liste = std::make_shared<FichiersDeTravail>();
  liste->call("ADD", {"07250614.xlt", "Thor.xlt", true});
  EXPECT_EQ(liste->call("count").long_value(), 1);
  Variant fichier = liste->get("Item", {1});
  auto& record = platform::com::object_of(fichier);
  EXPECT_EQ(record.get("NomSource").string_value(), "07250614.xlt");
  EXPECT_EQ(record.get("nomdest").string_value(), "Thor.xlt");
  EXPECT_TRUE(record.get("Modele").bool_value());
  EXPECT_EQ(raised([&] { liste->get("Item", {2}); }), 9);
}

TEST(ComplementInfo, LateBoundCallersSeeThePlayersMembers) {
  auto lignes = std::make_shared<ComplementInfo>();
  lignes->call("add", {"ligne", 0});
  EXPECT_EQ(lignes->call("count").long_value(), 1);
  EXPECT_EQ(lignes->call("item", {1}).string_value(), "ligne");
  EXPECT_EQ(raised([&] { lignes->call("remove", {1}); }), 438);
}

}  // namespace
}  // namespace d72506
