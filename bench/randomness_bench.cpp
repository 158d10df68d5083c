// The randomness tests (`randomness`, the tab 統計グラフ): all eight with
// their 10,000 simulated histories each, over the 1,400 real draws and over
// 30,000 synthetic ones, and each test alone on the real draws.
#include <benchmark/benchmark.h>

#include "analysis/history_stats.h"
#include "analysis/randomness.h"
#include "history/draw_history.h"
#include "support/history_gen.h"

namespace {

using namespace kazuban;

const analysis::HistoryStats& realStats() {
    static const analysis::HistoryStats s =
        analysis::computeHistoryStats(history::readWinningNumbers(KAZUBAN_DEMO_DIR "/atarimgrp.txt").history);
    return s;
}

const analysis::HistoryStats& syntheticStats() {
    static const analysis::HistoryStats s = analysis::computeHistoryStats(
        history::historyFromLines(testing::syntheticHistoryLines(30000, 20240611u)).history);
    return s;
}

void BM_RandomnessReport_1400RealDraws(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(analysis::randomnessText(analysis::randomnessReport(realStats())));
}
BENCHMARK(BM_RandomnessReport_1400RealDraws)->Unit(benchmark::kMillisecond);

void BM_RandomnessReport_30000Draws(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(analysis::randomnessText(analysis::randomnessReport(syntheticStats())));
}
BENCHMARK(BM_RandomnessReport_30000Draws)->Unit(benchmark::kMillisecond);

// What the tab computes when one analysis is chosen.
void BM_RandomnessTest_1400RealDraws(benchmark::State& state) {
    const auto test = static_cast<analysis::RandomnessTest>(state.range(0));
    state.SetLabel(analysis::testName(test));
    for (auto _ : state) benchmark::DoNotOptimize(analysis::randomnessTest(realStats(), test));
}
BENCHMARK(BM_RandomnessTest_1400RealDraws)
    ->DenseRange(0, analysis::kRandomnessTestCount - 1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
