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

#include "player/folder.hpp"
#include "player/player.hpp"
#include "player/run_setup.hpp"

namespace {

namespace player = d72506::player;

constexpr std::int32_t kQuestion = 601;

// One player with Excel started, on temporary folders, for a whole benchmark.
struct Stage {
  player::Folder templates = player::Folder::temporary("d72506-bench-templates");
  player::Folder working = player::Folder::temporary("d72506-bench-work");
  std::optional<player::Player> player;

  Stage() {
    player::register_classes(templates.path(), player::kDefaultPrinter);
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
