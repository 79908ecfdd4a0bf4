// Application.Run of procedures kept in an open workbook's module sheet.
#include <gtest/gtest.h>

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
                           "Sub Pose(texte, cellule)", "Range(cellule).Value = texte", "End Sub"};
    int row = 1;
    for (const char* line : lines) {
      obj(obj(module).get("Cells", {Variant(row++), Variant(1)})).put("Value", Variant("'" + std::string(line)));
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

}  // namespace
}  // namespace engine::app::testing
