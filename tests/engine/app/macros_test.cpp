// Application.Run of procedures kept in an open workbook's module sheet.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_fixture.hpp"
#include "engine/app/macros.hpp"
#include "platform/com/convert.hpp"

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

}  // namespace
}  // namespace engine::app::testing
