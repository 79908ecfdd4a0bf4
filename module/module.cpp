#include "module/module.hpp"

#include "module/identity.hpp"
#include "module/remonte_erreur.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/boundary.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/traps.hpp"
#include "platform/excel/constants.hpp"
#include "platform/excel/dispids.hpp"
#include "platform/fs/dir.hpp"
#include "platform/fs/folders.hpp"
#include "platform/win32/window_calls.hpp"
#include "questions/question_factory.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
namespace win32 = platform::win32;
using com::Variant;

namespace {

constexpr std::string_view kClasse = "Module";
constexpr std::int32_t kQuestionSansFenetre = 614;  // keeps its window state, activates no workbook

// How often InitQuestion tries to create the templates folder before it
// gives up: a folder that can never be created must not keep the player
// waiting for ever.
constexpr int kEssaisDossierModeles = 100;

// GetApplication leaves Excel's drawing locked so that the preparation does
// not flicker; a window left locked would stay frozen before the trainee's
// eyes, so InitQuestion lets it go when it ends, whether it succeeds or not.
class VerrouRelache {
 public:
  explicit VerrouRelache(const win32::HWND& fenetre) : fenetre_(fenetre) {}
  ~VerrouRelache() {
    if (fenetre_ != 0 && win32::locked_window() == fenetre_) win32::LockWindowUpdate(0);
  }
  VerrouRelache(const VerrouRelache&) = delete;
  VerrouRelache& operator=(const VerrouRelache&) = delete;

 private:
  const win32::HWND& fenetre_;
};

}  // namespace

Module::~Module() {
  if (!moQuestion) return;
  try {
    moQuestion->call("Fermer");
  } catch (...) {  // termination reports nothing
  }
  moQuestion = nullptr;
}

com::Dispatch& Module::Question() const { return com::object_of(Variant(moQuestion)); }

// --- Property reads ------------------------------------------------------------

HRESULT Module::BravoNuance(bool& pbNuance) {
  return com::call_at_boundary([&] { pbNuance = com::cbool(Question().get("BravoNuance")); });
}

HRESULT Module::Complement(std::shared_ptr<ComplementInfo>& ppComplement) {
  return com::call_at_boundary([&] {
    const Variant liste = Question().get("ComplementInfo");
    if (!liste.object()) {
      ppComplement = nullptr;
      return;
    }
    auto complement = std::dynamic_pointer_cast<ComplementInfo>(liste.object());
    if (!complement) com::raise(com::err::TypeMismatch);
    ppComplement = std::move(complement);
  });
}

HRESULT Module::CauseErreur(std::string& psCause) {
  return com::call_at_boundary([&] {
    psCause = mbErreurGenerale ? msCauseErreur : com::cstr(Question().get("CauseErreur"));
  });
}

HRESULT Module::ErreurGenerale(bool& pbErreur) {
  pbErreur = mbErreurGenerale;
  return com::S_OK;
}

// --- Fermer ---------------------------------------------------------------------

HRESULT Module::Fermer() {
  return com::call_at_boundary([&] { FermeQuestion(); });
}

// --- InitQuestion ---------------------------------------------------------------

HRESULT Module::InitQuestion(std::int32_t ilQuestion, const std::string& isPathDossier,
                             std::shared_ptr<com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel,
                             const std::string& isPathModele) {
  return com::call_at_boundary(
      [&] { InitQuestionCorps(ilQuestion, isPathDossier, ioApplication, ioHandleLogiciel, isPathModele); });
}

void Module::InitQuestionCorps(std::int32_t ilQuestion, const std::string& isPathDossier,
                               std::shared_ptr<com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel,
                               const std::string& isPathModele) {
  VerrouRelache verrou(mhExcel);

  // Steps 1 to 3: no trap.
  const std::string dossier = isPathDossier;
  std::string modele = isPathModele;
  AttacheExcel(ioApplication, ioHandleLogiciel);
  FermeDialogues(mhExcel);
  if (moQuestion) FermeQuestion();

  com::report_and_fail(
      [&] {
        mlQuestion = ilQuestion;
        moQuestion = CreeQuestion(ilQuestion);
        msPathDossier = dossier;
        msPathModele = moApplication.TemplatesPath() + std::string(identity::kDossierModelesCours);
        modele = msPathModele;
        PrepareDossierModeles();
        RefuseDossierLie(msPathDossier);
        RefuseDossierLie(moApplication.TemplatesPath());
        RefuseDossierLie(msPathModele);
      },
      Rapporte(kClasse, "InitQuestion"));

  // Steps 10 to 15: no trap; the operations report for themselves.
  Nettoyage();
  Renomme();
  Variant arguments[] = {moApplication.variant(), Variant(dossier), Variant(modele)};
  Question().invoke("Prepare", com::CallKind::Method, arguments);
  moApplication = excel::Application(arguments[0]);
  ChangeDir(com::cstr(Question().get("PathDossierParDefaut")));
  InitCommandBar();
  moApplication.ShowToolTips(true);
  moApplication.Application_().DisplayCommentIndicator(excel::xlNoIndicator);
  if (mlQuestion != kQuestionSansFenetre) {
    Variant etat[] = {Variant(excel::xlMaximized)};
    com::object_of(moApplication.ActiveWindow()).invoke(excel::dispid::WindowState, com::CallKind::Put, etat);
  }

  com::report_and_fail(
      [&] {
        if (moApplication.Application_().Workbooks().Count() == 0) OuvreClasseurVide();
        AfficheExcel();
        if (mlQuestion != kQuestionSansFenetre) {
          const Variant fichiers = Question().get("FichiersDeTravail");
          const Variant premier = com::object_of(fichiers).get("Item", {Variant(std::int32_t{1})});
          const std::string nom = com::cstr(com::object_of(premier).get("NomDest"));
          moApplication.Application_().Workbooks()(Variant(nom)).Activate();
        }
      },
      Rapporte(kClasse, "InitQuestion"));
}

// Step 2: the player's Excel when it is alive and shown, otherwise one the
// module obtains itself.
void Module::AttacheExcel(std::shared_ptr<com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel) {
  if (!ioApplication) {
    ObtientExcel(ioApplication, ioHandleLogiciel);
    return;
  }
  const excel::Application proposee{Variant(ioApplication)};
  if (!same(proposee, moApplication)) mbExcelLance = false;
  moApplication = proposee;
  mhExcel = static_cast<HWND>(ioHandleLogiciel);
  if (win32::IsWindowVisible(mhExcel) != 0) return;

  const HWND fenetre = win32::FindWindowA("XLMAIN", nullptr);
  if (ExcelDisponible(false) && fenetre != 0) {
    win32::LockWindowUpdate(0);
    moApplication.Quit();
  }
  ioApplication = nullptr;
  moApplication = excel::Application();
  ObtientExcel(ioApplication, ioHandleLogiciel);
}

void Module::ObtientExcel(std::shared_ptr<com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel) {
  GetApplication();
  mbExcelLance = true;
  SaveParamUser();
  ioApplication = moApplication.variant().object();
  ioHandleLogiciel = static_cast<std::int32_t>(mhExcel);
}

// Step 8, bounded (see kEssaisDossierModeles): the player's messages are
// served between attempts.
void Module::PrepareDossierModeles() {
  for (int essai = 0; essai < kEssaisDossierModeles; ++essai) {
    platform::fs::MakeSureDirectoryPathExists(msPathModele);
    com::Apartment::current().yield_once();
    if (!platform::fs::Dir(msPathModele, platform::fs::attr::Directory).empty()) return;
  }
  com::raise(com::err::PathNotFound, "D72506", "Path not found: " + msPathModele);
}

// The module deletes and renames files in the working and templates
// folders; a folder that is a symbolic link would have it do so wherever the
// link points, outside the folders it was given.
void Module::RefuseDossierLie(const std::string& dossier) const {
  if (!platform::fs::is_symbolic_link(dossier)) return;
  com::raise(com::err::PathFileAccess, "D72506",
             "The folder '" + dossier + "' is a symbolic link; the exercise works only in real folders");
}

// Step 17: an Excel with no workbook gets a blank one and its task pane.
void Module::OuvreClasseurVide() {
  moApplication.Application_().Workbooks().Add();
  moApplication.Application_().ShowStartupDialog(true);
  moApplication.CommandBars()(Variant("Task Pane")).Enabled(true);
  if (moApplication.CommandBars()(Variant("Task Pane")).Enabled()) {
    moApplication.CommandBars()(Variant("Task Pane")).Position(excel::msoBarRight);
    moApplication.CommandBars()(Variant("Task pane")).Visible(true);
  }
}

// --- TestePoint -----------------------------------------------------------------

HRESULT Module::TestePoint() {
  return com::call_at_boundary([&] { TestePointCorps(); });
}

void Module::TestePointCorps() {
  if (!AfficheExcel()) {
    mbErreurGenerale = true;
    msCauseErreur = "AM";
    return;
  }
  if (!ExcelDisponible(true)) {
    mbErreurGenerale = true;
    msCauseErreur = "%AL";
    return;
  }

  mbErreurGenerale = false;
  bool classeurBon = false;
  if (com::ignore_error([&] { classeurBon = VerifieClasseur(); })) {
    mbErreurGenerale = true;
    msCauseErreur = "AN";
    return;
  }
  if (!classeurBon) {
    mbErreurGenerale = true;
    return;
  }

  // No trap: an error the question's own check did not turn into "AA"
  // reaches the player as it was raised.
  Question().call("TestePoint");
  if (com::cstr(Question().get("CauseErreur")) == "AA") {
    mbErreurGenerale = true;
    msCauseErreur = "AA";
  } else {
    mbErreurGenerale = false;
  }
}

// --- Quitter --------------------------------------------------------------------

HRESULT Module::Quitter(std::shared_ptr<com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel) {
  return com::call_at_boundary([&] { QuitterCorps(ioApplication, ioHandleLogiciel); });
}

void Module::QuitterCorps(std::shared_ptr<com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel) {
  com::report_and_fail(
      [&] {
        if (moQuestion) FermeQuestion();
        // Only an attached Excel is the module's to restore: after a first
        // Quitter both references are none, and a second one has nothing to undo.
        const bool memeExcel = ioApplication && ioApplication == moApplication.variant().object();
        if (memeExcel && mbExcelLance) {
          RestaureParamUser();
          if (moApplication.Application_().Workbooks().Count() == 0) {
            moApplication.Application_().Quit();
          } else {
            win32::ShowWindow(mhExcel, win32::SW_SHOWMINIMIZED);
          }
          ioHandleLogiciel = 0;
          ioApplication = nullptr;
        }
        moApplication = excel::Application();
      },
      Rapporte(kClasse, "Quitter"));
}

}  // namespace d72506
