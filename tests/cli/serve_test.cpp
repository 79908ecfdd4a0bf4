// `d72506 serve` as a player in another language runs it: a process fed
// JSON lines, answering one line per request, in order.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "command_run.hpp"

namespace d72506::cli::testing {
namespace {

using json = nlohmann::json;

// The responses of a run, one per line.
std::vector<json> responses(const CommandRun& run) {
  std::vector<json> lines;
  std::istringstream out(run.out);
  for (std::string line; std::getline(out, line);) lines.push_back(json::parse(line));
  return lines;
}

std::string request(int id, const std::string& method, const json& params = json::object()) {
  return json{{"id", id}, {"method", method}, {"params", params}}.dump() + "\n";
}

TEST(Serve, APlayerRunsAQuestionThroughTheMembersAndTheStatements) {
  const CommandRun run = run_d72506(
      {"serve"}, request(1, "InitQuestion", {{"question", 601}}) +
                     request(2, "run", {{"statements", "Range(\"D1\").Value = \"09854895\""}}) +
                     request(3, "TestePoint") + request(4, "ErreurGenerale") + request(5, "CauseErreur") +
                     request(6, "BravoNuance") + request(7, "Complement") +
                     request(8, "run", {{"statements", "Range(\"D1\").Value = \"'09854895\"\n#check"}}) +
                     request(9, "evaluate", {{"expression", "Range(\"D1\").Text"}}) + request(10, "Fermer") +
                     request(11, "Quitter") + request(12, "CauseErreur"));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<json> r = responses(run);
  ASSERT_EQ(r.size(), 12u) << run.out;
  for (int i = 0; i < 12; ++i) EXPECT_EQ(r[i]["id"], i + 1);
  EXPECT_EQ(r[0]["result"]["application"], true);
  EXPECT_NE(r[0]["result"]["window"], 0);
  EXPECT_EQ(r[3]["result"], false);
  EXPECT_EQ(r[4]["result"], "C");
  EXPECT_EQ(r[5]["result"], false);
  EXPECT_EQ(r[6]["result"], json::array());
  EXPECT_EQ(r[7]["result"]["verdicts"][0]["causeErreur"], "");
  EXPECT_EQ(r[8]["result"], "09854895");
  EXPECT_EQ(r[10]["result"], (json{{"application", false}, {"window", 0}}));
  // No question any more: the member fails as it does for a COM client.
  EXPECT_EQ(r[11]["error"]["number"], 91);
}

TEST(Serve, FailuresCarryNumberSourceAndDescriptionAndTheSessionGoesOn) {
  const std::string too_long = "{\"id\": 0, \"pad\": \"" + std::string(5u << 20, 'x') + "\"}\n";
  const CommandRun run =
      run_d72506({"serve", "--time-limit", "0.2"},
                 "not json\n" + too_long + request(1, "Nope") + request(2, "InitQuestion", {{"question", "601"}}) +
                     request(3, "InitQuestion", {{"question", 600}}) + request(4, "InitQuestion", {{"question", 601}}) +
                     request(5, "run", {{"statements", "Worksheets(\"Absente\").Select"}}) +
                     request(6, "run", {{"statements", "If Then"}}) +
                     request(7, "run", {{"statements", "For i = 1 To 2 Step 0\nNext"}}) +
                     request(8, "evaluate", {{"expression", "1 + 1"}}));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<json> r = responses(run);
  ASSERT_EQ(r.size(), 10u) << run.out;
  EXPECT_EQ(r[0]["id"], nullptr);
  EXPECT_EQ(r[0]["error"]["number"], 5);
  EXPECT_NE(r[1]["error"]["description"].get<std::string>().find("longer than"), std::string::npos);
  EXPECT_EQ(r[2]["error"]["number"], 438);
  EXPECT_EQ(r[3]["error"]["description"], "params.question must be an integer, not string");
  // The module's own failure: its number and the source composed level by level.
  EXPECT_EQ(r[4]["error"]["number"], 91);
  EXPECT_EQ(r[4]["error"]["source"].get<std::string>().rfind("DLL D72506 - CLASSE Module\n\r - SERVICE ", 0), 0u);
  EXPECT_TRUE(r[5].contains("result")) << r[5];
  EXPECT_EQ(r[6]["error"]["number"], 9);
  EXPECT_NE(r[6]["error"]["description"].get<std::string>().find("line 1"), std::string::npos);
  EXPECT_EQ(r[7]["error"]["number"], -2147220992);
  EXPECT_EQ(r[8]["error"]["number"], -2147220991);
  EXPECT_EQ(r[9]["result"], "2");
}

TEST(Serve, DeeplyNestedValuesAreRefusedWithoutExhaustingTheStack) {
  const std::size_t depth = 500000;
  const std::string nested = std::string(depth, '[') + std::string(depth, ']');
  const CommandRun run = run_d72506({"serve"}, "{\"id\": " + nested + ", \"method\": \"Fermer\"}\n" +
                                                   "{\"id\": 2, \"method\": \"run\", \"params\": {\"statements\": " +
                                                   nested + "}}\n" + request(3, "ErreurGenerale"));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<json> r = responses(run);
  ASSERT_EQ(r.size(), 3u) << run.out.substr(0, 500);
  EXPECT_EQ(r[0]["id"], nullptr);
  EXPECT_EQ(r[0]["error"]["description"], "the request nests deeper than 64 levels");
  EXPECT_EQ(r[1]["error"]["description"], "the request nests deeper than 64 levels");
  EXPECT_EQ(r[2]["result"], false);
  // Within the limit, an id that is no number, text or null is refused too.
  const CommandRun shallow = run_d72506({"serve"}, "{\"id\": [1, {\"a\": \"[[[\"}], \"method\": \"Fermer\"}\n");
  EXPECT_EQ(responses(shallow).at(0)["error"]["description"], "id must be a number, a text or null");
}

TEST(Serve, TheEndOfTheInputClosesWhatThePlayerLeftOpen) {
  ScratchFolder work;
  const CommandRun run =
      run_d72506({"serve", "--workdir", work.path().string()}, request(1, "InitQuestion", {{"question", 601}}));
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(responses(run).at(0)["result"]["application"], true) << run.out;
  // Fermer cleaned the working copy away.
  EXPECT_FALSE(std::filesystem::exists(work.path() / "Thor International.xls"));
}

}  // namespace
}  // namespace d72506::cli::testing
