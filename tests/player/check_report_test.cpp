// The check's reports carry what a trainee chose (file names) and what a
// file held (error texts): each form quotes or escapes them, and each says
// the same thing about each file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "player/check_report.hpp"

namespace d72506::player {
namespace {

using nlohmann::json;

Judgement judged(const std::string& file, bool general, const std::string& cause) {
  Judgement j;
  j.file = file;
  j.verdict.question = 601;
  j.verdict.erreur_generale = general;
  j.verdict.cause_erreur = cause;
  return j;
}

Judgement unreadable(const std::string& file, const std::string& description) {
  Judgement j;
  j.file = file;
  j.status = JudgeStatus::kUnreadable;
  j.failure = CallFailure{"open", 1004, "d72506", description};
  return j;
}

CheckReport sample(Language language = Language::kEnglish) {
  Judgement not_judged;
  not_judged.file = "other.xls";
  not_judged.status = JudgeStatus::kNotJudged;
  return {601, language,
          {judged("alice.xls", false, ""), judged("bob, \"the second\".xls", false, "C"), judged("carl.xls", true, "C"),
           unreadable("<script>alert(1)</script>.xls", "'<b>' is \"bad\"\nreally"), not_judged}};
}

TEST(CheckReport, TextLinesGiveFileVerdictAndMessage) {
  const CheckReport r = sample();
  EXPECT_EQ(check_line(r.results[0], 601, r.language), "alice.xls: CauseErreur=\"\" ErreurGenerale=False: Correct");
  EXPECT_EQ(check_line(r.results[2], 601, r.language).rfind("carl.xls: CauseErreur=\"C\" ErreurGenerale=True: The "
                                                             "exercise workbook is no longer open.", 0),
            0u);
  EXPECT_EQ(check_line(r.results[3], 601, r.language).rfind("<script>alert(1)</script>.xls: unreadable: ", 0), 0u);
  EXPECT_EQ(judgement_message(r.results[4], 602, Language::kFrench).rfind("La question 602 ne se corrige pas", 0), 0u);
}

TEST(CheckReport, JsonHasOneResultPerFileAndNullsForWhatWasNotJudged) {
  const json doc = json::parse(check_json(sample()));
  EXPECT_EQ(doc.at("question"), 601);
  const json& results = doc.at("results");
  ASSERT_EQ(results.size(), 5u);
  EXPECT_EQ(results[1].at("file"), "bob, \"the second\".xls");
  EXPECT_EQ(results[1].at("status"), "judged");
  EXPECT_EQ(results[1].at("causeErreur"), "C");
  EXPECT_EQ(results[1].at("erreurGenerale"), false);
  EXPECT_TRUE(results[1].at("error").is_null());
  EXPECT_EQ(results[3].at("status"), "unreadable");
  EXPECT_TRUE(results[3].at("causeErreur").is_null());
  EXPECT_TRUE(results[3].at("erreurGenerale").is_null());
  EXPECT_EQ(results[3].at("error").at("number"), 1004);
  EXPECT_EQ(results[4].at("status"), "not-judged");
}

// Splits RFC 4180 text into records of fields.
std::vector<std::vector<std::string>> parse_csv(const std::string& text) {
  std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        records.back().back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        records.back().back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      records.back().emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      records.emplace_back(1);
      ++i;
    } else {
      records.back().back() += c;
    }
  }
  records.pop_back();  // after the last CRLF
  return records;
}

TEST(CheckReport, CsvQuotesWhatNeedsItAndDefusesFormulas) {
  CheckReport r = sample();
  r.results.push_back(judged("=HYPERLINK(\"http://x\").xls", false, ""));
  r.results.push_back(judged("-1+2.xls", false, ""));
  const std::string text = check_csv(r);
  const auto rows = parse_csv(text);
  ASSERT_EQ(rows.size(), r.results.size() + 1);
  for (const auto& row : rows) EXPECT_EQ(row.size(), 7u);
  EXPECT_EQ(rows[0][0], "file");
  EXPECT_EQ(rows[2][0], "bob, \"the second\".xls");
  EXPECT_EQ(rows[2][3], "C");
  EXPECT_EQ(rows[4][1], "unreadable");
  EXPECT_EQ(rows[4][6], "'<b>' is \"bad\"\nreally") << "a line break stays inside its field";
  EXPECT_EQ(rows[5][2], "") << "no verdict, no flag";
  EXPECT_EQ(rows[6][0], "'=HYPERLINK(\"http://x\").xls");
  EXPECT_EQ(rows[7][0], "'-1+2.xls");
}

TEST(CheckReport, HtmlEscapesEverythingAndChartsEachCode) {
  const std::string page = check_html(sample());
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;.xls"), std::string::npos);
  EXPECT_NE(page.find("bob, &quot;the second&quot;.xls"), std::string::npos);
  const auto address = page.find("://");
  EXPECT_EQ(page.find("http://www.w3.org/2000/svg"), address - 4) << "no address but the SVG namespace";
  EXPECT_EQ(page.find("://", address + 1), std::string::npos);
  EXPECT_EQ(page.find("src="), std::string::npos) << "nothing is loaded";
  EXPECT_NE(page.find("<svg"), std::string::npos);
  // One bar each: Correct, "C", "C" (general error), unreadable, not judged.
  std::size_t bars = 0;
  for (auto at = page.find("<rect"); at != std::string::npos; at = page.find("<rect", at + 1)) ++bars;
  EXPECT_EQ(bars, 5u);
  EXPECT_NE(page.find("&quot;C&quot; (general error)"), std::string::npos);
  EXPECT_NE(check_html(sample(Language::kFrench)).find("Bonne réponse"), std::string::npos);
}

}  // namespace
}  // namespace d72506::player
