// A stand-in Excel in a folder of its own, with a question's exercise files
// delivered and prepared as the module prepares them, and a script session
// on it: answers run through it, and every read the tests make goes through
// it too, by member name, as the module's checks read.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/app/application.hpp"
#include "platform/com/variant.hpp"
#include "platform/script/script.hpp"

namespace exercises::testing {

// Where the build put the delivered files, and where their sources lie.
std::filesystem::path built_file(std::string_view name);
std::filesystem::path source_file(std::string_view relative);

// The working name a question's exercise file takes in the working folder.
std::string working_name(int question);
// The file the player delivers for a question: "07250601.xls", "07250614.xlt".
std::string delivered_name(int question);

// The course's templates folder, as the module computes it.
inline constexpr const char* kCourseTemplates = "ZEQ Modèles\\";

// A folder of its own under the system's temporary folder, removed with
// everything in it at the end.
struct TemporaryFolder {
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  std::filesystem::path path;
};

class ExerciseWorld {
 public:
  ExerciseWorld();
  ExerciseWorld(const ExerciseWorld&) = delete;
  ExerciseWorld& operator=(const ExerciseWorld&) = delete;

  // What the module does before the trainee starts on `question`: the
  // delivered file renamed into place, the course's templates folder made,
  // the working copy opened and activated (question 614 opens nothing and
  // notes the latest "thor" workbook instead).
  void prepare(int question);

  // A statement or an expression on the Application, by member name; a
  // failing call raises its platform::com::Error.
  void run(std::string_view statements);
  platform::com::Variant read(std::string_view expression);
  // Runs a script file; host lines go to `on_host_line`.
  void play(const std::filesystem::path& script);
  std::function<void(std::string_view line)> on_host_line;

  engine::app::Application& application() { return *app_; }
  const std::filesystem::path& working_folder() const { return working_; }
  std::string course_templates() const;
  // The name question 614's preparation noted: the latest open "thor" workbook.
  const std::string& initial_thor_workbook() const { return initial_thor_; }

 private:
  TemporaryFolder root_;  // outlives the application and its open files
  std::filesystem::path working_;
  std::shared_ptr<engine::app::Application> app_;
  platform::script::Session session_;
  std::string initial_thor_;
};

}  // namespace exercises::testing
