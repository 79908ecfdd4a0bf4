#include "saved_answer_files.hpp"

#include <fstream>
#include <sstream>

#include "platform/script/script.hpp"
#include "player/exercise_files.hpp"
#include "player/player.hpp"
#include "player/run_setup.hpp"

namespace d72506::player::testing {

namespace stdfs = std::filesystem;

SavedAnswerFiles::SavedAnswerFiles()
    : folder_(Folder::temporary("d72506-answers-test")), templates_(Folder::temporary("d72506-answers-templates")) {}

stdfs::path SavedAnswerFiles::make(std::int32_t question, const std::string& statements,
                                   const std::string& name) const {
  register_classes(templates_.path(), kDefaultPrinter, folder_.path());
  const auto excel = start_excel();
  const stdfs::path exercise = stdfs::path(D72506_EXERCISE_FILES) / delivered_files(question).front();
  const stdfs::path saved = folder_.path() / name;
  const std::string format = name.ends_with(".xlt") ? ", FileFormat:=xlTemplate" : "";
  platform::script::Session session{platform::com::Variant(excel)};
  session.run_line("Workbooks.Open \"" + exercise.string() + "\"");
  session.run_line(statements);
  session.run_line("Workbooks(\"" + exercise.filename().string() + "\").SaveAs Filename:=\"" + saved.string() + "\"" +
                   format);
  excel->quit();
  return saved;
}

stdfs::path SavedAnswerFiles::write(const std::string& name, const std::string& bytes) const {
  const stdfs::path file = folder_.path() / name;
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

std::string contents(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace d72506::player::testing
