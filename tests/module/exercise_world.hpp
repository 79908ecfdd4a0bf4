// The world a test of the module runs in, as the course player sees it: a
// fresh apartment and desktop, the stand-in Excel registered as
// "Excel.application.11", the module registered as "D72506.Module", real
// temporary folders (working folder, templates root, the trainee's
// documents), the exercise file delivered into the working folder, and the
// macro workbook beside the test binary. The trainee acts through the
// statement language, on the Excel the module works with.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/app/application.hpp"
#include "engine/app/registration.hpp"
#include "module/module.hpp"
#include "module/registration.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/boundary.hpp"
#include "platform/com/convert.hpp"
#include "platform/script/script.hpp"
#include "platform/win32/desktop.hpp"
#include "platform/win32/window_calls.hpp"

namespace d72506::testing {

namespace stdfs = std::filesystem;
namespace com = platform::com;
namespace win32 = platform::win32;
using com::Variant;

inline constexpr const char* kNote = "Ne pas supprimer ce commentaire. Merci !";
inline constexpr const char* kWorkingCopy = "Thor International.xls";
inline constexpr const char* kDelivered = "07250601.xls";

// A folder of our own under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (stdfs::temp_directory_path() / "d72506-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    stdfs::permissions(path_, stdfs::perms::owner_all, stdfs::perm_options::add, ignored);
    stdfs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const stdfs::path& path() const { return path_; }

 private:
  stdfs::path path_;
};

// Runs statements of the macro language on an application, as a trainee or
// a setup script does.
inline void act(const Variant& application, const std::string& statements) {
  platform::script::Session(application).run_line(statements);
}

inline Variant evaluate(const Variant& application, const std::string& expression) {
  return platform::script::Session(application).evaluate(expression);
}

// The macro source the module runs to set and read Excel's current folder.
inline const std::vector<std::string>& macro_lines() {
  static const std::vector<std::string> lines = {
      "Sub ChangeRep(rep As String)", "ChDir rep", "End Sub", "Function GetRep()", "GetRep = CurDir", "End Function",
  };
  return lines;
}

inline stdfs::path binary_folder() { return stdfs::canonical("/proc/self/exe").parent_path(); }

class ExerciseWorld {
 public:
  struct Options {
    std::string printer = "HP LaserJet 4050";
  };

  ExerciseWorld() : ExerciseWorld(Options{}) {}
  explicit ExerciseWorld(Options options) {
    com::Apartment::reset();
    win32::current_desktop().destroy_all();
    stdfs::create_directories(working_path());
    stdfs::create_directories(documents());
    engine::app::ApplicationOptions excel;
    excel.templates_root = (root_.path() / "excel").string();
    excel.current_folder = documents().string();
    excel.printer = options.printer;
    engine::app::register_excel(excel);
    register_module();
    auto created = com::Apartment::current().create_object("D72506.Module");
    module = std::dynamic_pointer_cast<Module>(created);
  }

  ~ExerciseWorld() {
    module.reset();
    if (auto excel = std::dynamic_pointer_cast<engine::app::Application>(application)) excel->quit();
    application.reset();
    for (auto& app : extra_) app->quit();
    extra_.clear();
    com::Apartment::reset();
    win32::current_desktop().destroy_all();
  }

  ExerciseWorld(const ExerciseWorld&) = delete;
  ExerciseWorld& operator=(const ExerciseWorld&) = delete;

  // --- Folders ------------------------------------------------------------------
  const stdfs::path& root() const { return root_.path(); }
  stdfs::path working_path() const { return root() / "travail"; }
  // As the player passes it: ending with its separator.
  std::string working() const { return working_path().string() + "/"; }
  stdfs::path documents() const { return root() / "documents"; }
  // Excel's templates folder followed by the course's sub-folder.
  stdfs::path course_templates() const { return root() / "excel" / "Templates" / "ZEQ Modèles"; }

  // --- Excel instances outside the module's hands ---------------------------------
  // A new instance (hidden unless shown), closed with the world.
  std::shared_ptr<engine::app::Application> new_excel() {
    auto app = std::dynamic_pointer_cast<engine::app::Application>(
        com::Apartment::current().create_object("Excel.application.11"));
    extra_.push_back(app);
    return app;
  }

  // Builds a workbook with its first sheets named, the reference note on F13 of
  // the first and `setup` run on it, and saves it as `path`; the instance
  // that built it quits, so that its window is gone from the desktop.
  void build_workbook(const stdfs::path& path, const std::vector<std::string>& sheets = {"Trimestre 1", "Feuil2"},
                      const std::string& setup = "") {
    auto builder = new_excel();
    const Variant app(std::static_pointer_cast<com::Dispatch>(builder));
    act(app, "Workbooks.Add");  // three sheets, as Excel 2003 gives by default
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      act(app, "ActiveWorkbook.Sheets(" + std::to_string(i + 1) + ").Name = \"" + sheets[i] + "\"");
    }
    act(app, "ActiveWorkbook.Sheets(1).Range(\"F13\").AddComment \"" + std::string(kNote) + "\"");
    if (!setup.empty()) act(app, setup);
    act(app, "ActiveWorkbook.SaveAs \"" + path.string() + "\"");
    builder->quit();
  }

  // The exercise file of question 601 as the player delivers it.
  void deliver(const std::string& setup = "") { build_workbook(working_path() / kDelivered, {"Trimestre 1", "Feuil2"}, setup); }

  // The macro workbook beside the test binary, built once and moved into
  // place whole, so that tests running side by side never see half a file.
  void ensure_macro_workbook() {
    const stdfs::path target = binary_folder() / "X72506.xls";
    if (stdfs::exists(target)) return;
    const stdfs::path staging = binary_folder() / (".x72506-" + std::to_string(getpid()));
    stdfs::create_directories(staging);
    auto builder = new_excel();
    const Variant app(std::static_pointer_cast<com::Dispatch>(builder));
    act(app, "Workbooks.Add");
    act(app, "ActiveWorkbook.Sheets(1).Name = \"module1\"");
    for (std::size_t i = 0; i < macro_lines().size(); ++i) {
      act(app, "ActiveWorkbook.Sheets(1).Range(\"A" + std::to_string(i + 1) + "\").Value = \"" + macro_lines()[i] +
                   "\"");
    }
    act(app, "ActiveWorkbook.SaveAs \"" + (staging / "X72506.xls").string() + "\"");
    builder->quit();
    stdfs::rename(staging / "X72506.xls", target);
    stdfs::remove_all(staging);
  }

  // What the stand-in still lacks for the module to run, if anything: the
  // module sets and reads Excel's current folder through the macros, and
  // closes workbooks. Tests skip with this text rather than fake it.
  std::optional<std::string> stand_in_gap() {
    static const std::optional<std::string> gap = probe_stand_in();
    return gap;
  }

  // --- The player's side -----------------------------------------------------------
  HRESULT init(std::int32_t question = 601) {
    ensure_macro_workbook();
    return module->InitQuestion(question, working(), application, handle);
  }
  HRESULT quit() { return module->Quitter(application, handle); }

  bool general_error() {
    bool value = false;
    EXPECT_EQ(module->ErreurGenerale(value), com::S_OK);
    return value;
  }
  std::string cause() {
    std::string value;
    EXPECT_EQ(module->CauseErreur(value), com::S_OK);
    return value;
  }
  // TestePoint, then the code the player shows (general errors included).
  std::string verdict() {
    EXPECT_EQ(module->TestePoint(), com::S_OK);
    return cause();
  }

  // --- The module's Excel ---------------------------------------------------------
  engine::app::Application& excel() { return dynamic_cast<engine::app::Application&>(*application); }
  Variant app() const { return Variant(application); }
  void trainee(const std::string& statements) { act(app(), statements); }
  Variant read(const std::string& expression) { return evaluate(app(), expression); }
  std::vector<std::string> open_workbooks() {
    std::vector<std::string> names;
    for (const auto& book : excel().open_workbooks()) names.push_back(book->name());
    return names;
  }

  std::shared_ptr<Module> module;
  std::shared_ptr<com::Dispatch> application;
  std::int32_t handle = 0;

 private:
  std::optional<std::string> probe_stand_in() {
    try {
      ensure_macro_workbook();
      auto probe = new_excel();
      const Variant app(std::static_pointer_cast<com::Dispatch>(probe));
      act(app, "Workbooks.Open \"" + (binary_folder() / "X72506.xls").string() + "\"");
      act(app, "Run \"X72506.xls!module1.ChangeRep\", \"" + root().string() + "\"");
      const std::string folder = com::cstr(evaluate(app, "Run(\"X72506.xls!module1.GetRep\")"));
      act(app, "Workbooks(\"X72506.xls\").Close SaveChanges:=False");
      probe->quit();
      if (folder != root().string()) return "the stand-in's macros do not reach Excel's current folder";
      return std::nullopt;
    } catch (const std::exception& e) {
      return std::string("the stand-in cannot run the module's macros yet: ") + e.what();
    }
  }

  TempFolder root_;
  std::vector<std::shared_ptr<engine::app::Application>> extra_;
};

// The error information a failed member left for the player.
struct Failure {
  std::int32_t number = 0;
  std::string source;
  std::string description;
};

inline Failure failure_of(HRESULT hr) {
  Failure f;
  f.number = com::number_from_hresult(hr);
  if (auto info = com::take_error_info()) {
    f.source = info->source;
    f.description = info->description;
  }
  return f;
}

#define D72506_SKIP_WITHOUT_STAND_IN(world) \
  if (const auto gap = (world).stand_in_gap()) GTEST_SKIP() << *gap

// Success, or the failure's number, source and description for the message.
inline ::testing::AssertionResult succeeded(HRESULT hr) {
  if (hr == com::S_OK) return ::testing::AssertionSuccess();
  const Failure f = failure_of(hr);
  return ::testing::AssertionFailure() << "error " << f.number << " from \"" << f.source << "\": " << f.description;
}

}  // namespace d72506::testing
