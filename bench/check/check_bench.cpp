// What `d72506 check` costs a trainer with a class's worth of answers:
// 1,000 saved answers to question 601 per format (copies of the corpus's
// answers saved by LibreOffice and Gnumeric), judged
//   - by one judge on one thread: files per second per core, against the
//     targets (1,000 for .xls, 300 for .xlsx and .ods), with the resident
//     memory after each tenth of the run, which must stay flat;
//   - by one worker per core, as `check` runs by default;
//   - one `d72506 check` process per file, for a sample, as the ratio of the
//     in-process rate to that.
//   check_bench [FILES]   (default 1000 per format)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "player/folder.hpp"
#include "player/judging_run.hpp"
#include "player/saved_answers.hpp"

extern char** environ;

namespace {

namespace player = d72506::player;
namespace stdfs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kQuestion = 601;
constexpr int kDefaultFiles = 1000;
constexpr int kProcessSample = 40;
constexpr int kMemorySamples = 10;

struct Format {
  const char* name;
  const char* seed_suffix;  // the corpus files this format's answers copy
  double target_per_core;
};

constexpr Format kFormats[] = {
    {"xls", ".libreoffice.xls", 1000},
    {"xlsx", ".libreoffice.xlsx", 300},
    {"ods", ".libreoffice.ods", 300},
};

long resident_kb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// On a machine others share, the processor time a run took says more about
// its cost than the time it waited for: both are printed.
double cpu_seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// `count` answers in `folder`, copies of the corpus's answers of this format
// in turn (right, the letter O, nothing, the number).
std::vector<stdfs::path> answers(const Format& format, int count, const stdfs::path& folder) {
  std::vector<stdfs::path> seeds;
  for (const auto& entry : stdfs::directory_iterator(D72506_ANSWER_SEEDS)) {
    if (entry.path().string().ends_with(format.seed_suffix)) seeds.push_back(entry.path());
  }
  std::sort(seeds.begin(), seeds.end());
  if (seeds.empty()) throw std::runtime_error(std::string("no ") + format.name + " answers in " + D72506_ANSWER_SEEDS);
  std::vector<stdfs::path> files;
  for (int i = 0; i < count; ++i) {
    files.push_back(folder / ("answer" + std::to_string(i) + "." + format.name));
    stdfs::copy_file(seeds[i % seeds.size()], files.back());
  }
  return files;
}

player::RunSetup setup() {
  player::RunSetup s;
  s.exercises = D72506_EXERCISE_FILES;
  return s;
}

struct OneCore {
  double files_per_second = 0;
  double files_per_cpu_second = 0;
  std::vector<long> resident_kb;  // after each tenth of the files
  int not_judged = 0;
};

OneCore judge_on_one_core(const std::vector<stdfs::path>& files) {
  std::ostringstream notes;
  player::SavedAnswerJudge judge(kQuestion, setup(), notes);
  judge.judge(files.front());  // Excel and the module warmed up
  OneCore result;
  const std::size_t tenth = std::max<std::size_t>(files.size() / kMemorySamples, 1);
  const auto start = Clock::now();
  const double cpu_start = cpu_seconds(CLOCK_THREAD_CPUTIME_ID);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (judge.judge(files[i]).status != player::JudgeStatus::kJudged) ++result.not_judged;
    if ((i + 1) % tenth == 0) result.resident_kb.push_back(resident_kb());
  }
  result.files_per_second = static_cast<double>(files.size()) / seconds_since(start);
  result.files_per_cpu_second = static_cast<double>(files.size()) / (cpu_seconds(CLOCK_THREAD_CPUTIME_ID) - cpu_start);
  return result;
}

double judge_on_every_core(const std::vector<stdfs::path>& files, unsigned workers) {
  player::JudgingRun run;
  run.question = kQuestion;
  run.files = files;
  run.setup = setup();
  run.workers = workers;
  std::ostringstream notes;
  const auto start = Clock::now();
  player::judge_files(run, notes);
  return static_cast<double>(files.size()) / seconds_since(start);
}

// `d72506 check 601 FILE` once per file, its output thrown away.
double one_process_each(const std::vector<stdfs::path>& files) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  for (const stdfs::path& file : files) {
    std::vector<std::string> words{D72506_COMMAND, "check", std::to_string(kQuestion), file.string(), "-j", "1"};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, D72506_COMMAND, &actions, nullptr, argv.data(), environ) != 0) {
      throw std::runtime_error("cannot start " D72506_COMMAND);
    }
    int status = 0;
    waitpid(pid, &status, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
  return static_cast<double>(files.size()) / seconds_since(start);
}

std::string memory_line(const std::vector<long>& samples) {
  std::string line;
  for (long kb : samples) line.append(line.empty() ? "" : " ").append(std::to_string(kb / 1024));
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultFiles;
  const unsigned cores = player::default_workers();
  bool below_target = false;
  std::printf("question %d, %d files per format, %u cores\n", kQuestion, count, cores);
  for (const Format& format : kFormats) {
    const player::Folder folder = player::Folder::temporary("d72506-check-bench");
    const std::vector<stdfs::path> files = answers(format, count, folder.path());
    const OneCore one = judge_on_one_core(files);
    const double all = judge_on_every_core(files, cores);
    const std::vector<stdfs::path> sample(files.begin(), files.begin() + std::min<int>(count, kProcessSample));
    const double processes = one_process_each(sample);
    below_target = below_target || one.files_per_cpu_second < format.target_per_core || one.not_judged != 0;
    std::printf(
        "%-5s one core: %6.0f files per processor second (target %4.0f), %6.0f files/s of wall time\n"
        "      %u workers: %6.0f files/s   one process per file: %5.1f files/s, in-process %3.0fx faster\n"
        "      not judged: %d   resident MB after each tenth: %s\n",
        format.name, one.files_per_cpu_second, format.target_per_core, one.files_per_second, cores, all, processes,
        one.files_per_second / processes, one.not_judged, memory_line(one.resident_kb).c_str());
  }
  return below_target ? 1 : 0;
}
