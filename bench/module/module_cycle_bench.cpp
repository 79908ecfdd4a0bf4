// What a trainee waits for on question 601: the player's cycle of
// InitQuestion, TestePoint and Fermer, with the stand-in Excel and the built
// exercise file, no assistant balloon. Excel is started once, by the first
// InitQuestion, and handed back on every later one, as the player does.
//
// The separate benchmarks time each call of the cycle, to show where its
// time goes. Each run reports the median of its repetitions.
#include <benchmark/benchmark.h>

#include <iostream>
#include <optional>

#include "cli/commands.hpp"
#include "cli/folder.hpp"
#include "cli/player.hpp"

namespace {

namespace cli = d72506::cli;

constexpr std::int32_t kQuestion = 601;

// One player with Excel started, on temporary folders, for a whole benchmark.
struct Stage {
  cli::Folder templates = cli::Folder::temporary("d72506-bench-templates");
  cli::Folder working = cli::Folder::temporary("d72506-bench-work");
  std::optional<cli::Player> player;

  Stage() {
    cli::register_classes(templates.path(), cli::kDefaultPrinter);
    player.emplace(D72506_EXERCISE_FILES, working.path(), std::cerr);
    player->init_question(kQuestion);
    player->fermer();
  }
  ~Stage() { player->abandon(); }
};

void QuestionCycle(benchmark::State& state) {
  Stage stage;
  for (auto _ : state) {
    stage.player->init_question(kQuestion);
    benchmark::DoNotOptimize(stage.player->teste_point());
    stage.player->fermer();
  }
}

void InitQuestion(benchmark::State& state) {
  Stage stage;
  for (auto _ : state) {
    stage.player->init_question(kQuestion);
    state.PauseTiming();
    stage.player->fermer();
    state.ResumeTiming();
  }
}

void TestePoint(benchmark::State& state) {
  Stage stage;
  stage.player->init_question(kQuestion);
  for (auto _ : state) benchmark::DoNotOptimize(stage.player->teste_point());
}

void Fermer(benchmark::State& state) {
  Stage stage;
  for (auto _ : state) {
    state.PauseTiming();
    stage.player->init_question(kQuestion);
    state.ResumeTiming();
    stage.player->fermer();
  }
}

constexpr int kRepetitions = 9;

}  // namespace

BENCHMARK(QuestionCycle)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(InitQuestion)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(TestePoint)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(Fermer)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
