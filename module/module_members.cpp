// The late-bound face of Module: each member calls the COM-shaped one and
// turns a failed HRESULT back into the error it stands for, so that a player
// calling by name sees what a player calling through the interface sees.
#include <optional>

#include "module/module.hpp"
#include "platform/com/boundary.hpp"
#include "platform/com/members.hpp"

namespace d72506 {

namespace com = platform::com;
using com::Variant;

namespace {

// An [in, out] object argument: Empty counts as Nothing, as an unset
// object variable of the player does.
std::shared_ptr<com::Dispatch> objet_entrant(const Variant& v) {
  if (v.is_empty()) return nullptr;
  if (!v.is_object()) com::raise(com::err::TypeMismatch);
  return v.object();
}

const auto InitQuestionParNom = [](Module& m, std::int32_t ilQuestion, const std::string& isPathDossier,
                                   Variant& ioApplication, Variant& ioHandleLogiciel,
                                   std::optional<std::string> isPathModele) {
  auto application = objet_entrant(ioApplication);
  std::int32_t handle = com::clng(ioHandleLogiciel);
  const HRESULT hr = m.InitQuestion(ilQuestion, isPathDossier, application, handle, isPathModele.value_or(""));
  ioApplication = Variant(application);
  ioHandleLogiciel = Variant(handle);
  com::check(hr);
};

const auto QuitterParNom = [](Module& m, Variant& ioApplication, Variant& ioHandleLogiciel) {
  auto application = objet_entrant(ioApplication);
  std::int32_t handle = com::clng(ioHandleLogiciel);
  const HRESULT hr = m.Quitter(application, handle);
  ioApplication = Variant(application);
  ioHandleLogiciel = Variant(handle);
  com::check(hr);
};

template <class T>
T lu(Module& m, HRESULT (Module::*membre)(T&)) {
  T valeur{};
  com::check((m.*membre)(valeur));
  return valeur;
}

}  // namespace

const com::MemberTable& Module::members() const {
  static const com::MemberTable table =
      com::Members<Module>("Module")
          .get("BravoNuance", 0x60020000, [](Module& m) { return lu(m, &Module::BravoNuance); })
          .get("Complement", 0x60020001, [](Module& m) { return lu(m, &Module::Complement); })
          .get("CauseErreur", 0x60020002, [](Module& m) { return lu(m, &Module::CauseErreur); })
          .get("ErreurGenerale", 0x60020003, [](Module& m) { return lu(m, &Module::ErreurGenerale); })
          .method("Fermer", 0x60020004, [](Module& m) { com::check(m.Fermer()); })
          .method("InitQuestion", 0x60020005, InitQuestionParNom,
                  {"ilQuestion", "isPathDossier", "ioApplication", "ioHandleLogiciel", "isPathModele"})
          .method("Quitter", 0x60020006, QuitterParNom, {"ioApplication", "ioHandleLogiciel"})
          .method("TestePoint", 0x60020007, [](Module& m) { com::check(m.TestePoint()); });
  return table;
}

}  // namespace d72506
