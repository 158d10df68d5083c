// The statistics of the history beside their expectations (`analysis`, the
// tab 統計グラフ): the whole report, and a window of the latest draws. The
// five-number sets behind the expectations are counted once per run, in the
// first iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "analysis/history_stats.h"
#include "history/draw_history.h"

namespace {

using namespace kazuban;

// `draws` random draws: five distinct main numbers (ascending) and a bonus.
history::DrawHistory syntheticHistory(int draws) {
    std::mt19937 rng(20240611u);
    std::vector<std::string> lines{"回=本数字,ボーナス"};
    std::array<int, 31> v{};
    for (int i = 0; i < 31; ++i) v[static_cast<std::size_t>(i)] = i + 1;
    for (int d = 1; d <= draws; ++d) {
        std::shuffle(v.begin(), v.end(), rng);
        std::sort(v.begin(), v.begin() + 5);
        std::string t = "第" + std::to_string(d) + "回=";
        for (int k = 0; k < 6; ++k) {
            char field[4];
            std::snprintf(field, sizeof field, "%2d", v[static_cast<std::size_t>(k)]);
            if (k) t += ',';
            t += field;
        }
        lines.push_back(t);
    }
    return history::historyFromLines(lines).history;
}

const history::DrawHistory& history30000() {
    static const history::DrawHistory h = syntheticHistory(30000);
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
