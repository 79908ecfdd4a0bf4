// Functions and statements a session's caller provides (a macro's ChDir and
// CurDir), where the interpreter finds them among its other names, and
// values bound into a session from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/convert.hpp"
#include "platform/script/script.hpp"
#include "tests/platform/script/fake_application.hpp"

namespace platform::script {
namespace {

using com::Variant;
using testing::Application;

class HostFunctionsTest : public ::testing::Test {
 protected:
  // A folder of our own: ChDir sets it (a name without "/" does not exist),
  // CurDir reads it; Left and Name shadow a runtime function and an
  // Application member.
  HostFunctions folder_functions() {
    return {
        {"ChDir", 1, 1,
         [this](std::span<const Variant> args) {
           const std::string path = com::cstr(args[0]);
           if (path.find('/') == std::string::npos) com::raise(com::err::PathNotFound);
           folder = path;
           return Variant();
         }},
        {"CurDir", 0, 0, [this](std::span<const Variant>) { return Variant(folder); }},
        {"Log", 0, HostFunction::kVariadic,
         [this](std::span<const Variant> args) {
           std::string line;
           for (const Variant& a : args) line += (a.is_missing() ? std::string("-") : com::cstr(a)) + ";";
           log.push_back(line);
           return Variant(static_cast<std::int32_t>(args.size()));
         }},
        {"Left", 1, 1, [](std::span<const Variant>) { return Variant("host Left"); }},
        {"Name", 0, 0, [](std::span<const Variant>) { return Variant("host Name"); }},
    };
  }

  Session session() { return Session(app, {}, folder_functions()); }

  // The runtime error number a line fails with; 0 when it runs through.
  std::int32_t error_of(Session& s, std::string_view line) {
    try {
      s.run_line(line);
    } catch (const ScriptError& e) {
      EXPECT_EQ(e.kind(), ScriptError::Kind::Runtime) << e.what();
      return e.runtime_error() ? e.runtime_error()->number() : -1;
    }
    return 0;
  }

  std::shared_ptr<Application> app = std::make_shared<Application>();
  std::string folder = "/start";
  std::vector<std::string> log;
};

TEST_F(HostFunctionsTest, StatementsAndFunctionsTakeEvaluatedArguments) {
  Session s = session();
  s.run(parse(
      "ChDir \"/tmp/\" & \"a b\\\"\n"   // evaluated, passed as it is
      "here = CurDir\n"
      "again = curdir$()\n"
      "Log 1 + 1, , \"x\"\n"
      "Call Log(\"y\")\n"
      "n = Log()"));
  EXPECT_EQ(folder, "/tmp/a b\\");
  EXPECT_EQ(s.variable("here"), Variant("/tmp/a b\\"));
  EXPECT_EQ(s.variable("again"), Variant("/tmp/a b\\"));
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "2;-;x;");
  EXPECT_EQ(log[1], "y;");
  EXPECT_EQ(s.variable("n"), Variant(std::int32_t{0}));
}

TEST_F(HostFunctionsTest, FoundAfterVariablesAndBeforeRuntimeFunctionsAndMembers) {
  Session s = session();
  EXPECT_EQ(s.evaluate("Left(\"abc\")"), Variant("host Left"));
  EXPECT_EQ(s.evaluate("Name"), Variant("host Name"));
  EXPECT_EQ(s.evaluate("Application.Name"), Variant("Microsoft Excel"));
  EXPECT_EQ(s.evaluate("Mid(\"abc\", 2)"), Variant("bc"));  // the other runtime functions stay
  s.run_line("Dim CurDir: CurDir = 5");
  EXPECT_EQ(s.evaluate("CurDir"), Variant(std::int16_t{5}));
  try {
    s.run_line("ChDir = \"/x\"");
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.kind(), ScriptError::Kind::Refused) << e.what();
  }
  EXPECT_EQ(folder, "/start");
}

TEST_F(HostFunctionsTest, ArgumentErrorsAndTheFunctionsOwnErrorsFailTheStatement) {
  Session s = session();
  EXPECT_EQ(error_of(s, "ChDir"), 449);
  EXPECT_EQ(error_of(s, "ChDir , \"/x\""), 449);
  EXPECT_EQ(error_of(s, "ChDir \"/x\", \"/y\""), 450);
  EXPECT_EQ(error_of(s, "x = CurDir(\"C\")"), 450);
  EXPECT_EQ(error_of(s, "ChDir Path:=\"/x\""), 448);
  EXPECT_EQ(error_of(s, "ChDir \"nowhere\""), 76);
  EXPECT_EQ(error_of(s, "ChDir Null"), 94);
  EXPECT_EQ(folder, "/start");
  EXPECT_EQ(error_of(s, "ChDir(\"/x\")"), 0);
  EXPECT_EQ(folder, "/x");

  s.run_line("On Error Resume Next");
  s.run(parse("ChDir \"nowhere\"\nLog \"went on\""));
  EXPECT_EQ(log, std::vector<std::string>{"went on;"});
}

TEST_F(HostFunctionsTest, NotBuiltInWithoutAHost) {
  Session s(app);
  for (const char* line : {"ChDir \"/tmp\"", "x = CurDir"}) {
    try {
      s.run_line(line);
      ADD_FAILURE() << "ran: " << line;
    } catch (const ScriptError& e) {
      EXPECT_EQ(e.kind(), ScriptError::Kind::Refused) << e.what();
    }
  }
}

TEST_F(HostFunctionsTest, BoundVariablesKeepTheirTextAndTakeDeclaredTypes) {
  Session s(app);
  s.run(parse("Dim rep As String, n As Integer"));
  const std::string awkward = "C:\\a \"b\"\nc\\";
  s.set_variable("REP", Variant(awkward));
  s.set_variable("n", Variant(41.5));
  s.set_variable("fresh", Variant(std::int32_t{7}));
  s.run(parse("copy = rep & \"\"\nn = n + 1"));
  EXPECT_EQ(s.variable("copy"), Variant(awkward));
  EXPECT_EQ(s.variable("n"), Variant(std::int16_t{43}));
  EXPECT_EQ(s.variable("fresh"), Variant(std::int32_t{7}));

  app->sheet->cells["A1"] = 2.5;
  const Variant range = s.evaluate("Range(\"A1\")");
  s.set_variable("r", range);  // a Variant keeps the object
  EXPECT_TRUE(s.variable("r")->is_object());
  s.set_variable("rep", range);  // a String takes its value
  EXPECT_EQ(s.variable("rep"), Variant("2.5"));
  EXPECT_THROW(s.set_variable("n", Variant("many")), com::Error);
}

}  // namespace
}  // namespace platform::script
