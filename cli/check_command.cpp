#include <fstream>
#include <iostream>
#include <system_error>

#include "cli/commands.hpp"
#include "player/check_report.hpp"
#include "player/judging_run.hpp"

namespace d72506::cli {

namespace stdfs = std::filesystem;
using player::CheckReport;
using player::JudgeStatus;
using player::Judgement;

namespace {

// A report file opened before the run, so that a path that cannot be
// written stops the command before a long run rather than after it.
class ReportFile {
 public:
  explicit ReportFile(const std::optional<stdfs::path>& path) : path_(path) {
    if (!path_) return;
    stream_.open(*path_, std::ios::binary | std::ios::trunc);
    if (!stream_) {
      throw stdfs::filesystem_error("cannot write the report", *path_, std::make_error_code(std::errc::io_error));
    }
  }

  void write(const std::string& text) {
    if (!path_) return;
    stream_ << text;
    stream_.flush();
    if (!stream_) {
      throw stdfs::filesystem_error("cannot write the report", *path_, std::make_error_code(std::errc::io_error));
    }
  }

 private:
  std::optional<stdfs::path> path_;
  std::ofstream stream_;
};

// "judged 120 of 1000" on one line of a terminal, rewritten in place.
auto progress_line(std::ostream& err) {
  return [&err](std::size_t done, std::size_t total) {
    err << "\rd72506: judged " << done << " of " << total << (done == total ? "\n" : "") << std::flush;
  };
}

// Every file the paths name; a folder without a workbook is noted on `err`,
// as the trainer most likely named the wrong one.
std::vector<stdfs::path> files_named(const std::vector<stdfs::path>& paths, std::ostream& err) {
  std::vector<stdfs::path> files;
  for (const stdfs::path& path : paths) {
    const std::vector<stdfs::path> found = player::expand_answers({path});
    if (found.empty()) err << "d72506: no workbook in " << path.string() << '\n';
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

bool every_file_judged(const std::vector<Judgement>& results) {
  for (const Judgement& j : results) {
    if (j.status != JudgeStatus::kJudged) return false;
  }
  return true;
}

}  // namespace

int check(const CheckOptions& options, std::ostream& out, std::ostream& err) {
  ReportFile csv(options.csv);
  ReportFile html(options.html);

  player::JudgingRun run;
  run.question = options.question;
  run.files = files_named(options.paths, err);
  if (run.files.empty()) return kExitUsage;
  run.setup = options.setup;
  run.workers = options.workers;
  if (options.progress) run.progress = progress_line(err);

  const CheckReport report{options.question, options.language, player::judge_files(run, err)};
  if (options.json) {
    out << player::check_json(report) << '\n';
  } else {
    for (const Judgement& j : report.results) out << player::check_line(j, report.question, report.language) << '\n';
  }
  csv.write(player::check_csv(report));
  html.write(player::check_html(report));
  return every_file_judged(report.results) ? kExitSuccess : kExitSomeNotJudged;
}

}  // namespace d72506::cli
