// Module: the class the course player creates, through its AbstractModule
// interface. It attaches to Excel, creates the question object of a number,
// prepares its work files, arranges Excel for the exercise, runs the check
// when the player asks for a verdict, and closes the question and Excel.
//
// The eight public members are COM-shaped: each returns an HRESULT and
// leaves a failure's number, source and description where the player reads
// them (platform/com/boundary.hpp). The same members are reachable late
// bound through the member table.
//
// The host-environment operations are private members of this class, as
// they share its fields (the Excel reference, the window handle, the folders,
// the saved settings); their definitions live in host/, one source file per
// group, so that this folder holds the controller and host/ holds what the
// controller asks of Excel, the windows and the files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "module/complement_info.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/error.hpp"
#include "platform/excel/automation.hpp"
#include "platform/win32/types.hpp"

namespace d72506 {

using platform::com::HRESULT;

class Module final : public platform::com::Dispatch {
 public:
  Module() = default;
  // Closes the question still held (its Fermer, errors swallowed); Excel is
  // neither cleaned, restored nor closed.
  ~Module() override;
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  const platform::com::MemberTable& members() const override;

  // AbstractModule, in slot order.
  HRESULT BravoNuance(bool& pbNuance);
  HRESULT Complement(std::shared_ptr<ComplementInfo>& ppComplement);
  HRESULT CauseErreur(std::string& psCause);
  HRESULT ErreurGenerale(bool& pbErreur);
  HRESULT Fermer();
  HRESULT InitQuestion(std::int32_t ilQuestion, const std::string& isPathDossier,
                       std::shared_ptr<platform::com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel,
                       const std::string& isPathModele = "");
  HRESULT Quitter(std::shared_ptr<platform::com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel);
  HRESULT TestePoint();

 private:
  using HWND = platform::win32::HWND;

  // The members' bodies, which raise instead of returning an HRESULT.
  void InitQuestionCorps(std::int32_t ilQuestion, const std::string& isPathDossier,
                         std::shared_ptr<platform::com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel,
                         const std::string& isPathModele);
  void AttacheExcel(std::shared_ptr<platform::com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel);
  void ObtientExcel(std::shared_ptr<platform::com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel);
  void PrepareDossierModeles();
  void RefuseDossierLie(const std::string& dossier) const;
  void OuvreClasseurVide();
  void TestePointCorps();
  void QuitterCorps(std::shared_ptr<platform::com::Dispatch>& ioApplication, std::int32_t& ioHandleLogiciel);
  // The question held; none raises 91, as a call on Nothing does.
  platform::com::Dispatch& Question() const;

  // Attachment and windows (host/attachment_and_windows.cpp).
  void GetApplication();
  bool AfficheExcel();
  void EnvoieEchap(const HWND& hwnd);
  bool ExcelDisponible(bool sansEchap);
  void FermeDialogues(const HWND& hwnd);
  void FermeFenetre(const HWND& hwnd);
  void FermeQuestion();

  // Working folder (host/working_folder.cpp).
  void ChangeDir(const std::string& path);
  std::string GetDir();

  // Toolbars and settings (host/toolbars_and_settings.cpp).
  void InitCommandBar();
  void SaveParamUser();
  void RestaureParamUser();

  // Work files (host/work_files.cpp).
  void Nettoyage();
  void Renomme();

  // Pre-check of the exercise workbook (host/workbook_precheck.cpp).
  bool VerifieClasseur();

  // The controller's state.
  platform::excel::Application moApplication;
  std::shared_ptr<platform::com::Dispatch> moQuestion;
  std::string msCauseErreur;
  bool mbErreurGenerale = false;
  HWND mhExcel = 0;
  std::string msPathDossier;
  std::string msPathModele;
  std::int32_t mlQuestion = 0;
  bool mbExcelLance = false;

  // The trainee's settings, saved when the module obtained Excel itself.
  std::string msDossierUtilisateur;
  std::vector<bool> mabBarresVisibles;  // bar k's visibility at index k-1
  bool mbInfoBulles = false;
  std::int32_t mlIndicateurCommentaires = 0;
  bool mbVoletDemarrage = false;
  bool mbVoletOffice = false;
};

}  // namespace d72506
