// The class page of `check --html`: a summary chart and the table of files.
// Everything that comes from a trainee (file names) or from a file (error
// descriptions) is escaped; the page loads nothing and runs nothing.
#include <map>
#include <sstream>

#include "player/check_report.hpp"

namespace d72506::player {

namespace {

// The chart's geometry, in SVG user units.
constexpr int kBarHeight = 22;
constexpr int kBarGap = 6;
constexpr int kLabelWidth = 220;
constexpr int kBarsWidth = 400;
constexpr int kCountWidth = 50;

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string in_language(Language language, const char* french, const char* english) {
  return language == Language::kEnglish ? english : french;
}

// What the chart counts a file under: its code (general errors apart, as
// "C" of the pre-check is not the question's "C"), or its status.
std::string verdict_label(const Judgement& j, Language language) {
  switch (j.status) {
    case JudgeStatus::kJudged:
      if (j.verdict.cause_erreur.empty() && !j.verdict.erreur_generale) {
        return in_language(language, "Bonne réponse", "Correct");
      }
      return "\"" + j.verdict.cause_erreur + "\"" +
             (j.verdict.erreur_generale ? in_language(language, " (erreur générale)", " (general error)") : "");
    case JudgeStatus::kNotJudged:
      return in_language(language, "non corrigé", "not judged");
    case JudgeStatus::kUnreadable:
      return in_language(language, "illisible", "unreadable");
    case JudgeStatus::kFailed:
      return in_language(language, "échec", "failed");
  }
  return {};
}

void write_chart(std::ostream& page, const std::map<std::string, int>& counts) {
  int most = 1;
  for (const auto& [label, count] : counts) most = std::max(most, count);
  const int height = static_cast<int>(counts.size()) * (kBarHeight + kBarGap) + kBarGap;
  page << "<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\"" << kLabelWidth + kBarsWidth + kCountWidth
       << "\" height=\"" << height << "\">\n";
  int y = kBarGap;
  for (const auto& [label, count] : counts) {
    const int width = std::max(1, count * kBarsWidth / most);
    page << "<text x=\"" << kLabelWidth - 8 << "\" y=\"" << y + kBarHeight - 6 << "\" text-anchor=\"end\">"
         << escaped(label) << "</text>"
         << "<rect x=\"" << kLabelWidth << "\" y=\"" << y << "\" width=\"" << width << "\" height=\"" << kBarHeight
         << "\" fill=\"#4a7ab5\"/>"
         << "<text x=\"" << kLabelWidth + width + 6 << "\" y=\"" << y + kBarHeight - 6 << "\">" << count
         << "</text>\n";
    y += kBarHeight + kBarGap;
  }
  page << "</svg>\n";
}

void write_table(std::ostream& page, const CheckReport& report) {
  const Language language = report.language;
  page << "<table>\n<tr><th>" << in_language(language, "Fichier", "File") << "</th><th>"
       << in_language(language, "Verdict", "Verdict") << "</th><th>" << in_language(language, "Message", "Message")
       << "</th></tr>\n";
  for (const Judgement& j : report.results) {
    page << "<tr><td>" << escaped(j.file.string()) << "</td><td>" << escaped(verdict_label(j, language))
         << "</td><td>" << escaped(judgement_message(j, report.question, language)) << "</td></tr>\n";
  }
  page << "</table>\n";
}

}  // namespace

std::string check_html(const CheckReport& report) {
  const Language language = report.language;
  std::map<std::string, int> counts;
  for (const Judgement& j : report.results) ++counts[verdict_label(j, language)];
  const std::string title =
      in_language(language, "Question ", "Question ") + std::to_string(report.question) +
      in_language(language, " : résultats de la classe", ": the class's results");

  std::ostringstream page;
  page << "<!DOCTYPE html>\n<html lang=\"" << in_language(language, "fr", "en") << "\">\n<head>\n"
       << "<meta charset=\"utf-8\">\n"
       << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'\">\n"
       << "<title>" << escaped(title) << "</title>\n"
       << "<style>body{font-family:sans-serif;margin:2em}table{border-collapse:collapse}"
          "td,th{border:1px solid #999;padding:4px 8px;text-align:left;vertical-align:top}"
          "svg text{font-size:13px}</style>\n"
       << "</head>\n<body>\n<h1>" << escaped(title) << "</h1>\n"
       << "<p>" << report.results.size() << in_language(language, " fichier(s)", " file(s)") << "</p>\n";
  write_chart(page, counts);
  write_table(page, report);
  page << "</body>\n</html>\n";
  return page.str();
}

}  // namespace d72506::player
