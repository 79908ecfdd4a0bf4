// Excel 2003's own limits, where a macro or a trainee's statement could
// otherwise fill memory or time: the text a cell holds, names that lead to
// other names, and a whole sheet filled by one statement.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app_fixture.hpp"
#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/script/budget.hpp"
#include "platform/script/script.hpp"

namespace engine::app::testing {
namespace {

class Limits : public AppTest {
 protected:
  Limits() { workbooks()->call("Add"); }

  // Range("A1") makes a new object each time: the caller holds it.
  std::shared_ptr<Dispatch> range(const char* address) { return app->get("Range", {Variant(address)}).object(); }
  std::int32_t length_of(const char* address) {
    return platform::com::len(platform::com::cstr(range(address)->get("Value")));
  }
};

TEST_F(Limits, ACellKeepsTheFirst32767CharactersOfALongerText) {
  range("A1")->put("Value", Variant(std::string(40000, 'a')));
  EXPECT_EQ(length_of("A1"), 32767);
  range("A2")->put("Value", Variant(std::string(32767, 'b')));
  EXPECT_EQ(range("A2")->get("Value"), Variant(std::string(32767, 'b')));
  // Characters count as UTF-16 code units, not bytes: 40,000 "é" keep 32,767.
  std::string accents;
  for (int i = 0; i < 40000; ++i) accents += "\xC3\xA9";
  range("A3")->put("Value", Variant(accents));
  EXPECT_EQ(length_of("A3"), 32767);
  EXPECT_EQ(platform::com::cstr(range("A3")->get("Value")), accents.substr(0, 2 * 32767));
  // Typed text ("'" keeps it text) and Formula assignments meet the same limit.
  range("A4")->put("Formula", Variant("'" + std::string(33000, 'c')));
  EXPECT_EQ(length_of("A4"), 32767);
}

TEST_F(Limits, NamesThatEachUseTheNextTwiceEvaluateInLinearTime) {
  const auto names = obj(app->get("ActiveWorkbook")).get("Names").object();
  const auto name = [](int i) { return "chaine_" + std::to_string(i); };
  names->call("Add", {Variant(name(0)), Variant("=1")});
  for (int i = 1; i <= 30; ++i) names->call("Add", {Variant(name(i)), Variant(std::string("=").append(name(i - 1)).append("+").append(name(i - 1)))});
  const auto started = std::chrono::steady_clock::now();
  range("B1")->put("Formula", Variant("=chaine_30"));
  EXPECT_EQ(platform::com::cdbl(range("B1")->get("Value")), 1073741824.0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

// A deep evaluation: names chained past the depth they may go, each
// definition nested sixty levels. It ends with a value or #NAME?, never by
// exhausting the stack.
TEST_F(Limits, NamesChainedPastTheirLimitEachNestedDeeplyEvaluate) {
  const auto names = obj(app->get("ActiveWorkbook")).get("Names").object();
  const auto nested = [](const std::string& inner) {
    std::string text = "=";
    for (int i = 0; i < 30; ++i) text += "-(";
    text += inner;
    for (int i = 0; i < 30; ++i) text += ")";
    return text;
  };
  names->call("Add", {Variant("niveau_0"), Variant(nested("1"))});
  for (int i = 1; i <= 40; ++i) {
    names->call("Add", {Variant("niveau_" + std::to_string(i)), Variant(nested("niveau_" + std::to_string(i - 1)))});
  }
  range("C1")->put("Formula", Variant("=niveau_40"));
  const Variant value = range("C1")->get("Value");
  EXPECT_TRUE(value.type() == platform::com::VarType::Double || value.type() == platform::com::VarType::Error)
      << platform::com::type_name(value.type());
}

// A trainee's statement that fills a whole sheet at once meets the budget of
// its run: the memory its cells would take before any is made, the time row
// by row.
TEST_F(Limits, FillingAWholeSheetInOneStatementStopsAtTheBudget) {
  namespace script = platform::script;
  const auto stopped = [this](const char* source, script::Limits limits) {
    const script::Budget::Scope scope(std::make_shared<script::Budget>(limits));
    try {
      script::run(script::parse(source, "fill.bas"), Variant(app));
    } catch (const script::ScriptError& e) {
      return e;
    }
    ADD_FAILURE() << "ran through: " << source;
    return script::ScriptError(script::ScriptError::Kind::Syntax, {}, 0, {}, {});
  };
  const auto started = std::chrono::steady_clock::now();
  const script::ScriptError memory = stopped("x = 1\nRange(\"A1:IV65536\").Value = \"x\"", script::Limits{});
  EXPECT_EQ(memory.kind(), script::ScriptError::Kind::Budget);
  EXPECT_EQ(memory.line(), 2);
  EXPECT_NE(memory.problem().find("memory budget of 256 MiB"), std::string::npos) << memory.problem();
  EXPECT_TRUE(range("A1")->get("Value").is_empty());  // refused before any cell was made

  const script::ScriptError time = stopped("Range(\"A1:IV65536\").Formula = \"=1\"",
                                           script::Limits{std::chrono::milliseconds(200), std::size_t{1} << 40});
  EXPECT_EQ(time.kind(), script::ScriptError::Kind::Budget);
  EXPECT_NE(time.problem().find("time budget of 0.2 s"), std::string::npos) << time.problem();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  // Within its budget the same statement on a smaller range runs.
  const script::Budget::Scope scope(std::make_shared<script::Budget>());
  script::run(script::parse("Range(\"A1:J100\").Value = \"x\""), Variant(app));
  EXPECT_EQ(range("J100")->get("Value"), Variant("x"));
}

}  // namespace
}  // namespace engine::app::testing
