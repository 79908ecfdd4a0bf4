#include "questions/question_0615.hpp"

#include <vector>

#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/com/traps.hpp"
#include "platform/excel/constants.hpp"
#include "platform/fs/attributes.hpp"
#include "platform/fs/dir.hpp"
#include "platform/fs/file_ops.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
namespace fs = platform::fs;
using com::Variant;

namespace {

constexpr const char* kClasseur = "Les Modèles.xls";
constexpr const char* kFeuille = "réponses";
constexpr const char* kCase = "Case à cocher ";
// Every kind of entry: read-only, hidden, system, folder, archive.
constexpr std::int32_t kToutesEntrees = fs::attr::ReadOnly | fs::attr::Hidden | fs::attr::System |
                                        fs::attr::Directory | fs::attr::Archive;

// The sheet "réponses" protected again however the check leaves it, so that
// a check that fails half-way does not hand the trainee an open sheet.
class ProtectionRendue {
 public:
  explicit ProtectionRendue(const excel::Application& application) : application_(application) {}
  ~ProtectionRendue() {
    if (!rendue_) com::ignore_error([&] { Protege(); });
  }
  ProtectionRendue(const ProtectionRendue&) = delete;
  ProtectionRendue& operator=(const ProtectionRendue&) = delete;

  void Protege() {
    com::object_of(application_.ActiveWorkbook().Sheets()(Variant(kFeuille))).call("Protect");
    rendue_ = true;
  }

 private:
  const excel::Application& application_;
  bool rendue_ = false;
};

}  // namespace

Question0615::Question0615() : Question({{"07250615.xls", kClasseur, false}}) {}

const com::MemberTable& Question0615::members() const {
  static const com::MemberTable table = MembresDeQuestion("Question0615");
  return table;
}

void Question0615::Prepare(Variant& iApplication, const std::string& isPathDossier, const std::string& isPathModele) {
  PrepareClasseur(iApplication, isPathDossier, isPathModele, kClasseur);
  VideDossierModeles();
}

// Until the first entry's attributes are reset, any failure ends the
// clean-up before anything is deleted; after that, a failing statement is
// skipped. A sub-folder cannot be deleted and stays, with its contents.
// Without a templates folder the listing would run on the process's current
// folder: nothing is listed or deleted then.
void Question0615::VideDossierModeles() {
  if (msPathModele.empty()) return;
  std::vector<std::string> chemins;
  const bool listee = !com::ignore_error([&] {
    for (std::string nom = fs::Dir(msPathModele + "*.*", kToutesEntrees); !nom.empty(); nom = fs::Dir()) {
      if (nom != "." && nom != "..") chemins.push_back(msPathModele + nom);
    }
  });
  if (!listee || chemins.empty()) return;
  if (com::ignore_error([&] { fs::SetAttr(chemins.front(), fs::attr::Normal); })) return;

  for (std::size_t i = 0; i < chemins.size(); ++i) {
    const std::string& chemin = chemins[i];
    if (i > 0) com::ignore_error([&] { fs::SetAttr(chemin, fs::attr::Normal); });
    if (com::right(chemin, 4) == ".xlt") {
      const std::string nom = chemin.substr(chemin.rfind('\\') + 1);
      com::ignore_error([&] { moApplication.Application_().Workbooks()(Variant(nom)).Close(false); });
    }
    com::ignore_error([&] { fs::Kill(chemin); });
  }
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
// "A" neither box ticked; right: the first box alone; "B" anything else
// (the second box, both, the first one mixed). The sheet the trainee left
// active is active again afterwards.
void Question0615::AppliqueTests() {
  const auto classeur = [&] { return moApplication.ActiveWorkbook(); };
  const std::string feuilleActive = com::cstr(com::object_of(classeur().ActiveSheet()).get("Name"));
  com::object_of(classeur().Sheets()(Variant(kFeuille))).call("Select");
  com::object_of(classeur().Worksheets()(Variant(kFeuille))).call("Unprotect");
  ProtectionRendue protection(moApplication);

  const std::int32_t etat1 = EtatCase("1");
  const std::int32_t etat2 = EtatCase("2");
  com::object_of(classeur().Sheets()(Variant(feuilleActive))).call("Select");

  if (etat1 == excel::xlOff && etat2 == excel::xlOff) {
    msCauseErreur = "A";
  } else if (!(etat1 == excel::xlOn && etat2 == excel::xlOff)) {
    msCauseErreur = "B";
  }
  protection.Protege();
}
#pragma GCC diagnostic pop

std::int32_t Question0615::EtatCase(const char* numero) const {
  const std::string nomForme = std::string(kCase) + numero;
  const Variant feuille = moApplication.ActiveWorkbook().Sheets()(Variant(kFeuille));
  const Variant forme = com::object_of(feuille).get("Shapes", {Variant(nomForme)});
  com::object_of(forme).call("Select");
  return com::clng(com::object_of(moApplication.Selection()).get("Value"));
}

}  // namespace d72506
