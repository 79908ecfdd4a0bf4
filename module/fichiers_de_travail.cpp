#include "module/fichiers_de_travail.hpp"

#include "platform/com/members.hpp"

namespace d72506 {

using platform::com::Members;
using platform::com::MemberTable;

const MemberTable& FichierCopie::members() const {
  static const MemberTable table = Members<FichierCopie>("Fichier")
                                       .get("NomSource", 0, &FichierCopie::NomSource)
                                       .get("NomDest", 1, &FichierCopie::NomDest)
                                       .get("Modele", 2, &FichierCopie::Modele);
  return table;
}

const MemberTable& FichiersDeTravail::members() const {
  static const MemberTable table =
      Members<FichiersDeTravail>("FichiersDeTravail")
          .method("add", 0x60030000, &FichiersDeTravail::add, {"siNomSource", "siNomDest", "biModele"})
          .method("count", 0x60030001, &FichiersDeTravail::count)
          .get("Item", 0x68030000,
               [](FichiersDeTravail& self, std::int32_t noItem) {
                 return std::make_shared<FichierCopie>(self.Item(noItem));
               },
               {"noItem"});
  return table;
}

void FichiersDeTravail::add(const std::string& siNomSource, const std::string& siNomDest, bool biModele) {
  fichiers_.add(Fichier{siNomSource, siNomDest, biModele});
}

std::int32_t FichiersDeTravail::count() const { return fichiers_.count(); }

Fichier FichiersDeTravail::Item(std::int32_t noItem) const { return fichiers_.item(noItem); }

}  // namespace d72506
