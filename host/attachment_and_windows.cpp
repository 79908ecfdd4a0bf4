// Module's grip on Excel as an application: obtaining it, its main window,
// whether it still answers, the modal dialogs and the assistant's balloon
// that stand in the trainee's way, and the closing of a question.
#include <string>

#include "module/module.hpp"
#include "module/remonte_erreur.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/traps.hpp"
#include "platform/win32/keystrokes.hpp"
#include "platform/win32/window_calls.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
namespace win32 = platform::win32;
using com::Variant;

namespace {

constexpr const char* kClasseExcel = "XLMAIN";
constexpr const char* kClasseBulle = "MSOBALLOON";
constexpr const char* kProgIdExcel = "Excel.application.11";

// The pause after the balloon closes: an empty count the compiler must keep.
void PauseApresBulle() {
  volatile long compteur = 0;
  while (compteur <= 50'000'000L) {
    const long suivant = compteur + 1;
    compteur = suivant;
  }
}

}  // namespace

void Module::GetApplication() {
  const auto montreEtVerrouille = [&] {  // steps 5 to 7
    moApplication.Application_().Visible(true);
    mhExcel = win32::FindWindowA(kClasseExcel, nullptr);
    win32::LockWindowUpdate(mhExcel);
  };
  const auto creeExcel = [&] {  // step 4 onward
    moApplication = excel::Application(Variant(com::Apartment::current().create_object(kProgIdExcel)));
    montreEtVerrouille();
  };

  const HWND visible = win32::FindWindowA(kClasseExcel, nullptr);
  if (win32::IsWindowVisible(visible) != 0) {
    // Trap A: a failure to attach, or to show the attached Excel, falls back
    // to a new instance, whose own failure is no longer trapped here.
    const auto echec = com::ignore_error([&] {
      moApplication = excel::Application(Variant(com::Apartment::current().active_object(kProgIdExcel)));
      montreEtVerrouille();
    });
    if (echec) com::no_trap(creeExcel);
    return;
  }

  // Trap B.
  com::report_and_fail(creeExcel, [&](const com::Error& e) {
    moApplication = excel::Application();
    RemonteErreur("Module", "GetApplication", e.source());
  });
}

bool Module::AfficheExcel() {
  if (win32::IsWindowVisible(mhExcel) == 0) return false;
  if (win32::FindWindowA(kClasseExcel, nullptr) == 0) return false;
  com::ignore_error([&] { moApplication.Application_().DisplayFullScreen(false); });
  win32::ShowWindow(mhExcel, win32::SW_SHOWMAXIMIZED);
  win32::SetForegroundWindow(mhExcel);
  return true;
}

void Module::EnvoieEchap(const HWND& hwnd) {
  win32::SetForegroundWindow(hwnd);
  win32::SendKeys("{ESC}");
}

bool Module::ExcelDisponible(bool sansEchap) {
  const HWND excel = win32::FindWindowA(kClasseExcel, nullptr);
  if (excel == 0 && !sansEchap) EnvoieEchap(mhExcel);
  return !com::ignore_error([&] { com::object_of(moApplication.Application_().Windows()).get("Count"); });
}

// Closes the first visible modal dialog the owner has above it, after the
// dialogs of its own. Only a non-empty title qualifies a window; the text
// itself does not matter.
void Module::FermeDialogues(const HWND& hwnd) {
  com::ignore_error([&] {
    HWND candidat = win32::GetWindow(hwnd, win32::GW_HWNDPREV);
    while (candidat != 0) {
      std::string titre(255, 'a');
      const bool aUnTitre = win32::GetWindowTextA(candidat, titre.data(), 255) > 0;
      const bool modal = (static_cast<win32::DWORD>(win32::GetWindowLongA(candidat, win32::GWL_EXSTYLE)) &
                          win32::WS_EX_DLGMODALFRAME) != 0;
      if (aUnTitre && win32::IsWindowVisible(candidat) != 0 && modal && win32::GetParent(candidat) == hwnd) {
        FermeDialogues(candidat);
        win32::SendMessageA(candidat, win32::WM_CLOSE, 0, 0);
        return;
      }
      candidat = win32::GetWindow(candidat, win32::GW_HWNDPREV);
    }
  });
}

// Closes the window after its children, depth first. A child that is still
// the first one after its own close refused to go: asking again would never
// end, so the window itself is asked to close then.
void Module::FermeFenetre(const HWND& hwnd) {
  com::ignore_error([&] {
    HWND enfant = win32::FindWindowExA(hwnd, 0, nullptr, nullptr);
    while (enfant != 0) {
      FermeFenetre(enfant);
      const HWND suivant = win32::FindWindowExA(hwnd, 0, nullptr, nullptr);
      if (suivant == enfant) break;
      enfant = suivant;
    }
    win32::SendMessageA(hwnd, win32::WM_CLOSE, 0, 0);
  });
}

void Module::FermeQuestion() {
  const HWND bulle = win32::FindWindowA(kClasseBulle, nullptr);
  if (bulle != 0) {
    FermeFenetre(bulle);
    PauseApresBulle();
  }
  FermeDialogues(mhExcel);
  if (ExcelDisponible(false)) {
    Nettoyage();
    moApplication.Application_().DisplayCommentIndicator(mlIndicateurCommentaires);
  }
  mbVoletOffice = moApplication.CommandBars()(Variant("Task Pane")).Visible();
  Question().call("Fermer");
  moQuestion = nullptr;
}

}  // namespace d72506
