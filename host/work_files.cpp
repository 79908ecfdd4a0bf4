// The question's work files: the working copies closed unsaved and deleted
// (Nettoyage), the delivered files given their working names and the
// templates moved into the templates folder (Renomme). The list is read from
// the question by member name, as everything of a question is.
#include <string>

#include "module/module.hpp"
#include "module/remonte_erreur.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/com/traps.hpp"
#include "platform/fs/attributes.hpp"
#include "platform/fs/file_ops.hpp"
#include "platform/fs/path.hpp"

namespace d72506 {

namespace com = platform::com;
namespace fs = platform::fs;
using com::Variant;

namespace {

// One entry of the list, read field by field through late binding.
struct Entree {
  std::string NomSource;
  std::string NomDest;
  bool Modele = false;
};

Entree LitEntree(com::Dispatch& fichiers, std::int32_t index) {
  const Variant item = fichiers.get("Item", {Variant(index)});
  com::Dispatch& fichier = com::object_of(item);
  return Entree{com::cstr(fichier.get("NomSource")), com::cstr(fichier.get("NomDest")),
                com::cbool(fichier.get("Modele"))};
}

}  // namespace

void Module::Nettoyage() {
  com::report_and_fail(
      [&] {
        const Variant liste = Question().get("FichiersDeTravail");
        com::Dispatch& fichiers = com::object_of(liste);
        const std::int32_t n = com::clng(fichiers.call("count"));
        for (std::int32_t index = 1; index <= n; ++index) {
          const Entree entree = LitEntree(fichiers, index);
          const auto classeurs = moApplication.Application_().Workbooks();
          for (std::int32_t k = classeurs.Count(); k >= 1; --k) {
            const auto classeur = classeurs(Variant(k));
            if (com::lcase(classeur.Name()) == com::lcase(entree.NomDest)) {
              classeur.Close(false);
              break;
            }
          }
          const std::string chemin = (entree.Modele ? msPathModele : msPathDossier) + entree.NomDest;
          // Two files whose names differ only in case are two of the
          // trainee's files here: deleting the exact one would leave the
          // other to be taken for the working copy next time.
          fs::require_one_spelling(chemin);
          com::ignore_error([&] { fs::SetAttr(chemin, fs::attr::Normal); });
          com::ignore_error([&] { fs::Kill(chemin); });
        }
      },
      Rapporte("Module", "Nettoyage"));
}

// Until the first template entry, a failure is reported; from it on, every
// statement's failure is skipped and the work goes on.
void Module::Renomme() {
  bool reprise = false;
  const auto instruction = [&](auto&& corps) {
    if (reprise) {
      com::ignore_error(corps);
    } else {
      corps();
    }
  };
  com::report_and_fail(
      [&] {
        const Variant liste = Question().get("FichiersDeTravail");
        com::Dispatch& fichiers = com::object_of(liste);
        const std::int32_t n = com::clng(fichiers.call("count"));
        for (std::int32_t index = 1; index <= n; ++index) {
          Entree entree;
          bool lue = false;
          instruction([&] {
            entree = LitEntree(fichiers, index);
            lue = true;
          });
          if (!lue || entree.NomSource.empty()) continue;
          const std::string source = msPathDossier + entree.NomSource;
          if (entree.Modele) {
            reprise = true;
            // The reset applies to the delivered file, where the move takes it from.
            instruction([&] { fs::SetAttr(source, fs::attr::Normal); });
            instruction([&] { fs::Name(source, msPathModele + entree.NomDest); });
          } else {
            instruction([&] { fs::SetAttr(source, fs::attr::Normal); });
            instruction([&] { fs::Name(source, msPathDossier + entree.NomDest); });
          }
        }
      },
      Rapporte("Module", "Renomme"));
}

}  // namespace d72506
