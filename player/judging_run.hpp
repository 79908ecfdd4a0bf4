// Many saved answers judged in one process: one judge (one stand-in Excel,
// one apartment) per worker thread, each worker taking the next file until
// none is left. Results come back in the order of the files given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <vector>

#include "player/run_setup.hpp"
#include "player/saved_answers.hpp"

namespace d72506::player {

// Each worker holds a whole stand-in Excel; more than this many would only
// compete for the same cores and memory.
inline constexpr unsigned kMaxWorkers = 256;

struct JudgingRun {
  std::int32_t question = 0;
  std::vector<std::filesystem::path> files;
  RunSetup setup;
  // Taken between 1 and kMaxWorkers, and never more than there are files.
  unsigned workers = 1;
  // Called on the calling thread, now and then while the run goes on and
  // once at its end, with the number of files judged so far.
  std::function<void(std::size_t done, std::size_t total)> progress;
};

// Judges every file. The workers' notes go to `notes` once they are done,
// never interleaved. A worker that cannot start (no temporary folder, for
// one) reports each file left to it as failed, with the reason.
std::vector<Judgement> judge_files(const JudgingRun& run, std::ostream& notes);

// The files a list of paths names: a file as itself, a folder as every
// workbook under it, recursively, sorted by path. A workbook is recognised
// by its first bytes (a compound file or a zip package) or by a workbook
// extension; other files of a folder are left out. A path that names
// nothing is kept, so that its judgement says so.
std::vector<std::filesystem::path> expand_answers(const std::vector<std::filesystem::path>& paths);

// The machine's cores, at least one.
unsigned default_workers();

}  // namespace d72506::player
