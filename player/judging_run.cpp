#include "player/judging_run.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/com/text.hpp"

namespace d72506::player {

namespace stdfs = std::filesystem;

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(200);

// What a run's workers share: the next file to take, the results by index,
// and the count the calling thread reports.
class SharedRun {
 public:
  explicit SharedRun(const JudgingRun& run) : run_(run), results_(run.files.size()) {}

  // Judges files until none is left, on the calling thread.
  void work(std::ostream& notes) {
    std::optional<SavedAnswerJudge> judge;
    std::string cannot_start;
    try {
      judge.emplace(run_.question, run_.setup, notes);
    } catch (const std::exception& e) {
      cannot_start = std::string("the judge could not start: ") + e.what();
    }
    for (std::size_t i = next_++; i < run_.files.size(); i = next_++) {
      results_[i] = judge ? judge_one(*judge, run_.files[i]) : not_judged(run_.files[i], "start", cannot_start);
      finished();
    }
  }

  // Waits for every file, reporting progress on the calling thread.
  void wait() {
    std::unique_lock lock(mutex_);
    while (!changed_.wait_for(lock, kProgressInterval, [&] { return done_ == run_.files.size(); })) {
      report(done_);
    }
    report(done_);
  }

  std::vector<Judgement> take_results() { return std::move(results_); }

 private:
  static Judgement not_judged(const stdfs::path& file, const char* step, const std::string& reason) {
    return {file, JudgeStatus::kFailed, {}, CallFailure{step, 0, "d72506", reason}};
  }

  // A fault the judge did not foresee ends this file's judgement, not the
  // whole run (an exception leaving a worker would end the process).
  static Judgement judge_one(SavedAnswerJudge& judge, const stdfs::path& file) {
    try {
      return judge.judge(file);
    } catch (const std::exception& e) {
      return not_judged(file, "judge", e.what());
    }
  }

  void finished() {
    std::lock_guard lock(mutex_);
    ++done_;
    changed_.notify_one();
  }

  void report(std::size_t done) const {
    if (run_.progress) run_.progress(done, run_.files.size());
  }

  const JudgingRun& run_;
  std::vector<Judgement> results_;
  std::atomic<std::size_t> next_{0};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t done_ = 0;
};

constexpr std::array<const char*, 7> kWorkbookExtensions = {".xls", ".xlt", ".xlsx", ".xlsm", ".xltx", ".ods", ".ots"};

bool has_workbook_signature(const stdfs::path& file) {
  static constexpr unsigned char kCompoundFile[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  static constexpr unsigned char kZip[] = {'P', 'K', 0x03, 0x04};
  std::array<char, sizeof(kCompoundFile)> head{};
  std::ifstream in(file, std::ios::binary);
  in.read(head.data(), head.size());
  const auto got = static_cast<std::size_t>(in.gcount());
  return (got >= sizeof(kCompoundFile) && std::memcmp(head.data(), kCompoundFile, sizeof(kCompoundFile)) == 0) ||
         (got >= sizeof(kZip) && std::memcmp(head.data(), kZip, sizeof(kZip)) == 0);
}

bool looks_like_workbook(const stdfs::path& file) {
  const std::string extension = platform::com::lcase(file.extension().string());
  return std::find(kWorkbookExtensions.begin(), kWorkbookExtensions.end(), extension) != kWorkbookExtensions.end() ||
         has_workbook_signature(file);
}

std::vector<stdfs::path> workbooks_under(const stdfs::path& folder) {
  std::vector<stdfs::path> found;
  std::error_code error;
  for (stdfs::recursive_directory_iterator it(folder, stdfs::directory_options::skip_permission_denied, error), end;
       !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) && looks_like_workbook(it->path())) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::vector<Judgement> judge_files(const JudgingRun& run, std::ostream& notes) {
  if (run.files.empty()) return {};
  SharedRun shared(run);
  const auto most = static_cast<unsigned>(std::min<std::size_t>(run.files.size(), kMaxWorkers));
  const unsigned workers = std::clamp(run.workers, 1u, most);
  std::vector<std::ostringstream> worker_notes(workers);
  std::vector<std::jthread> threads;
  for (unsigned w = 0; w < workers; ++w) {
    threads.emplace_back([&shared, &out = worker_notes[w]] { shared.work(out); });
  }
  shared.wait();
  threads.clear();
  for (const auto& out : worker_notes) notes << out.str();
  return shared.take_results();
}

std::vector<stdfs::path> expand_answers(const std::vector<stdfs::path>& paths) {
  std::vector<stdfs::path> files;
  for (const stdfs::path& path : paths) {
    std::error_code error;
    if (stdfs::is_directory(path, error)) {
      const auto found = workbooks_under(path);
      files.insert(files.end(), found.begin(), found.end());
    } else {
      files.push_back(path);
    }
  }
  return files;
}

unsigned default_workers() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace d72506::player
