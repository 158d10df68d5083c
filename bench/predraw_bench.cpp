// The pre-draw analysis of tab 4: the fast analysis against the literal steps,
// on the real history (1,400 draws) and on synthetic ones.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "grid/text_grid.h"
#include "history/draw_history.h"
#include "views/predraw.h"

namespace {

using namespace kazuban;

std::string field(int n) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%2d", n);
    return buf;
}

// `draws` random draws: five distinct main numbers (ascending) and a bonus.
history::DrawHistory syntheticHistory(int draws) {
    std::mt19937 rng(20240611u);
    std::vector<std::string> lines{"回=本数字,ボーナス"};
    std::array<int, 31> v{};
    for (int i = 0; i < 31; ++i) v[static_cast<std::size_t>(i)] = i + 1;
    for (int d = 1; d <= draws; ++d) {
        std::shuffle(v.begin(), v.end(), rng);
        std::sort(v.begin(), v.begin() + 5);
        std::string t = "第";
        t += std::to_string(d);
        t += "回=";
        for (int k = 0; k < 6; ++k) {
            if (k) t += ',';
            t += field(v[static_cast<std::size_t>(k)]);
        }
        lines.push_back(t);
    }
    return history::historyFromLines(lines).history;
}

const history::DrawHistory& demoHistory() {
    static const history::DrawHistory h = history::readWinningNumbers(KAZUBAN_DEMO_DIR "/atarimgrp.txt").history;
    return h;
}

const history::DrawHistory& historyOf(int draws) {
    if (draws == 1400) return demoHistory();
    static std::vector<std::pair<int, history::DrawHistory>> cache;
    for (const auto& [n, h] : cache)
        if (n == draws) return h;
    cache.emplace_back(draws, syntheticHistory(draws));
    return cache.back().second;
}

// The whole analysis as tab 4 runs it: the grid built and filled.
void BM_PredrawFast(benchmark::State& state) {
    const auto& h = historyOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        grid::TextGrid view;
        views::PredrawState s;
        views::buildPredrawGrid(view, h.maxn());
        views::runPredrawAnalysis(h, h.maxn(), view, s, nullptr);
        benchmark::DoNotOptimize(view.cell(1, 9));
    }
    state.counters["draws"] = static_cast<double>(h.maxn());
}
BENCHMARK(BM_PredrawFast)->ArgName("draws")->Arg(1400)->Arg(30000)->Unit(benchmark::kMillisecond);

// The literal steps grow with the square of the draws: 30,000 is estimated
// from 3,000 (times 100).
void BM_PredrawLiteral(benchmark::State& state) {
    const auto& h = historyOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        grid::TextGrid view = views::predrawLiteral(h, h.maxn());
        benchmark::DoNotOptimize(view.cell(1, 9));
    }
    state.counters["draws"] = static_cast<double>(h.maxn());
}
BENCHMARK(BM_PredrawLiteral)->ArgName("draws")->Arg(1400)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
