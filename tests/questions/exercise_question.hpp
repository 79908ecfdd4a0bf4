// A question object prepared on the exercise file the player delivers for
// it, in a real working folder, with the stand-in Excel; the trainee acts
// through statements and the check is driven by member name, as the
// controller drives it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "questions/question_factory.hpp"
#include "tests/module/exercise_world.hpp"

namespace d72506::testing {

// The built exercise file of a question ("07250603.xls"; 614's is a template).
inline stdfs::path delivered_file(std::int32_t question) {
  return stdfs::path(D72506_EXERCISE_FILES) / ("07250" + std::to_string(question) + (question == 614 ? ".xlt" : ".xls"));
}

class ExerciseQuestion : public ::testing::Test {
 protected:
  // The delivered file goes into the working folder under `working_name`;
  // an empty name delivers nothing (a question whose file is a template).
  explicit ExerciseQuestion(std::int32_t number, std::string working_name = kWorkingCopy)
      : number_(number), working_name_(std::move(working_name)) {}

  void SetUp() override {
    D72506_SKIP_WITHOUT_STAND_IN(world);
    if (!working_name_.empty()) stdfs::copy_file(delivered_file(number_), world.working_path() / working_name_);
    excel = world.new_excel();
    excel->set_visible(true);
    templates = com::cstr(evaluate(app(), "Application.TemplatesPath")) + "ZEQ Modèles\\";
    stdfs::create_directories(world.course_templates());
    question = CreeQuestion(number_);
    ASSERT_NE(question, nullptr);
  }

  Variant app() const { return Variant(std::static_pointer_cast<com::Dispatch>(excel)); }

  void prepare(const std::string& templates_folder) {
    Variant args[] = {app(), Variant(world.working()), Variant(templates_folder)};
    question->invoke("Prepare", com::CallKind::Method, args);
  }
  void prepare() { prepare(templates); }

  std::string check() {
    question->call("TestePoint");
    return com::cstr(question->get("CauseErreur"));
  }

  // The cause code after the trainee's statements and a check.
  std::string check_after(const std::string& statements) {
    if (!statements.empty()) act(app(), statements);
    return check();
  }

  com::Error check_failure() {
    try {
      question->call("TestePoint");
    } catch (const com::Error& e) {
      return e;
    }
    ADD_FAILURE() << "the check did not fail";
    return com::Error(0);
  }

  // The report's source text begins with the class and the method.
  static bool reported_by(const com::Error& e, const std::string& klass, const std::string& method) {
    return e.source().rfind("DLL D72506 - CLASSE " + klass + "\n\r - SERVICE " + method + " - OBJET ", 0) == 0;
  }

  ExerciseWorld world;
  std::shared_ptr<engine::app::Application> excel;
  std::shared_ptr<com::Dispatch> question;
  // The course's templates folder, as the module computes it.
  std::string templates;

 private:
  std::int32_t number_;
  std::string working_name_;
};

}  // namespace d72506::testing
