// A question's work files: which delivered exercise file becomes which
// working copy, and whether it is a template.
#pragma once

#include <cstdint>
#include <string>

#include "module/growable_list.hpp"

namespace d72506 {

struct Fichier {
  std::string NomSource;  // as delivered ("07250601.xls"); may be empty
  std::string NomDest;    // the working copy's name ("Thor International.xls")
  bool Modele = false;    // a template (".xlt"), kept in the templates folder
};

class FichiersDeTravail {
 public:
  void add(const std::string& siNomSource, const std::string& siNomDest, bool biModele);
  std::int32_t count() const;
  Fichier Item(std::int32_t noItem) const;  // a copy; 0 gives the empty slot

 private:
  GrowableList<Fichier> fichiers_;
};

}  // namespace d72506
