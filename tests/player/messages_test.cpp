// The messages table against the codes the module can really give: every
// code set in the questions' checks, the pre-check and the module itself
// has a message in both languages for the questions that can give it, and
// a code is looked up where it came from (general error or the question's).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "player/messages.hpp"

namespace d72506::player {
namespace {

namespace stdfs = std::filesystem;

std::string source(const std::string& relative) {
  std::ifstream in(stdfs::path(D72506_SOURCE_DIR) / relative);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The texts of every match of `pattern`'s first group.
std::set<std::string> codes_in(const std::string& text, const std::regex& pattern) {
  std::set<std::string> codes;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) codes.insert((*it)[1]);
  return codes;
}

const std::regex kAssignedCode(R"re(msCauseErreur = (?:std::string\()?"([^"]*)")re");

bool has_message(std::int32_t question, bool general, const std::string& code) {
  return message_for(question, general, code, Language::kFrench) &&
         message_for(question, general, code, Language::kEnglish);
}

TEST(Messages, EveryCodeAQuestionsCheckSetsHasOne) {
  for (std::int32_t q = kFirstQuestion; q <= kLastQuestion; ++q) {
    const std::string file = "questions/question_0" + std::to_string(q) + ".cpp";
    const std::set<std::string> codes = codes_in(source(file), kAssignedCode);
    EXPECT_FALSE(codes.empty()) << file << " was not read";
    for (const std::string& code : codes) EXPECT_TRUE(has_message(q, false, code)) << q << " \"" << code << "\"";
    EXPECT_TRUE(has_message(q, false, "")) << q << ": the right answer";
  }
}

TEST(Messages, EveryCodeOfThePreCheckAndOfTheModuleHasOne) {
  const std::set<std::string> pre_check = codes_in(source("host/workbook_precheck.cpp"), std::regex(R"re(echec\("([^"]+)"\))re"));
  const std::set<std::string> module = codes_in(source("module/module.cpp"), kAssignedCode);
  ASSERT_EQ(pre_check.size(), 9u) << "#BA, A, B, C, D, F, G, H, K";
  ASSERT_EQ(module.size(), 4u) << "AM, %AL, AN, AA";
  for (const std::string& code : pre_check) {
    bool somewhere = false;
    for (std::int32_t q = kFirstQuestion; q <= kLastQuestion; ++q) somewhere = somewhere || has_message(q, true, code);
    EXPECT_TRUE(somewhere) << code;
  }
  for (const std::string& code : module) {
    for (std::int32_t q = kFirstQuestion; q <= kLastQuestion; ++q) {
      if (code == "AA" && q == 613) continue;  // its check reports errors instead
      EXPECT_TRUE(has_message(q, true, code)) << q << " " << code;
    }
  }
}

// Which workbook tests each question's pre-check runs, as the module runs them.
TEST(Messages, ThePreCheckCodesBelongToTheQuestionsThatTestThem) {
  const struct {
    std::int32_t question;
    const char* codes;
  } cases[] = {{601, "CABD"}, {606, "CABD"}, {607, "CAB"}, {608, "CAFG"}, {609, ""}, {610, "CAFGD"},
               {611, "#CAFGKD"}, {612, "CAFGD"}, {613, ""}, {614, ""}, {615, "CAHD"}};
  for (const auto& c : cases) {
    std::set<std::string> expected;
    for (const char* p = c.codes; *p != '\0'; ++p) expected.insert(*p == '#' ? "#BA" : std::string(1, *p));
    std::set<std::string> listed;
    for (const CodeMessage& m : code_messages()) {
      if (m.scope == CodeScope::kPreCheck && holds(m.questions, c.question)) listed.insert(std::string(m.code));
    }
    EXPECT_EQ(listed, expected) << c.question;
  }
}

TEST(Messages, AreLookedUpWhereTheCodeCameFrom) {
  // 601's own "C": the zero lost; the pre-check's "C": the workbook closed.
  const auto own = message_for(601, false, "C", Language::kEnglish);
  const auto general = message_for(601, true, "C", Language::kEnglish);
  ASSERT_TRUE(own && general);
  EXPECT_NE(own->find("zero"), std::string_view::npos) << *own;
  EXPECT_NE(general->find("no longer open"), std::string_view::npos) << *general;
  // 615's pre-check "D" counts shapes; 601's reads the note of F13.
  EXPECT_NE(message_for(615, true, "D", Language::kFrench)->find("cases à cocher"), std::string_view::npos);
  EXPECT_NE(message_for(601, true, "D", Language::kFrench)->find("F13"), std::string_view::npos);
  EXPECT_EQ(message_for(601, false, "", Language::kFrench), "Bonne réponse");
  EXPECT_EQ(message_for(601, false, "", Language::kEnglish), "Correct");
  EXPECT_FALSE(message_for(601, false, "E", Language::kFrench)) << "601 has no E";
  EXPECT_FALSE(message_for(609, true, "C", Language::kFrench)) << "609's pre-check tests nothing";
  EXPECT_FALSE(message_for(700, false, "", Language::kFrench));
  EXPECT_EQ(verdict_message(601, false, "Z", Language::kEnglish), "Code \"Z\": no message for this code.");
}

TEST(Messages, NoEntryShadowsAnotherAndNoneIsEmpty) {
  const auto entries = code_messages();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_FALSE(entries[i].french.empty() || entries[i].english.empty()) << entries[i].code;
    EXPECT_NE(entries[i].french, entries[i].english) << entries[i].code;
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      const bool same_place = (entries[i].scope == CodeScope::kQuestion) == (entries[j].scope == CodeScope::kQuestion);
      if (same_place && entries[i].code == entries[j].code) {
        EXPECT_EQ(entries[i].questions & entries[j].questions, 0u) << "\"" << entries[i].code << "\" twice";
      }
    }
  }
}

TEST(Messages, TheLanguageComesFromItsNameOrTheEnvironment) {
  EXPECT_EQ(parse_language("fr"), Language::kFrench);
  EXPECT_EQ(parse_language("fr_CA.UTF-8"), Language::kFrench);
  EXPECT_EQ(parse_language("en_GB.UTF-8"), Language::kEnglish);
  EXPECT_EQ(parse_language("EN"), Language::kEnglish);
  for (const char* other : {"", "C", "C.UTF-8", "POSIX", "de_DE", "english", "e"}) {
    EXPECT_EQ(parse_language(other), std::nullopt) << other;
  }

  const struct {
    const char* all;
    const char* messages;
    const char* lang;
    Language expected;
  } cases[] = {
      {nullptr, nullptr, "en_US.UTF-8", Language::kEnglish},
      {"", "", "en_US.UTF-8", Language::kEnglish},              // empty settings do not count
      {"fr_FR.UTF-8", nullptr, "en_US.UTF-8", Language::kFrench},  // LC_ALL first
      {nullptr, "en_GB", "fr_FR", Language::kEnglish},           // then LC_MESSAGES
      {nullptr, nullptr, "C.UTF-8", Language::kFrench},          // neither: the course's language
      {nullptr, nullptr, nullptr, Language::kFrench},
  };
  for (const auto& c : cases) {
    const auto set = [](const char* name, const char* value) {
      if (value == nullptr) unsetenv(name);
      else setenv(name, value, 1);
    };
    set("LC_ALL", c.all);
    set("LC_MESSAGES", c.messages);
    set("LANG", c.lang);
    EXPECT_EQ(language_from_environment(), c.expected) << (c.lang ? c.lang : "-");
  }
}

TEST(Messages, OnlyTheQuestionsAnsweredInExcelHaveANotJudgedReason) {
  for (std::int32_t q = kFirstQuestion; q <= kLastQuestion; ++q) {
    const bool expected = q == 602 || q == 614;
    EXPECT_EQ(not_judged_reason(q, Language::kFrench).has_value(), expected) << q;
    EXPECT_EQ(not_judged_reason(q, Language::kEnglish).has_value(), expected) << q;
  }
}

}  // namespace
}  // namespace d72506::player
