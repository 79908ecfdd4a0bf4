// The module and its eight AbstractModule members. Each member is the COM
// member itself, its HRESULT and error information carried out unchanged.
#include "api/handles.hpp"
#include "engine/app/application.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/boundary.hpp"
#include "player/player.hpp"
#include "player/run_setup.hpp"

namespace com = platform::com;
using d72506::api::at_boundary;
using d72506::api::checked;
using d72506::api::require;

namespace {

constexpr const char* kModuleProgId = "D72506.Module";

std::string text_or(const char* text, const char* otherwise) { return text != nullptr ? text : otherwise; }

std::optional<std::filesystem::path> folder_or_none(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::filesystem::path(text);
}

// The application a caller passes in: none for a NULL handle.
std::shared_ptr<com::Dispatch> application_in(d72506_application* const* io_application) {
  if (*io_application == nullptr) return nullptr;
  return checked(*io_application, "*io_application").object;
}

// Convention 7: the handle passed in stays when the module hands back the
// same object; otherwise it is released and a new one (or NULL) replaces it.
void hand_back(d72506_application** io_application, std::shared_ptr<com::Dispatch> object) {
  d72506_application* before = *io_application;
  if (before != nullptr && before->object == object) return;
  *io_application = object ? new d72506_application(std::move(object)) : nullptr;
  delete before;
}

// A member with an in/out application: the handle's object goes in, what
// the member leaves comes back (convention 7), then its failure, if any, is
// raised with the error information it left.
template <class Member>
void with_application(d72506_application** io_application, Member&& member) {
  std::shared_ptr<com::Dispatch> application = application_in(io_application);
  const com::HRESULT status = member(application);
  const std::optional<com::ErrorInfo> info = com::take_error_info();
  hand_back(io_application, std::move(application));
  com::set_error_info(info);
  com::check(status);
}

// The working folder is named only now: the stand-in Excel the question runs
// on (the caller's or one the module started) may from now on save there.
void allow_saves_in(const std::shared_ptr<com::Dispatch>& application, const char* working_folder) {
  if (auto excel = std::dynamic_pointer_cast<engine::app::Application>(application)) {
    excel->allow_writes_in(working_folder);
  }
}

// A Boolean member, given to C as 0 or 1.
d72506_status read_flag(d72506_module* module, int* out, d72506_error** errptr,
                        com::HRESULT (d72506::Module::*member)(bool&)) {
  return at_boundary(errptr, [&] {
    auto& self = checked(module, "module");
    require(out, "out");
    bool flag = false;
    com::check(((*self.module).*member)(flag));
    *out = flag ? 1 : 0;
  });
}

}  // namespace

extern "C" {

d72506_status d72506_module_create(const char* templates_root, const char* printer, d72506_module** out,
                                   d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    require(out, "out");
    auto templates = d72506::player::Folder::named_or_temporary(folder_or_none(templates_root), "d72506-templates");
    d72506::player::register_classes(templates.path(), text_or(printer, d72506::player::kDefaultPrinter));
    auto module = std::dynamic_pointer_cast<d72506::Module>(com::Apartment::current().create_object(kModuleProgId));
    if (!module) com::raise(com::err::CantCreateObject, "d72506", std::string(kModuleProgId) + " is not the module");
    *out = new d72506_module(std::move(templates), std::move(module));
  });
}

void d72506_module_release(d72506_module* module) { d72506::api::release(module); }

d72506_status d72506_module_InitQuestion(d72506_module* module, int32_t question, const char* working_folder,
                                         d72506_application** io_application, int32_t* io_window,
                                         const char* templates_folder, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    auto& self = checked(module, "module");
    require(working_folder, "working_folder");
    require(io_application, "io_application");
    require(io_window, "io_window");
    // The module may hand back an application even when it then fails (one
    // it started): the caller gets it, to quit it.
    with_application(io_application, [&](std::shared_ptr<com::Dispatch>& application) {
      const com::HRESULT status = self.module->InitQuestion(question, working_folder, application, *io_window,
                                                            text_or(templates_folder, ""));
      allow_saves_in(application, working_folder);
      return status;
    });
  });
}

d72506_status d72506_module_TestePoint(d72506_module* module, d72506_error** errptr) {
  return at_boundary(errptr, [&] { com::check(checked(module, "module").module->TestePoint()); });
}

d72506_status d72506_module_Fermer(d72506_module* module, d72506_error** errptr) {
  return at_boundary(errptr, [&] { com::check(checked(module, "module").module->Fermer()); });
}

d72506_status d72506_module_Quitter(d72506_module* module, d72506_application** io_application, int32_t* io_window,
                                    d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    auto& self = checked(module, "module");
    require(io_application, "io_application");
    require(io_window, "io_window");
    with_application(io_application, [&](std::shared_ptr<com::Dispatch>& application) {
      return self.module->Quitter(application, *io_window);
    });
  });
}

d72506_status d72506_module_ErreurGenerale(d72506_module* module, int* out, d72506_error** errptr) {
  return read_flag(module, out, errptr, &d72506::Module::ErreurGenerale);
}

d72506_status d72506_module_CauseErreur(d72506_module* module, char** out, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    auto& self = checked(module, "module");
    require(out, "out");
    std::string cause;
    com::check(self.module->CauseErreur(cause));
    *out = d72506::api::new_text(cause);
  });
}

d72506_status d72506_module_BravoNuance(d72506_module* module, int* out, d72506_error** errptr) {
  return read_flag(module, out, errptr, &d72506::Module::BravoNuance);
}

d72506_status d72506_module_Complement(d72506_module* module, d72506_complement** out, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    auto& self = checked(module, "module");
    require(out, "out");
    std::shared_ptr<d72506::ComplementInfo> list;
    com::check(self.module->Complement(list));
    *out = list ? new d72506_complement(std::move(list)) : nullptr;
  });
}

}  // extern "C"
