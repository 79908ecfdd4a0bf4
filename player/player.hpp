// The course player's side of a question run. It creates "D72506.Module"
// through the thread's class registry, delivers a question's files, and
// makes the module's calls through its COM-shaped interface, reading a
// failed call's error information as a player does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/app/application.hpp"
#include "module/module.hpp"
#include "platform/com/dispatch.hpp"
#include "player/run_setup.hpp"

namespace d72506::player {

// The folders a run's Excel may save under: the templates root and, when
// known, the working folder.
std::vector<std::string> writable_folders(const std::filesystem::path& templates_root,
                                          const std::filesystem::path& working_folder);

// Registers the stand-in Excel ("Excel.application.11"), whose templates
// folder lies under `templates_root` and
// whose default printer is `printer` (none when empty), and "D72506.Module"
// in the calling thread's class registry. That Excel saves workbooks only
// under `templates_root` and `working_folder`; a caller that learns of the
// working folder later (a C caller names it at InitQuestion) adds it to the
// Excel then.
void register_classes(const std::filesystem::path& templates_root, const std::string& printer,
                      const std::filesystem::path& working_folder = {});

// A visible stand-in Excel of the caller's own, created through the calling
// thread's class registry (the classes must be registered), for a player
// that starts Excel itself and hands it to InitQuestion.
std::shared_ptr<engine::app::Application> start_excel();

// The same for whichever Excel is registered (the stand-in or LibreOffice):
// the application, made visible through its own Visible, and its main window.
struct StartedExcel {
  std::shared_ptr<platform::com::Dispatch> application;
  std::int32_t window = 0;
};
StartedExcel start_registered_excel();

// What the player reads after TestePoint.
struct Verdict {
  std::int32_t question = 0;  // the question InitQuestion last prepared
  bool erreur_generale = false;
  std::string cause_erreur;
  bool bravo_nuance = false;
  std::vector<std::string> complement;  // none when the module gives no list
};

// A module call that failed, with the error information it left.
struct CallFailure {
  std::string call;  // "InitQuestion", "TestePoint", ...
  std::int32_t number = 0;
  std::string source;
  std::string description;
};

class PlayerCallFailed : public std::runtime_error {
 public:
  explicit PlayerCallFailed(CallFailure failure);
  const CallFailure& failure() const { return failure_; }

 private:
  CallFailure failure_;
};

class Player {
 public:
  // Creates the module; the classes must be registered. Files are delivered
  // from `exercises` into `working_folder`; a file missing from `exercises`
  // is noted on `notes`.
  Player(std::filesystem::path exercises, std::filesystem::path working_folder, std::ostream& notes);

  // Hands an Excel of the player's own to the next InitQuestion, as a player
  // that started Excel itself does.
  void adopt(std::shared_ptr<engine::app::Application> excel);
  void adopt(const StartedExcel& excel);

  // Delivers the question's files, then InitQuestion.
  void init_question(std::int32_t question);
  // InitQuestion on files the caller has put in the working folder.
  void init_delivered_question(std::int32_t question);
  // TestePoint, then the four reads.
  Verdict teste_point();
  // The same calls one by one, as a player that reads what it needs makes
  // them; the complement is none when the module gives no list.
  void call_teste_point();
  bool read_erreur_generale();
  std::string read_cause_erreur();
  bool read_bravo_nuance();
  std::optional<std::vector<std::string>> read_complement();
  void fermer();
  void quitter();
  // The calls a run still owes the module: Fermer while a question is
  // live, then Quitter once InitQuestion has been called.
  void finish();
  // The same after a failure: each owed call is made, their errors ignored,
  // since the failure already reported is the one that matters.
  void abandon() noexcept;

  bool question_live() const { return question_live_; }
  // The number of the last InitQuestion; 0 before the first.
  std::int32_t question() const { return question_; }
  // The Excel InitQuestion handed back (or the adopted one); null when none.
  std::shared_ptr<platform::com::Dispatch> application() const { return application_; }
  // Excel's main window as InitQuestion or Quitter handed it back.
  std::int32_t window() const { return handle_; }
  // The same as the stand-in itself, for the world's actions; null when the
  // application is none or not the stand-in.
  std::shared_ptr<engine::app::Application> excel() const;

 private:
  std::filesystem::path exercises_;
  std::filesystem::path working_folder_;
  std::ostream& notes_;
  std::shared_ptr<Module> module_;
  std::shared_ptr<platform::com::Dispatch> application_;
  std::int32_t handle_ = 0;
  std::int32_t question_ = 0;
  bool question_live_ = false;
  bool attached_ = false;  // InitQuestion was called and Quitter not since
};

}  // namespace d72506::player
