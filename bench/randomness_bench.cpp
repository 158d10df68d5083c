// The randomness tests (`randomness`, the tab 統計グラフ): all eight with
// their 10,000 simulated histories each, over the 1,400 real draws and over
// 30,000 synthetic ones, what the tab computes for a new window, and each
// test alone on the real draws.
#include <benchmark/benchmark.h>

#include "analysis/history_stats.h"
#include "analysis/randomness.h"
#include "app/stats_page.h"
#include "history/draw_history.h"
#include "platform/headless_platform.h"
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

// What the tab 統計グラフ computes when a window of 30,000 draws is chosen:
// its statistics and the test under the chart (frequency, the slowest), or
// all eight tests for すべての検定.
void statsPageOn30000Draws(benchmark::State& state, bool allTests) {
    platform::HeadlessPlatform platform;
    app::State s(platform);
    s.history = history::historyFromLines(testing::syntheticHistoryLines(30000, 20240611u)).history;
    app::StatsPage page(s);
    for (auto _ : state) {
        page.setWindow(0);
        if (allTests) benchmark::DoNotOptimize(page.report());
        else benchmark::DoNotOptimize(page.test(analysis::RandomnessTest::Frequency));
    }
}
void BM_StatsTab_NewWindowOneTest_30000Draws(benchmark::State& state) { statsPageOn30000Draws(state, false); }
void BM_StatsTab_NewWindowAllTests_30000Draws(benchmark::State& state) { statsPageOn30000Draws(state, true); }
BENCHMARK(BM_StatsTab_NewWindowOneTest_30000Draws)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatsTab_NewWindowAllTests_30000Draws)->Unit(benchmark::kMillisecond);

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
