// Judging a trainee's saved workbook as a question's answer. The file takes
// the place of the question's delivered exercise file in a private working
// folder, and the module runs on it as the player runs it: InitQuestion,
// TestePoint, Fermer (and Quitter when the judge is done), with an Excel the
// judge started and keeps for all its files. The pre-check and the
// question's check are the module's own; nothing here judges.
//
// For question 613 the answer is the template the trainee saved into the
// course's templates folder: the file is put there under its own name once
// the question is prepared. Questions 602 (a custom list, kept by Excel)
// and 614 (a new workbook left unsaved) have no answer in a file: they are
// reported as not judged, never given a verdict.
//
// Threads: a SavedAnswerJudge registers the classes in the apartment of the
// thread that creates it and must be used and destroyed on that thread.
// Several judges on several threads are independent.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "player/folder.hpp"
#include "player/player.hpp"
#include "player/run_setup.hpp"

namespace d72506::player {

enum class JudgeStatus {
  kJudged,      // the module gave a verdict
  kNotJudged,   // the question's answer is not in a file
  kUnreadable,  // the file cannot be used as a workbook (or is no file)
  kFailed,      // a module call failed on a readable file
};

// The status's name in reports: "judged", "not-judged", "unreadable", "failed".
const char* status_name(JudgeStatus status);

struct Judgement {
  std::filesystem::path file;  // as the caller named it
  JudgeStatus status = JudgeStatus::kJudged;
  Verdict verdict;                      // meaningful when judged
  std::optional<CallFailure> failure;   // why, when unreadable or failed
};

// False for the questions whose answer lives in Excel, not in a file.
bool judged_from_file(std::int32_t question);

class SavedAnswerJudge {
 public:
  // Registers the classes on the calling thread with the setup's printer, on
  // folders of its own (the setup's named folders are not used: judges on
  // several threads must not share them). Module notes go to `notes`.
  SavedAnswerJudge(std::int32_t question, const RunSetup& setup, std::ostream& notes);
  // Quitter, when the module still holds Excel.
  ~SavedAnswerJudge();
  SavedAnswerJudge(const SavedAnswerJudge&) = delete;
  SavedAnswerJudge& operator=(const SavedAnswerJudge&) = delete;

  // Judges one file. Never throws for anything the file holds; the trainee's
  // file itself is only read.
  Judgement judge(const std::filesystem::path& file);

 private:
  Judgement judge_readable(const std::filesystem::path& file);
  // Puts the trainee's file where the question expects its answer before
  // InitQuestion; for 613, the exercise's own files.
  void deliver_answer(const std::filesystem::path& file);
  // For 613: the file into the templates folder, after InitQuestion has
  // cleaned it. Returns where it went.
  std::filesystem::path place_template(const std::filesystem::path& file);
  // A failed InitQuestion that could not open the working copy names the
  // working copy: that is the trainee's file, unreadable.
  Judgement failure_of(const std::filesystem::path& file, const CallFailure& failure) const;

  std::int32_t question_;
  std::filesystem::path exercises_;
  std::string working_name_;  // the working copy's name ("Thor International.xls")
  Folder templates_;
  Folder working_;
  Player player_;
  // One Excel for every file, handed to each InitQuestion as a player that
  // started Excel itself hands it.
  std::shared_ptr<engine::app::Application> excel_;
};

// One file judged on the calling thread, with a judge of its own: for
// callers that judge now and then (a C interface, a test).
Judgement judge_saved_answer(std::int32_t question, const std::filesystem::path& file, const RunSetup& setup,
                             std::ostream& notes);

}  // namespace d72506::player
