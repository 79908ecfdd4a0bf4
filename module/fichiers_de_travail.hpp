// A question's work files: which delivered exercise file becomes which
// working copy, and whether it is a template. The module reads the list by
// member name, as it reads everything of a question.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "module/growable_list.hpp"
#include "platform/com/dispatch.hpp"

namespace d72506 {

struct Fichier {
  std::string NomSource;  // as delivered ("07250601.xls"); may be empty
  std::string NomDest;    // the working copy's name ("Thor International.xls")
  bool Modele = false;    // a template (".xlt"), kept in the templates folder
};

// A record handed to a late-bound caller: a copy of one `Fichier` whose
// fields read by name.
class FichierCopie final : public platform::com::Dispatch {
 public:
  explicit FichierCopie(Fichier fichier) : fichier_(std::move(fichier)) {}
  const platform::com::MemberTable& members() const override;

  std::string NomSource() const { return fichier_.NomSource; }
  std::string NomDest() const { return fichier_.NomDest; }
  bool Modele() const { return fichier_.Modele; }

 private:
  Fichier fichier_;
};

class FichiersDeTravail final : public platform::com::Dispatch {
 public:
  const platform::com::MemberTable& members() const override;

  void add(const std::string& siNomSource, const std::string& siNomDest, bool biModele);
  std::int32_t count() const;
  Fichier Item(std::int32_t noItem) const;  // a copy; 0 gives the empty slot

 private:
  GrowableList<Fichier> fichiers_;
};

}  // namespace d72506
