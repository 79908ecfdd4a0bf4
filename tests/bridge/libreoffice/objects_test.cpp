// The Excel members the bridge answers, driven as a trainee's statements
// drive them: typing into cells, formulas in Excel's notation, collections
// by position and name, files opened and saved by LibreOffice only where
// the run allows, the macro workbook's macros, the command bars, and an
// Excel that has quit.
#include <gtest/gtest.h>

#include <unistd.h>

#include <optional>

#include "bridge/libreoffice/objects.hpp"
#include "platform/com/apartment.hpp"
#include "platform/com/convert.hpp"
#include "platform/script/script.hpp"
#include "platform/win32/desktop.hpp"
#include "player/folder.hpp"

namespace bridge::libreoffice::testing {
namespace {

namespace com = platform::com;
namespace script = platform::script;
namespace stdfs = std::filesystem;
using d72506::player::Folder;

constexpr std::int32_t kServerUnavailable = -2147023174;

// The folder of this program, where the build put the macro workbook.
stdfs::path program_folder() { return stdfs::read_symlink("/proc/self/exe").parent_path(); }

// One LibreOffice for the suite, and statements run on it as a trainee's are.
class LiveObjects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    com::Apartment::reset();
    platform::win32::current_desktop().destroy_all();
    folder_.emplace(Folder::temporary("d72506-live-objects"));
    stdfs::create_directory(allowed());
    BridgeOptions options;
    options.office.attach_pipe.clear();
    options.writable_folders = {allowed().string()};
    app_ = Application::create(options);
  }
  static void TearDownTestSuite() {
    app_.reset();
    com::Apartment::reset();
    platform::win32::current_desktop().destroy_all();
    folder_.reset();
  }

  void SetUp() override {
    session_.emplace(Variant(std::static_pointer_cast<com::Dispatch>(app_)));
    run("Workbooks.Add");
  }
  void TearDown() override {
    run("Do While Workbooks.Count > 0: Workbooks(1).Close SaveChanges:=False: Loop");
  }

  static stdfs::path allowed() { return folder_->path() / "allowed"; }
  void run(const std::string& line) { session_->run_line(line); }
  Variant eval(const std::string& expression) { return session_->evaluate(expression); }
  std::string text(const std::string& expression) { return com::cstr(eval(expression)); }
  // The runtime number a statement stops with; 0 when it runs.
  std::int32_t error_of(const std::string& line) {
    try {
      run(line);
      return 0;
    } catch (const script::ScriptError& e) {
      return e.runtime_error() ? e.runtime_error()->number() : -1;
    }
  }

  static inline std::optional<Folder> folder_;
  static inline std::shared_ptr<Application> app_;
  std::optional<script::Session> session_;
};

TEST_F(LiveObjects, ValuesAreTypedAsExcelTakesThem) {
  run("Range(\"A1\").Value = \"'01\"");
  EXPECT_EQ(eval("Range(\"A1\").Value").type(), com::VarType::String);
  EXPECT_EQ(text("Range(\"A1\").Value"), "01") << "the apostrophe keeps text and is not part of it";
  run("Range(\"A2\").Value = \"09854895\"");
  EXPECT_EQ(eval("Range(\"A2\").Value").type(), com::VarType::Double);
  EXPECT_EQ(text("Range(\"A2\").Value"), "9854895");
  EXPECT_EQ(text("Range(\"A2\").Formula"), "9854895");
  run("Cells(3, 1).Value = 2.5");
  EXPECT_EQ(com::cdbl(eval("Range(\"A3\")")), 2.5);
  run("Range(\"B1:C2\").Value = 7");
  EXPECT_EQ(text("Range(\"C2\").Value"), "7") << "a value given to a block fills each cell";
  EXPECT_EQ(error_of("x = Range(\"B1:C2\").Value"), 1004) << "a block is not read as one value";
  run("Range(\"A4\").Value = Empty");
  EXPECT_TRUE(eval("Range(\"A4\").Value").is_empty());
}

TEST_F(LiveObjects, FormulasKeepExcelsNotationBothWays) {
  run("Range(\"A1\").Formula = \"=SUM(1,2)\"");
  EXPECT_EQ(text("Range(\"A1\").Formula"), "=SUM(1,2)");
  EXPECT_EQ(com::cdbl(eval("Range(\"A1\").Value")), 3);
  run("Range(\"A2\").Formula = \"=IF(TRUE(),\"\"a,b;c\"\",\"\"d\"\")\"");
  EXPECT_EQ(text("Range(\"A2\").Value"), "a,b;c") << "separators inside a text are the text's";
  EXPECT_EQ(text("Range(\"A2\").Formula"), "=IF(TRUE(),\"a,b;c\",\"d\")");
  run("Range(\"A3\").Value = \"=1/0\"");
  EXPECT_EQ(eval("Range(\"A3\").Value"), Variant::cell_error(com::cell_error::Div0));
  EXPECT_EQ(error_of("x = CStr(Range(\"A3\").Value)"), 13) << "an error value is no text";
  EXPECT_EQ(text("Range(\"A3\").Text"), "#DIV/0!");
  EXPECT_EQ(error_of("Range(\"A4\").Formula = \"=" + std::string(1100, '1') + "\""), 1004) << "longer than Excel takes";
}

TEST_F(LiveObjects, NotesAreReadAndWritten) {
  EXPECT_EQ(text("Range(\"F13\").NoteText"), "");
  run("Range(\"F13\").NoteText \"Ne pas supprimer\"");
  run("Range(\"F13\").NoteText \" ce commentaire.\", 17");
  EXPECT_EQ(text("Range(\"F13\").NoteText"), "Ne pas supprimer ce commentaire.");
}

TEST_F(LiveObjects, CollectionsFindItemsByPositionOrByNameInAnyCase) {
  run("ActiveSheet.Name = \"Détail\"");
  EXPECT_EQ(text("Sheets(\"DÉTAIL\").Name"), "Détail");
  EXPECT_EQ(text("Worksheets(1).Name"), "Détail");
  EXPECT_EQ(com::clng(eval("ActiveWorkbook.Sheets.Count")), 1);
  EXPECT_EQ(error_of("x = Sheets(2).Name"), 9);
  EXPECT_EQ(error_of("x = Sheets(\"absent\").Name"), 9);
  EXPECT_EQ(error_of("x = Sheets(Null).Name"), 13);
  EXPECT_EQ(error_of("x = Workbooks(\"absent.xls\").Name"), 9);
  EXPECT_EQ(text("Workbooks(1).Name"), text("ActiveWorkbook.Name"));
  EXPECT_EQ(com::clng(eval("Windows.Count")), 1);
  run("ActiveWindow.WindowState = -4137");
  EXPECT_EQ(com::clng(eval("ActiveWindow.WindowState")), -4137);
  EXPECT_EQ(error_of("Cells(65537, 1).Value = 1"), 1004) << "beyond Excel 2003's last row";
}

TEST_F(LiveObjects, WorkbooksAreSavedOnlyWhereTheRunAllowsAndOpenAgain) {
  const stdfs::path inside = allowed() / "Kept.xls";
  run("Range(\"A1\").Value = \"'0601\"");
  run("ActiveWorkbook.SaveAs \"" + inside.string() + "\"");
  ASSERT_TRUE(stdfs::exists(inside));
  EXPECT_EQ(text("ActiveWorkbook.Name"), "Kept.xls");

  const stdfs::path outside = folder_->path() / "Elsewhere.xls";
  EXPECT_EQ(error_of("ActiveWorkbook.SaveAs \"" + outside.string() + "\""), 1004);
  EXPECT_EQ(error_of("ActiveWorkbook.SaveAs \"" + (allowed() / ".." / "Up.xls").string() + "\""), 1004);
  EXPECT_FALSE(stdfs::exists(outside));
  EXPECT_FALSE(stdfs::exists(folder_->path() / "Up.xls"));

  run("Range(\"A2\").Value = 1");
  EXPECT_EQ(error_of("ActiveWorkbook.Close"), 1004) << "changes are neither dropped nor saved unasked";
  run("ActiveWorkbook.Close SaveChanges:=False");
  EXPECT_EQ(com::clng(eval("Workbooks.Count")), 0);

  // The module's paths use backslashes and may spell a name in another case.
  std::string spelled = (allowed() / "kept.XLS").string();
  std::replace(spelled.begin(), spelled.end(), '/', '\\');
  run("Workbooks.Open \"" + spelled + "\"");
  EXPECT_EQ(text("ActiveWorkbook.Name"), "Kept.xls");
  EXPECT_EQ(text("Range(\"A1\").Value"), "0601");
  EXPECT_TRUE(eval("Range(\"A2\").Value").is_empty()) << "the change was dropped";
  EXPECT_EQ(error_of("Workbooks.Open \"" + (allowed() / "absent.xls").string() + "\""), 1004);
}

TEST_F(LiveObjects, TheMacroWorkbooksMacrosMoveExcelsCurrentFolder) {
  run("Workbooks.Open \"" + (program_folder() / "X72506.xls").string() + "\"");
  const std::string folder = allowed().string();
  run("Run \"X72506.xls!module1.ChangeRep\", \"" + folder + "/\"");
  EXPECT_EQ(text("Run(\"X72506.xls!module1.GetRep\")"), folder);
  EXPECT_EQ(error_of("Run \"X72506.xls!module1.ChangeRep\", \"" + folder + "/absent\""), 76);
  EXPECT_EQ(text("Run(\"X72506.xls!module1.GetRep\")"), folder) << "a failed ChDir leaves the folder";
  EXPECT_EQ(error_of("Run \"X72506.xls!module1.Absent\""), 1004);
  run("Workbooks(\"X72506.xls\").Close SaveChanges:=False");
  EXPECT_EQ(error_of("x = Run(\"X72506.xls!module1.GetRep\")"), 1004) << "only while its workbook is open";
}

TEST_F(LiveObjects, WithoutATemplatesRootTheTemplatesFolderIsLibreOfficesOwn) {
  const std::string path = text("TemplatesPath");
  EXPECT_EQ(path.back(), '/') << "a folder ends with its separator";
  EXPECT_NE(path.find("/user/template"), std::string::npos) << path;
  EXPECT_EQ(path.rfind(stdfs::temp_directory_path().string(), 0), 0u) << "inside the private profile";
}

TEST_F(LiveObjects, CommandBarsKeepWhatTheModuleSets) {
  EXPECT_EQ(com::clng(eval("CommandBars.Count")), 5);
  run("CommandBars(\"task pane\").Visible = False");
  EXPECT_FALSE(com::cbool(eval("CommandBars(\"Task Pane\").Visible")));
  run("CommandBars(\"Standard\").Position = 3");
  EXPECT_EQ(com::clng(eval("CommandBars(2).Position")), 3);
  EXPECT_EQ(error_of("CommandBars(\"Standard\").Position = 9"), 5);
  EXPECT_EQ(error_of("x = CommandBars(6).Name"), 9);
  EXPECT_EQ(error_of("DisplayCommentIndicator = 7"), 1004);
}

BridgeOptions own_office() {
  BridgeOptions options;
  options.office.attach_pipe.clear();
  return options;
}

TEST(LiveQuit, AfterQuitEveryCallFailsAsADeadServerAndLibreOfficeEnds) {
  com::Apartment::reset();
  platform::win32::current_desktop().destroy_all();
  const std::shared_ptr<Application> app = Application::create(own_office());
  const pid_t process = app->office().process();
  app->call("Quit");
  EXPECT_NE(::kill(process, 0), 0) << "the process ended";
  try {
    app->get("Workbooks");
    ADD_FAILURE() << "a quit Excel answered";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), kServerUnavailable);
  }
  com::Apartment::reset();
}

TEST(LiveStart, ALibreOfficeThatCannotStartIsAClassThatCannotBeCreated) {
  BridgeOptions options = own_office();
  options.office.program = "d72506-no-such-office";
  try {
    Application::create(options);
    ADD_FAILURE() << "created without LibreOffice";
  } catch (const com::Error& e) {
    EXPECT_EQ(e.number(), com::err::CantCreateObject);
    EXPECT_NE(e.description().find("d72506-no-such-office"), std::string::npos) << e.description();
  }
}

TEST(LiveAttach, ALibreOfficeAlreadyListeningIsAttachedToAndLeftRunningAfterRelease) {
  com::Apartment::reset();
  platform::win32::current_desktop().destroy_all();
  const std::shared_ptr<Office> running = Office::start(own_office().office);
  {
    BridgeOptions options;
    options.office.attach_pipe = running->pipe();
    const std::shared_ptr<Application> attached = Application::create(options);
    EXPECT_EQ(attached->office().process(), -1) << "nothing started";
    attached->get("Workbooks").object()->call("Add");
    EXPECT_EQ(com::clng(attached->get("Workbooks").object()->get("Count")), 1);
    attached->get("ActiveWorkbook").object()->call("Close", {Variant(false)});
    com::Apartment::reset();
  }
  EXPECT_FALSE(running->gone()) << "a LibreOffice the bridge did not start is not ended by it";
  EXPECT_EQ(::kill(running->process(), 0), 0);
}

}  // namespace
}  // namespace bridge::libreoffice::testing
