#include "module/fichiers_de_travail.hpp"

namespace d72506 {

void FichiersDeTravail::add(const std::string& siNomSource, const std::string& siNomDest, bool biModele) {
  fichiers_.add(Fichier{siNomSource, siNomDest, biModele});
}

std::int32_t FichiersDeTravail::count() const { return fichiers_.count(); }

Fichier FichiersDeTravail::Item(std::int32_t noItem) const { return fichiers_.item(noItem); }

}  // namespace d72506
