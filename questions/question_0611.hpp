// Question 611: the custom view "123" of the active workbook, which must
// restore a zoom of 110, rows 4 and 5 shown, portrait orientation and
// horizontal centring of the printed page. The view is judged by what
// showing it does: the check first disturbs those four settings, shows the
// view and reads them back.
#pragma once

#include <optional>

#include "questions/question.hpp"

namespace d72506 {

class Question0611 final : public Question {
 public:
  Question0611();
  const platform::com::MemberTable& members() const override;

 private:
  // The settings the check disturbs, as they stood before.
  struct Reglages {
    platform::com::Variant zoom;
    platform::com::Variant ligne4Masquee;
    platform::com::Variant ligne5Masquee;
    platform::com::Variant orientation;
    platform::com::Variant centrageHorizontal;
  };

  void AppliqueTests() override;
  // Disturbs the settings and shows the view; false when any of it failed
  // (no view "123", above all), in which case the settings are put back.
  bool AfficheLaVue() const;
  Reglages LitReglages() const;
  void Perturbe() const;
  void Restaure(const Reglages& reglages) const;

  // Each object reached afresh through the application: showing the view
  // may change which window and sheet are active.
  platform::com::Variant Fenetre() const;
  platform::com::Variant MiseEnPage() const;
  platform::com::Variant Lignes(const char* lignes) const;
};

}  // namespace d72506
