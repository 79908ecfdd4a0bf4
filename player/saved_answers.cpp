#include "player/saved_answers.hpp"

#include <system_error>

#include "engine/app/workbook_files.hpp"
#include "module/identity.hpp"
#include "platform/com/error.hpp"
#include "platform/excel/automation.hpp"
#include "platform/fs/path.hpp"
#include "player/exercise_files.hpp"
#include "player/messages.hpp"
#include "questions/question.hpp"
#include "questions/question_factory.hpp"

namespace d72506::player {

namespace stdfs = std::filesystem;

namespace {

// The question whose answer is a template in the course's templates folder.
constexpr std::int32_t kTemplateAnswerQuestion = 613;
// No workbook of an exercise comes near this; copying a larger file into the
// working folder would only fill the disk before the reader refused it.
constexpr std::uintmax_t kMaxAnswerSize = 512u << 20;
// Excel's own "application-defined" error, the one an unreadable file raises.
constexpr std::int32_t kFileErrorNumber = 1004;

// The working copy the question's first work file becomes, read from the
// question's own list, as the module reads it.
std::string working_name_of(std::int32_t question) {
  const auto object = std::dynamic_pointer_cast<Question>(CreeQuestion(question));
  if (!object) return {};
  return object->FichiersDeTravail()->Item(1).NomDest;
}

CallFailure file_failure(std::string description) {
  return {"open", kFileErrorNumber, "d72506", std::move(description)};
}

// GCC 12 falsely reports -Wrestrict inside std::string's char_traits when it
// inlines a string assignment or concatenation here (GCC bug 105329).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
Judgement unreadable(const stdfs::path& file, std::string reason) {
  return {file, JudgeStatus::kUnreadable, {}, file_failure("'" + file.string() + "' " + std::move(reason))};
}
#pragma GCC diagnostic pop

// Why the file cannot be taken as an answer before anything is copied;
// nullopt when it can.
std::optional<std::string> unusable(const stdfs::path& file) {
  std::error_code error;
  const stdfs::file_status status = stdfs::status(file, error);
  if (error || !stdfs::exists(status)) return "could not be found";
  if (!stdfs::is_regular_file(status)) return "is not a file";
  if (stdfs::file_size(file, error) > kMaxAnswerSize) return "is larger than any exercise workbook";
  return std::nullopt;
}

// Replaces the quoted `from` in `text` with the quoted `to`.
std::string renamed(std::string text, const std::string& from, const std::string& to) {
  const std::string quoted_from = "'" + from + "'";
  if (const auto at = text.find(quoted_from); at != std::string::npos) {
    text.replace(at, quoted_from.size(), "'" + to + "'");
  }
  return text;
}

Player registered_player(const Folder& templates, const Folder& working, const RunSetup& setup,
                         std::ostream& notes) {
  register_classes(templates.path(), setup.printer, working.path());
  return Player(setup.exercises, working.path(), notes);
}

// Excel as a trainee finds it: visible, with a blank workbook. Without
// another window, a workbook saved with its only window hidden (the answer
// to 609) would leave InitQuestion no active window to maximise.
std::shared_ptr<engine::app::Application> excel_with_blank_workbook() {
  auto excel = start_excel();
  platform::excel::Application(platform::com::Variant(excel)).Workbooks().Add();
  return excel;
}

}  // namespace

const char* status_name(JudgeStatus status) {
  switch (status) {
    case JudgeStatus::kJudged:
      return "judged";
    case JudgeStatus::kNotJudged:
      return "not-judged";
    case JudgeStatus::kUnreadable:
      return "unreadable";
    case JudgeStatus::kFailed:
      return "failed";
  }
  return "failed";
}

bool judged_from_file(std::int32_t question) { return !not_judged_reason(question, Language::kEnglish); }

SavedAnswerJudge::SavedAnswerJudge(std::int32_t question, const RunSetup& setup, std::ostream& notes)
    : question_(question),
      exercises_(setup.exercises),
      working_name_(working_name_of(question)),
      templates_(Folder::temporary("d72506-check-templates")),
      working_(Folder::temporary("d72506-check-work")),
      player_(registered_player(templates_, working_, setup, notes)),
      excel_(excel_with_blank_workbook()) {
  player_.adopt(excel_);
}

// The module did not start this Excel, so Quitter leaves it: the judge
// quits it itself.
SavedAnswerJudge::~SavedAnswerJudge() {
  player_.abandon();
  excel_->quit();
}

Judgement SavedAnswerJudge::judge(const stdfs::path& file) {
  if (!judged_from_file(question_)) return {file, JudgeStatus::kNotJudged, {}, std::nullopt};
  if (auto reason = unusable(file)) return unreadable(file, *reason);
  try {
    return judge_readable(file);
  } catch (const stdfs::filesystem_error& e) {
    // Only the trainee's file is read here; our own folders are fresh.
    return unreadable(file, "cannot be read: " + e.code().message());
  }
}

Judgement SavedAnswerJudge::judge_readable(const stdfs::path& file) {
  deliver_answer(file);
  try {
    player_.init_delivered_question(question_);
  } catch (const PlayerCallFailed& e) {
    player_.abandon();
    return failure_of(file, e.failure());
  }
  std::optional<stdfs::path> placed;
  Judgement judgement{file, JudgeStatus::kJudged, {}, std::nullopt};
  try {
    if (question_ == kTemplateAnswerQuestion) placed = place_template(file);
    judgement.verdict = player_.teste_point();
    player_.fermer();
  } catch (const PlayerCallFailed& e) {
    player_.abandon();
    judgement = {file, JudgeStatus::kFailed, {}, e.failure()};
  } catch (const platform::com::Error& e) {
    // The template that stands for 613's answer is not a workbook.
    player_.abandon();
    judgement = {file, JudgeStatus::kUnreadable, {},
                 file_failure(renamed(e.description(), file.filename().string(), file.string()))};
  }
  std::error_code ignored;
  if (placed) stdfs::remove(*placed, ignored);
  return judgement;
}

void SavedAnswerJudge::deliver_answer(const stdfs::path& file) {
  if (question_ == kTemplateAnswerQuestion) {
    deliver(question_, exercises_, working_.path());
    return;
  }
  for (const std::string& name : delivered_files(question_)) {
    stdfs::copy_file(file, working_.path() / name, stdfs::copy_options::overwrite_existing);
  }
}

stdfs::path SavedAnswerJudge::place_template(const stdfs::path& file) {
  const auto excel = player_.excel();
  const stdfs::path folder = platform::fs::host_path(excel->templates_path() + std::string(d72506::identity::kDossierModelesCours));
  const stdfs::path placed = folder / file.filename();
  stdfs::copy_file(file, placed, stdfs::copy_options::overwrite_existing);
  // The module only looks for the file; reading it is what tells a template
  // from bytes that merely bear its name. Such bytes do not stay.
  try {
    engine::app::read_workbook(placed.string());
  } catch (const platform::com::Error&) {
    std::error_code ignored;
    stdfs::remove(placed, ignored);
    throw;
  }
  return placed;
}

Judgement SavedAnswerJudge::failure_of(const stdfs::path& file, const CallFailure& failure) const {
  const std::string working_copy = "'" + working_name_ + "'";
  if (failure.number == kFileErrorNumber && failure.description.starts_with(working_copy)) {
    Judgement judgement{file, JudgeStatus::kUnreadable, {}, failure};
    judgement.failure->description = renamed(failure.description, working_name_, file.string());
    return judgement;
  }
  return {file, JudgeStatus::kFailed, {}, failure};
}

Judgement judge_saved_answer(std::int32_t question, const stdfs::path& file, const RunSetup& setup,
                             std::ostream& notes) {
  SavedAnswerJudge judge(question, setup, notes);
  return judge.judge(file);
}

}  // namespace d72506::player
