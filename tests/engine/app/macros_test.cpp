// Application.Run of procedures kept in an open workbook's module sheet.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "app_fixture.hpp"
#include "engine/app/macros.hpp"
#include "platform/com/convert.hpp"
#include "platform/script/budget.hpp"
#include "platform/script/script.hpp"

namespace engine::app::testing {
namespace {

class Macros : public AppTest {
 protected:
  Macros() {
    book = workbooks()->call("Add").object();
    auto module = obj(book->get("Sheets")).call("Add");
    obj(module).put("Name", Variant("module1"));
    const char* lines[] = {"Function Twice(ByVal x As Double)", "Twice = x * 2", "End Function",
                           "Sub Pose(texte, cellule)", "Range(cellule).Value = texte", "End Sub",
                           "Sub ChangeRep(ByVal rep As String)", "    ChDir rep", "End Sub",
                           "Function GetRep() As String", "    GetRep = CurDir", "End Function",
                           // a parameter named like an Application member, CurDir with parentheses
                           "Private Function Dossier(ByVal Name As String) As String",
                           "    Dossier = CurDir() & \"|\" & Name", "End Function"};
    int row = 1;
    for (const char* line : lines) {
      std::string text = "'";  // appended: GCC 12's release build misreads "'" + line as an overlapping copy
      text += line;
      obj(obj(module).get("Cells", {Variant(row++), Variant(1)})).put("Value", Variant(text));
    }
    obj(book->get("Sheets", {Variant("Feuil1")})).call("Activate");
  }
  std::shared_ptr<Dispatch> book;
};

TEST_F(Macros, NamesSplitIntoWorkbookModuleAndProcedure) {
  MacroName name = parse_macro_name("'X72506.xls'!module1.ChangeRep");
  EXPECT_EQ(name.workbook, "X72506.xls");
  EXPECT_EQ(name.module, "module1");
  EXPECT_EQ(name.procedure, "ChangeRep");
  name = parse_macro_name("GetRep");
  EXPECT_EQ(name.workbook, "");
  EXPECT_EQ(name.module, "");
}

TEST_F(Macros, RunPassesArgumentsAndReturnsAFunctionsResult) {
  EXPECT_EQ(platform::com::cdbl(app->call("Run", {Variant("Classeur1!Module1.Twice"), Variant(21)})), 42.0);
  app->call("Run", {Variant("classeur1!module1.pose"), Variant("bonjour \"à tous\""), Variant("B2")});
  EXPECT_EQ(obj(app->get("Range", {Variant("B2")})).get("Value"), Variant("bonjour \"à tous\""));
}

TEST_F(Macros, MissingMacroOrClosedWorkbookCannotBeFound) {
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("Classeur1!module1.Absente")}); }), 1004);
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("X72506.xls!module1.Twice"), Variant(1)}); }), 1004);
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("Classeur1!module1.Twice")}); }), 450);
  book->call("Close", {Variant(false)});
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("Classeur1!module1.Twice"), Variant(1)}); }), 1004);
}

TEST_F(Macros, FolderMacrosSetAndReadExcelsCurrentFolder) {
  book->call("SaveAs", {Variant(folder + "/Book.xls")});
  const std::string target = folder + "/Dossier \xC3\xA9l\xC3\xA8ve \"1\"";
  std::filesystem::create_directories(target);

  app->call("Run", {Variant("Book.xls!module1.ChangeRep"), Variant(target + "/")});
  EXPECT_EQ(app->current_folder(), target);
  EXPECT_EQ(app->call("Run", {Variant("Book.xls!module1.GetRep")}), Variant(target));
  EXPECT_EQ(app->call("Run", {Variant("Book.xls!module1.Dossier"), Variant("x")}), Variant(target + "|x"));

  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("Book.xls!module1.ChangeRep"), Variant(folder + "/absent")}); }),
            76);
  EXPECT_EQ(app->current_folder(), target);

  book->call("Close", {Variant(false)});
  try {
    app->call("Run", {Variant("Book.xls!module1.GetRep")});
    FAIL() << "ran with its workbook closed";
  } catch (const platform::com::Error& e) {
    EXPECT_EQ(e.number(), 1004);
    EXPECT_NE(e.description().find("cannot be found"), std::string::npos) << e.description();
  }
}

TEST_F(Macros, ParametersTakeTheirDeclaredTypes) {
  // Text goes into a Double parameter only when it reads as a number.
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("Classeur1!Module1.Twice"), Variant("deux")}); }), 13);
  EXPECT_EQ(platform::com::cdbl(app->call("Run", {Variant("Classeur1!Module1.Twice"), Variant("21")})), 42.0);
}

// Macros that run themselves, and module lines that are no procedure's
// header though they look like one.
class HostileMacros : public Macros {
 protected:
  // Puts `lines` in column A of module2 from row 1.
  void module2(const std::vector<std::string>& lines) {
    auto module = obj(book->get("Sheets")).call("Add");
    obj(module).put("Name", Variant("module2"));
    int row = 1;
    for (const std::string& line : lines) {
      obj(obj(module).get("Cells", {Variant(row++), Variant(1)})).put("Value", Variant("'" + line));
    }
    obj(book->get("Sheets", {Variant("Feuil1")})).call("Activate");
  }

  // The runtime error a trainee's `source` stops with, run on the application.
  platform::script::ScriptError trainee_failure(const std::string& source) {
    try {
      platform::script::run(platform::script::parse(source, "trainee.bas"), Variant(app));
    } catch (const platform::script::ScriptError& e) {
      return e;
    }
    ADD_FAILURE() << "ran without an error";
    return platform::script::ScriptError(platform::script::ScriptError::Kind::Syntax, {}, 0, {}, {});
  }
};

TEST_F(HostileMacros, AMacroThatRunsItselfEndsWithOutOfStackSpace) {
  module2({"Sub Boucle()", "Application.Run \"Boucle\"", "End Sub",  //
           "Sub Ping()", "Application.Run \"Pong\"", "End Sub",   //
           "Sub Pong()", "Run \"Ping\"", "End Sub"});
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("Boucle")}); }), 28);
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("Ping")}); }), 28);
  const auto e = trainee_failure("x = 1\nApplication.Run \"Classeur1!module2.Boucle\"");
  EXPECT_EQ(e.line(), 2);
  EXPECT_EQ(e.problem(), "error 28: Out of stack space");
  // Afterwards nothing is left nested: an ordinary macro runs.
  EXPECT_EQ(platform::com::cdbl(app->call("Run", {Variant("Twice"), Variant(4)})), 8.0);
}

TEST_F(HostileMacros, ARecursionThatTrapsItsErrorUnwindsAndEnds) {
  module2({"Sub Piege()", "On Error Resume Next", "Application.Run \"Piege\"", "If Err.Number <> 0 Then Range(\"C1\").Value = Err.Number",
           "End Sub"});
  app->call("Run", {Variant("Piege")});
  EXPECT_EQ(obj(app->get("Range", {Variant("C1")})).get("Value"), Variant(28.0));
}

TEST_F(HostileMacros, LinesThatOnlyLookLikeHeadersAreReadInOnePass) {
  const std::string spaces(30000, ' ');
  module2({spaces, "Sub R(" + std::string(32000, 'x'), "Function F(" + std::string(30000, '('),
           "Sub " + std::string(30000, 'y') + "(", "Sub S(a" + std::string(20000, ' ') + ", b As Excel.Range"});
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("x")}); }), 1004);
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("R")}); }), 1004);
  EXPECT_EQ(error_of([&] { app->call("Run", {Variant("S"), Variant(1), Variant(2)}); }), 1004);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

TEST_F(HostileMacros, HeadersReadWithTheirWordsSpacedAndCased) {
  module2({"  public   sub   Espaces  (  ByVal a   As String ,  Optional  b  ) ' deux cellules", "Range(b).Value = a",
           "end sub", "FUNCTION Liste(v()) as excel.Range", "Liste = UBound(v)", "End Function"});
  app->call("Run", {Variant("Espaces"), Variant("mot"), Variant("D4")});
  EXPECT_EQ(obj(app->get("Range", {Variant("D4")})).get("Value"), Variant("mot"));
  Procedure found;
  ASSERT_TRUE(find_procedure({"FUNCTION Liste(v(), ByRef w As Long) as excel.Range", "End Function"}, "liste", found));
  EXPECT_TRUE(found.is_function);
  EXPECT_EQ(found.result_type, "Range");
  ASSERT_EQ(found.parameters.size(), 2u);
  EXPECT_EQ(found.parameters[0].name, "v");
  EXPECT_EQ(found.parameters[0].type, "");
  EXPECT_EQ(found.parameters[1].name, "w");
  EXPECT_EQ(found.parameters[1].type, "Long");
  EXPECT_FALSE(find_procedure({"Sub Liste", "End Sub"}, "Liste", found));      // no parentheses
  EXPECT_FALSE(find_procedure({"Subway Liste()", "End Sub"}, "Liste", found));  // not the keyword
}

TEST_F(HostileMacros, AMacroThatNeverEndsStopsAtTheTraineesBudget) {
  module2({"Sub SansFin()", "x = 1", "For i = 1 To 2 Step 0", "Next", "End Sub"});
  const platform::script::Budget::Scope scope(
      std::make_shared<platform::script::Budget>(platform::script::Limits{std::chrono::milliseconds(50)}));
  const auto e = trainee_failure("On Error Resume Next\nApplication.Run \"module2.SansFin\"");
  EXPECT_EQ(e.kind(), platform::script::ScriptError::Kind::Budget);
  EXPECT_EQ(e.line(), 2);
  EXPECT_EQ(e.problem(),
            "stopped: the statements ran longer than their time budget of 0.05 s (in module2.SansFin, line 2)");
}

}  // namespace
}  // namespace engine::app::testing
