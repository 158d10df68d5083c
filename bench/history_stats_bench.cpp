// The statistics of the history beside their expectations (`analysis`, the
// tab 統計グラフ): the whole report, and a window of the latest draws. The
// five-number sets behind the expectations are counted once per run, in the
// first iteration.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/history_stats.h"
#include "history/draw_history.h"
#include "support/history_gen.h"

namespace {

using namespace kazuban;

const history::DrawHistory& history30000() {
    static const history::DrawHistory h =
        history::historyFromLines(testing::syntheticHistoryLines(30000, 20240611u)).history;
    return h;
}

// kazuban-cli analysis: every statistic over all 30,000 draws and the report's text.
void BM_AnalysisReport_30000Draws(benchmark::State& state) {
    const auto& h = history30000();
    for (auto _ : state) {
        std::string report = analysis::analysisReport(analysis::computeHistoryStats(h));
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(BM_AnalysisReport_30000Draws)->Unit(benchmark::kMillisecond);

// What the tab recomputes when its window changes: the statistics of the
// last 300 draws of 30,000 and the tables of all eight analyses.
void BM_StatsWindow300_AllSections_30000Draws(benchmark::State& state) {
    const auto& h = history30000();
    for (auto _ : state) {
        const analysis::HistoryStats s = analysis::computeHistoryStats(h, 300);
        for (int a = 0; a < analysis::kAnalysisCount; ++a) {
            analysis::StatsSection section = analysis::statsSection(s, static_cast<analysis::Analysis>(a));
            benchmark::DoNotOptimize(section);
        }
    }
}
BENCHMARK(BM_StatsWindow300_AllSections_30000Draws)->Unit(benchmark::kMillisecond);

}  // namespace
