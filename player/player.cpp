#include "player/player.hpp"

#include "player/exercise_files.hpp"
#include "engine/app/registration.hpp"
#include "module/registration.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/boundary.hpp"
#include "platform/win32/window_calls.hpp"

namespace d72506::player {

namespace com = platform::com;
namespace stdfs = std::filesystem;

namespace {

constexpr const char* kModuleProgId = "D72506.Module";
constexpr const char* kExcelProgId = "Excel.application.11";

std::string describe(const CallFailure& f) {
  return f.call + " failed: error " + std::to_string(f.number) + ": " + f.description;
}

// A failed HRESULT becomes PlayerCallFailed with what the module left in the
// thread's error-info slot.
void check_call(const char* call, com::HRESULT hr) {
  if (hr >= 0) return;
  CallFailure failure{call, com::number_from_hresult(hr), {}, {}};
  if (auto info = com::take_error_info()) {
    failure.source = std::move(info->source);
    failure.description = std::move(info->description);
  }
  if (failure.description.empty()) failure.description = com::default_description(failure.number);
  throw PlayerCallFailed(std::move(failure));
}

// A player's message loop turns between its calls: what the world did
// meanwhile (an application that crashed takes its window with it) is
// settled before the module looks.
void let_messages_through() { com::Apartment::current().yield_once(); }

std::vector<std::string> lines_of(const ComplementInfo* list) {
  std::vector<std::string> lines;
  if (list == nullptr) return lines;
  for (std::int32_t i = 1; i <= list->count(); ++i) lines.push_back(list->item(i));
  return lines;
}

}  // namespace

std::vector<std::string> writable_folders(const stdfs::path& templates_root, const stdfs::path& working_folder) {
  std::vector<std::string> writable{templates_root.string()};
  if (!working_folder.empty()) writable.push_back(working_folder.string());
  return writable;
}

void register_classes(const stdfs::path& templates_root, const std::string& printer,
                      const stdfs::path& working_folder) {
  engine::app::ApplicationOptions options;
  options.templates_root = templates_root.string();
  options.printer = printer;
  options.writable_folders = writable_folders(templates_root, working_folder);
  engine::app::register_excel(std::move(options));
  register_module();
}

std::shared_ptr<engine::app::Application> start_excel() {
  auto excel = std::dynamic_pointer_cast<engine::app::Application>(com::Apartment::current().create_object(kExcelProgId));
  if (!excel) throw std::logic_error(std::string(kExcelProgId) + " is not the stand-in");
  excel->set_visible(true);
  return excel;
}

StartedExcel start_registered_excel() {
  StartedExcel started{com::Apartment::current().create_object(kExcelProgId), 0};
  started.application->put("Visible", com::Variant(true));
  started.window = static_cast<std::int32_t>(platform::win32::FindWindowA("XLMAIN", nullptr));
  return started;
}

PlayerCallFailed::PlayerCallFailed(CallFailure failure)
    : std::runtime_error(describe(failure)), failure_(std::move(failure)) {}

Player::Player(stdfs::path exercises, stdfs::path working_folder, std::ostream& notes)
    : exercises_(std::move(exercises)), working_folder_(std::move(working_folder)), notes_(notes) {
  module_ = std::dynamic_pointer_cast<Module>(com::Apartment::current().create_object(kModuleProgId));
  if (!module_) throw std::logic_error(std::string(kModuleProgId) + " is not the module's class");
}

void Player::adopt(std::shared_ptr<engine::app::Application> excel) {
  handle_ = static_cast<std::int32_t>(excel->main_window());
  application_ = std::move(excel);
}

void Player::adopt(const StartedExcel& excel) {
  handle_ = excel.window;
  application_ = excel.application;
}

void Player::init_question(std::int32_t question) {
  for (const std::string& name : deliver(question, exercises_, working_folder_)) {
    notes_ << "d72506: " << name << " is not in " << exercises_.string() << "; not delivered\n";
  }
  init_delivered_question(question);
}

void Player::init_delivered_question(std::int32_t question) {
  // The module builds paths by concatenation: the folder ends with its separator.
  const std::string folder = (working_folder_ / "").string();
  question_live_ = false;
  attached_ = true;
  question_ = question;
  let_messages_through();
  check_call("InitQuestion", module_->InitQuestion(question, folder, application_, handle_));
  question_live_ = true;
}

Verdict Player::teste_point() {
  call_teste_point();
  Verdict verdict;
  verdict.question = question_;
  verdict.erreur_generale = read_erreur_generale();
  verdict.cause_erreur = read_cause_erreur();
  verdict.bravo_nuance = read_bravo_nuance();
  verdict.complement = read_complement().value_or(std::vector<std::string>{});
  return verdict;
}

void Player::call_teste_point() {
  let_messages_through();
  check_call("TestePoint", module_->TestePoint());
}

bool Player::read_erreur_generale() {
  bool erreur = false;
  check_call("ErreurGenerale", module_->ErreurGenerale(erreur));
  return erreur;
}

std::string Player::read_cause_erreur() {
  std::string cause;
  check_call("CauseErreur", module_->CauseErreur(cause));
  return cause;
}

bool Player::read_bravo_nuance() {
  bool nuance = false;
  check_call("BravoNuance", module_->BravoNuance(nuance));
  return nuance;
}

std::optional<std::vector<std::string>> Player::read_complement() {
  std::shared_ptr<ComplementInfo> complement;
  check_call("Complement", module_->Complement(complement));
  if (!complement) return std::nullopt;
  return lines_of(complement.get());
}

void Player::fermer() {
  // Whatever Fermer answers, the question is no longer the player's.
  question_live_ = false;
  let_messages_through();
  check_call("Fermer", module_->Fermer());
}

void Player::quitter() {
  question_live_ = false;
  attached_ = false;
  let_messages_through();
  check_call("Quitter", module_->Quitter(application_, handle_));
}

void Player::finish() {
  if (question_live_) fermer();
  if (attached_) quitter();
}

void Player::abandon() noexcept {
  try {
    if (question_live_) fermer();
  } catch (const std::exception&) {
  }
  try {
    if (attached_) quitter();
  } catch (const std::exception&) {
  }
}

std::shared_ptr<engine::app::Application> Player::excel() const {
  return std::dynamic_pointer_cast<engine::app::Application>(application_);
}

}  // namespace d72506::player
