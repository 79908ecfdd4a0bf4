// Scripts run against the fake Application: the statement forms the
// trainee's side and the exercise sources use, and how failures stop them.
#include <gtest/gtest.h>

#include <utility>

#include "platform/script/script.hpp"
#include "tests/platform/script/fake_application.hpp"

namespace platform::script {
namespace {

using com::Variant;
using testing::Application;

class RunTest : public ::testing::Test {
 protected:
  void run_script(std::string_view source) { run(parse(source, "test.bas"), app, host()); }

  HostCallback host() {
    return [this](std::string_view line, int number) { host_lines.emplace_back(std::string(line), number); };
  }

  // The error running `source` stops with; fails the test when it runs through.
  ScriptError failure(std::string_view source) {
    try {
      run_script(source);
    } catch (const ScriptError& e) {
      return e;
    }
    ADD_FAILURE() << "ran without an error: " << source;
    return ScriptError(ScriptError::Kind::Syntax, {}, 0, {}, {});
  }

  Variant cell(const std::string& address) { return app->sheet->cells[address]; }

  std::shared_ptr<Application> app = std::make_shared<Application>();
  std::vector<std::pair<std::string, int>> host_lines;
};

TEST_F(RunTest, PropertyAssignmentThroughChainsAndDefaultMembers) {
  run_script(
      "Range(\"D1\").Value = \"'09854895\"\n"
      "ActiveSheet.Range(\"A1\") = 5\n"          // the default member takes the value
      "ActiveSheet.Name = \"Trimestre \" & 2\n"
      "Application.DisplayAlerts = False\n");
  EXPECT_EQ(cell("D1"), Variant("'09854895"));
  EXPECT_EQ(cell("A1"), Variant(std::int16_t{5}));
  EXPECT_EQ(app->sheet->name, "Trimestre 2");
  EXPECT_FALSE(app->display_alerts);
}

TEST_F(RunTest, ReadingAnObjectAsAValueTakesItsDefaultMember) {
  app->sheet->cells["A1"] = 7.5;
  Session s(app);
  s.run(parse("x = Range(\"A1\")\nSet r = Range(\"A1\")\nRange(\"B1\").Value = Range(\"A1\") * 2"));
  EXPECT_EQ(s.variable("x"), Variant(7.5));
  ASSERT_TRUE(s.variable("r")->is_object());
  EXPECT_EQ(s.variable("r")->object()->type_name(), "Range");
  EXPECT_EQ(cell("B1"), Variant(15.0));
}

TEST_F(RunTest, CallsWithNamedPositionalAndOmittedArguments) {
  app->workbooks->add("Thor International.xls");
  app->workbooks->books[0]->name = "Thor International.xls";
  run_script("Workbooks(\"Thor International.xls\").Close SaveChanges:=False\n");
  EXPECT_EQ(app->workbooks->books[0]->log, "Close(False,-)");

  run_script("Workbooks(1).Close , \"a.xls\"");
  EXPECT_EQ(app->workbooks->books[0]->log, "Close(-,a.xls)");

  run_script("Call Workbooks(1).SaveAs(\"/tmp/x/Thor.xlt\", FileFormat:=xlTemplate)");
  EXPECT_EQ(app->workbooks->books[0]->log, "SaveAs(/tmp/x/Thor.xlt,17)");

  run_script("Workbooks(1).SaveAs Filename:=\"b.xls\"");
  EXPECT_EQ(app->workbooks->books[0]->log, "SaveAs(b.xls,-)");

  run_script("Application.AddCustomList ListArray:=Array(\"Espa\xC3\xB1" "a\", \"France.\", \"UK\")\nCalculate");
  ASSERT_EQ(app->custom_lists.size(), 1u);
  EXPECT_EQ(app->custom_lists[0], "Espa\xC3\xB1" "a|France.|UK");
  EXPECT_EQ(app->calculations, 1);
}

TEST_F(RunTest, ParenthesisedFirstArgumentIsNotAnArgumentList) {
  app->workbooks->add(std::nullopt);
  run_script("Workbooks(1).SaveAs (\"a\") & \".xls\", 17");
  EXPECT_EQ(app->workbooks->books[0]->log, "SaveAs(a.xls,17)");
}

TEST_F(RunTest, SetKeepsTheObjectAndMethodsReturnObjects) {
  Session s(app);
  s.run(parse("Set wb = Workbooks.Add(Template:=\"/path/Thor.xlt\")\nn = wb.Name\nc = Workbooks.Count"));
  EXPECT_EQ(s.variable("n"), Variant("From /path/Thor.xlt"));
  EXPECT_EQ(s.variable("c"), Variant(std::int32_t{1}));
  EXPECT_TRUE(s.evaluate("wb Is Workbooks(1)").bool_value());
}

TEST_F(RunTest, NestedWithBlocksResolveLeadingDotsToTheInnermost) {
  run_script(
      "With ActiveSheet\n"
      "  .Name = \"Outer\"\n"
      "  With .PageSetup\n"
      "      .Orientation = xlLandscape\n"
      "      .CenterHorizontally = True\n"
      "  End With\n"
      "  .Range(\"A2\").Value = .Name\n"
      "End With\n"
      "With Range(\"C3\"): .Value = 3: End With");
  EXPECT_EQ(app->sheet->name, "Outer");
  EXPECT_EQ(app->sheet->page_setup->orientation, 2);
  EXPECT_TRUE(app->sheet->page_setup->center);
  EXPECT_EQ(cell("A2"), Variant("Outer"));
  EXPECT_EQ(cell("C3"), Variant(std::int16_t{3}));
}

TEST_F(RunTest, RuntimeErrorNamesLineTextAndError) {
  const ScriptError e = failure("x = 1\n\n  Range(\"Z0\").Value = 1  ' a bad cell\ny = 2");
  EXPECT_EQ(e.kind(), ScriptError::Kind::Runtime);
  EXPECT_EQ(e.line(), 3);
  ASSERT_TRUE(e.runtime_error());
  EXPECT_EQ(e.runtime_error()->number(), 1004);
  EXPECT_STREQ(e.what(),
               "test.bas: line 3: Range(\"Z0\").Value = 1  ' a bad cell: error 1004: "
               "Application-defined or object-defined error");
}

TEST_F(RunTest, ErrorsOfTheObjectModelKeepTheirNumbers) {
  EXPECT_EQ(failure("Workbooks(3).Close").runtime_error()->number(), 9);
  EXPECT_EQ(failure("ActiveSheet.Nonsense = 1").runtime_error()->number(), 438);
  EXPECT_EQ(failure("Workbooks.Add Tempate:=\"x\"").runtime_error()->number(), 448);
  EXPECT_EQ(failure("Set x = Nothing\nx.Name = 1").runtime_error()->number(), 91);
  EXPECT_EQ(failure("Set x = 5").runtime_error()->number(), 424);
  EXPECT_EQ(failure("x = 1 / 0").runtime_error()->number(), 11);
}

TEST_F(RunTest, ContinuedStatementReportsItsFirstLineAndWholeText) {
  const ScriptError e = failure("y = 1\nRange(\"A1\").Value = _\n   1 / 0");
  EXPECT_EQ(e.line(), 2);
  EXPECT_EQ(e.text(), "Range(\"A1\").Value = 1 / 0");
}

TEST_F(RunTest, OnErrorResumeNextSkipsFailingStatementsUntilGoToZero) {
  const ScriptError e = failure(
      "On Error Resume Next\n"
      "Range(\"Z0\").Value = 1\n"
      "Range(\"A1\").Value = 1 / 0\n"
      "With Workbooks(9)\n"
      "  .Close\n"
      "  Range(\"B1\").Value = \"inside\"\n"
      "End With\n"
      "Range(\"C1\").Value = \"after\"\n"
      "On Error GoTo 0\n"
      "Range(\"Z0\").Value = 2\n");
  EXPECT_EQ(e.line(), 10);
  EXPECT_TRUE(cell("A1").is_empty());
  EXPECT_EQ(cell("B1"), Variant("inside"));
  EXPECT_EQ(cell("C1"), Variant("after"));
}

TEST_F(RunTest, ResumeNextDoesNotHideMistakesInTheScriptItself) {
  EXPECT_EQ(failure("On Error Resume Next\nRnage(\"A1\").Value = 1").kind(), ScriptError::Kind::Refused);
  EXPECT_EQ(failure("On Error Resume Next\nMsgBox \"hello\"").kind(), ScriptError::Kind::Refused);
  const ScriptError e = failure("x = Undefined + 1");
  EXPECT_NE(std::string(e.what()).find("unknown name 'Undefined'"), std::string::npos) << e.what();
}

TEST_F(RunTest, HostLinesReachTheCallbackInOrderWithTheirLineNumbers) {
  run_script("Range(\"D1\").Value = 1\n   #edit D1  \nWith ActiveSheet\n#dialog Title\nEnd With\n#check");
  const std::vector<std::pair<std::string, int>> expected = {{"edit D1", 2}, {"dialog Title", 4}, {"check", 6}};
  EXPECT_EQ(host_lines, expected);
}

TEST_F(RunTest, HostErrorsStopTheScriptAtTheirLine) {
  Session s(app, [](std::string_view, int) { com::raise(com::err::ApplicationDefined); });
  try {
    s.run(parse("x = 1\n#close-excel\nx = 2"));
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.line(), 2);
  }
  EXPECT_EQ(s.variable("x"), Variant(std::int16_t{1}));
  Session no_host(app);
  EXPECT_THROW(no_host.run(parse("#check")), ScriptError);
}

TEST_F(RunTest, DeclaredTypesConvertOnAssignment) {
  Session s(app);
  s.run(parse(
      "Dim s As String, n As Integer, d As Double, b As Boolean, v\n"
      "Dim r As Range\n"
      "s = 12.5: n = \"41.5\": d = \"2\": b = 1\n"
      "Set r = Range(\"A1\")\n"
      "Dim Left\n"   // a variable shadows the runtime function of that name
      "Left = 3"));
  EXPECT_EQ(s.variable("s"), Variant("12.5"));
  EXPECT_EQ(s.variable("n"), Variant(std::int16_t{42}));
  EXPECT_EQ(s.variable("d"), Variant(2.0));
  EXPECT_EQ(s.variable("b"), Variant(true));
  EXPECT_TRUE(s.variable("v")->is_empty());
  EXPECT_EQ(s.variable("left"), Variant(std::int16_t{3}));
  EXPECT_THROW(s.run(parse("n = 40000")), ScriptError);      // Integer overflow
  EXPECT_THROW(s.run(parse("r = 5")), ScriptError);          // Let into an object variable
  EXPECT_THROW(s.run(parse("Set s = Range(\"A1\")")), ScriptError);
}

TEST_F(RunTest, ArrayVariablesAreIndexedAndAssignedByElement) {
  Session s(app);
  s.run(parse("a = Array(1, \"two\", 3)\na(1) = \"deux\"\nRange(\"A1:C1\").Value = a\nx = a(2) + a(0)"));
  EXPECT_EQ(s.evaluate("a(1)"), Variant("deux"));
  EXPECT_EQ(s.variable("x"), Variant(std::int16_t{4}));
  EXPECT_TRUE(cell("A1:C1").is_array());
  EXPECT_THROW(s.run(parse("y = a(3)")), ScriptError);
}

TEST_F(RunTest, SessionKeepsVariablesAndErrorModeAcrossLines) {
  Session s(app);
  s.run_line("Dim total As Long");
  s.run_line("total = 40000");
  s.run_line("total = total + 2");
  EXPECT_EQ(s.variable("TOTAL"), Variant(std::int32_t{40002}));
  s.run_line("On Error Resume Next");
  EXPECT_NO_THROW(s.run_line("Range(\"Z0\").Value = 1"));
  EXPECT_FALSE(s.variable("missing"));
}

TEST_F(RunTest, UnqualifiedNamesPreferFunctionsToApplicationMembers) {
  Session s(app);
  EXPECT_EQ(s.evaluate("Left(\"abc\", 2)"), Variant("ab"));
  EXPECT_EQ(s.evaluate("Application.Left"), Variant(42.0));
  EXPECT_EQ(s.evaluate("Name"), Variant("Microsoft Excel"));
  EXPECT_EQ(s.evaluate("xlup"), Variant(std::int32_t{-4162}));
  EXPECT_THROW(s.run_line("xlUp = 1"), ScriptError);
  s.run_line("DisplayAlerts = False: Range(\"E5\") = \"typed\"");
  EXPECT_FALSE(app->display_alerts);
  EXPECT_EQ(cell("E5"), Variant("typed"));
}

}  // namespace
}  // namespace platform::script
