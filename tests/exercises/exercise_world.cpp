#include "tests/exercises/exercise_world.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/fs/folders.hpp"
#include "platform/fs/path.hpp"

namespace exercises::testing {

namespace fs = std::filesystem;
namespace com = platform::com;

fs::path built_file(std::string_view name) { return fs::path(D72506_EXERCISE_FILES) / name; }
fs::path source_file(std::string_view relative) { return fs::path(D72506_EXERCISE_SOURCES) / relative; }

std::string working_name(int question) {
  if (question == 614) return "Thor.xlt";
  if (question == 615) return "Les Modèles.xls";
  return "Thor International.xls";
}

std::string delivered_name(int question) {
  return "07250" + std::to_string(question) + (question == 614 ? ".xlt" : ".xls");
}

namespace {

engine::app::ApplicationOptions options_in(const fs::path& root) {
  engine::app::ApplicationOptions options;
  options.templates_root = (root / "templates").string();
  options.current_folder = (root / "work").string();
  return options;
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "d72506-exercises-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

ExerciseWorld::ExerciseWorld()
    : working_((fs::create_directories(root_.path / "work"), root_.path / "work")),
      app_(engine::app::Application::create(options_in(root_.path))),
      session_(com::Variant(app_->application_ref()), [this](std::string_view line, int) {
        if (on_host_line) on_host_line(line);
      }) {}

std::string ExerciseWorld::course_templates() const { return app_->templates_path() + kCourseTemplates; }

void ExerciseWorld::prepare(int question) {
  platform::fs::MakeSureDirectoryPathExists(course_templates());
  if (question == 614) {
    fs::copy_file(built_file(delivered_name(question)), platform::fs::host_path(course_templates() + "Thor.xlt"));
    for (const auto& book : app_->open_workbooks()) {
      if (com::lcase(com::left(book->name(), 4)) == "thor") initial_thor_ = book->name();
    }
    return;
  }
  const std::string name = working_name(question);
  fs::copy_file(built_file(delivered_name(question)), working_ / name);
  run("Workbooks.Open " + quoted((working_ / name).string()));
  run("Workbooks(" + quoted(name) + ").Activate");
}

namespace {

// The error of the failing call itself, as a late-bound caller receives it.
template <class Call>
auto as_late_bound(Call call) {
  try {
    return call();
  } catch (const platform::script::ScriptError& e) {
    if (e.runtime_error()) throw *e.runtime_error();
    throw;
  }
}

}  // namespace

void ExerciseWorld::run(std::string_view statements) {
  as_late_bound([&] { session_.run_line(statements); });
}

com::Variant ExerciseWorld::read(std::string_view expression) {
  return as_late_bound([&] { return session_.evaluate(expression); });
}

void ExerciseWorld::play(const fs::path& script) {
  session_.run(platform::script::parse(read_text(script), script.filename().string()));
}

}  // namespace exercises::testing
