// Runs each question's player cycle (InitQuestion, TestePoint, Fermer) many
// times in one process, with one Excel handed back on every InitQuestion as
// the player does, and watches what a long course session would feel:
// resident memory and open file descriptors must stay flat. Prints one line
// per question and exits with 1 when either grew.
//   module_soak [CYCLES]   (default 10000 per question)
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "player/folder.hpp"
#include "player/player.hpp"
#include "player/run_setup.hpp"

namespace {

namespace player = d72506::player;

// Growth tolerated between the end of the warm-up and the end of the soak:
// the allocator keeps some pages it freed, so a few megabytes are noise; a
// leak of a kilobyte a cycle over 10,000 cycles is ten times this.
constexpr long kToleratedGrowthKb = 1024;
constexpr int kWarmUpCycles = 200;

long resident_kb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int open_descriptors() {
  int count = 0;
  if (DIR* fds = opendir("/proc/self/fd")) {
    while (readdir(fds) != nullptr) ++count;
    closedir(fds);
  }
  return count - 3;  // ".", ".." and the listing's own descriptor
}

void cycle(player::Player& p, std::int32_t question) {
  p.init_question(question);
  p.teste_point();
  p.fermer();
}

// True when the question stayed flat.
bool soak(std::int32_t question, int cycles) {
  const player::Folder templates = player::Folder::temporary("d72506-soak-templates");
  const player::Folder working = player::Folder::temporary("d72506-soak-work");
  player::register_classes(templates.path(), player::kDefaultPrinter);
  player::Player p(D72506_EXERCISE_FILES, working.path(), std::cerr);
  for (int i = 0; i < kWarmUpCycles; ++i) cycle(p, question);
  const long memory_before = resident_kb();
  const int fds_before = open_descriptors();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < cycles; ++i) cycle(p, question);
  const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long memory_growth = resident_kb() - memory_before;
  const int fd_growth = open_descriptors() - fds_before;
  p.finish();
  std::printf("%d: %d cycles in %.1f s (%.2f ms each), resident memory %+ld kB (%ld kB), descriptors %+d\n", question,
              cycles, elapsed, 1000 * elapsed / cycles, memory_growth, memory_before + memory_growth, fd_growth);
  std::fflush(stdout);
  return memory_growth <= kToleratedGrowthKb && fd_growth <= 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (cycles <= 0) {
    std::cerr << "usage: module_soak [CYCLES]\n";
    return 2;
  }
  bool flat = true;
  try {
    for (std::int32_t question = 601; question <= 615; ++question) flat = soak(question, cycles) && flat;
  } catch (const std::exception& e) {
    std::cerr << "module_soak: " << e.what() << '\n';
    return 2;
  }
  if (!flat) std::cerr << "module_soak: memory or descriptors grew\n";
  return flat ? 0 : 1;
}
