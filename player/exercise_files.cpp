#include "player/exercise_files.hpp"

#include "host/installation.hpp"
#include "player/question_number.hpp"

namespace d72506::player {

namespace stdfs = std::filesystem;

namespace {

// The only question whose delivered file is a template.
constexpr std::int32_t kTemplateQuestion = 614;

}  // namespace

std::vector<std::string> delivered_files(std::int32_t question) {
  if (question < kFirstQuestion || question > kLastQuestion) return {};
  // The course's code "0725" and the question's four digits ("0601").
  return {"07250" + std::to_string(question) + (question == kTemplateQuestion ? ".xlt" : ".xls")};
}

std::optional<stdfs::path> default_exercises_folder() {
  std::error_code error;
  // The binary holding this code: the command, or the library a player loaded.
  const stdfs::path here = DossierBinaire();
  const std::string probe = delivered_files(kFirstQuestion).front();
  for (const stdfs::path& candidate :
       {here / "exercises", here.parent_path() / "exercises", DossierDonneesInstallees() / "exercises"}) {
    if (stdfs::is_regular_file(candidate / probe, error)) return candidate;
  }
  return std::nullopt;
}

std::vector<std::string> deliver(std::int32_t question, const stdfs::path& exercises, const stdfs::path& working) {
  std::vector<std::string> missing;
  for (const std::string& name : delivered_files(question)) {
    std::error_code error;
    if (!stdfs::is_regular_file(exercises / name, error)) {
      missing.push_back(name);
      continue;
    }
    stdfs::copy_file(exercises / name, working / name, stdfs::copy_options::overwrite_existing);
  }
  return missing;
}

}  // namespace d72506::player
