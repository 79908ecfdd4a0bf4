// The toolbars arranged for each question, and the trainee's own settings
// saved when the module obtained Excel itself and put back when it quits.
// Every move hides the bar first and shows it again afterwards.
#include "module/module.hpp"
#include "module/remonte_erreur.hpp"
#include "platform/com/error.hpp"
#include "platform/com/traps.hpp"
#include "platform/excel/constants.hpp"

namespace d72506 {

namespace com = platform::com;
namespace excel = platform::excel;
using com::Variant;

namespace {

// The bars beyond the first eighteen keep whatever state they have.
constexpr std::int32_t kBarresRestaurees = 18;

}  // namespace

void Module::InitCommandBar() {
  com::report_and_fail(
      [&] {
        const auto barre = [&](const char* nom) { return moApplication.CommandBars()(Variant(nom)); };
        for (const char* nom : {"standard", "formatting"}) {
          barre(nom).Enabled(true);
          barre(nom).Visible(false);
          barre(nom).Position(excel::msoBarTop);
          barre(nom).Visible(true);
        }
        barre("drawing").Enabled(true);
        if (barre("drawing").Visible()) {  // a hidden drawing bar stays hidden
          barre("drawing").Visible(false);
          barre("drawing").Position(excel::msoBarBottom);
          barre("drawing").Visible(true);
        }
        if (barre("Task Pane").Enabled()) {
          barre("Task Pane").Position(excel::msoBarRight);
          barre("Task Pane").Visible(mbVoletOffice);
        }
      },
      Rapporte("Module", "InitCommandBar"));
}

void Module::SaveParamUser() {
  com::report_and_fail(
      [&] {
        msDossierUtilisateur = GetDir();
        const std::int32_t n = moApplication.CommandBars().Count();
        mabBarresVisibles.assign(static_cast<std::size_t>(n), false);
        for (std::int32_t index = 1; index <= n; ++index) {
          mabBarresVisibles[static_cast<std::size_t>(index - 1)] =
              moApplication.CommandBars()(Variant(index)).Visible();
        }
        mbInfoBulles = moApplication.ShowToolTips();
        mlIndicateurCommentaires = moApplication.Application_().DisplayCommentIndicator();
        mbVoletDemarrage = moApplication.ShowStartupDialog();
      },
      Rapporte("Module", "SaveParamUser"));
}

void Module::RestaureParamUser() {
  com::report_and_fail(
      [&] {
        ChangeDir(msDossierUtilisateur);
        // Nothing saved leaves no bar to restore: the first one is out of range.
        if (mabBarresVisibles.empty()) com::raise(com::err::SubscriptOutOfRange);
        const auto borne = static_cast<std::int32_t>(mabBarresVisibles.size());
        for (std::int32_t index = 1;; ++index) {
          moApplication.CommandBars()(Variant(index)).Visible(mabBarresVisibles[static_cast<std::size_t>(index - 1)]);
          if (index == kBarresRestaurees || index == borne) break;
        }
        moApplication.ShowToolTips(mbInfoBulles);
        moApplication.ShowStartupDialog(mbVoletDemarrage);
      },
      Rapporte("Module", "RestaureParamUser"));
}

}  // namespace d72506
